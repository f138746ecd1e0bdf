#pragma once
// One undoable change of the document: the image with the grid and the four
// boxes pulled into it, before and after the change. Undo and redo show one
// of the two again.
#include <QUndoCommand>
#include <functional>

#include "image/RadioImage.h"

class CImageStep : public QUndoCommand {
public:
    using Show = std::function<void(const RadioImage&)>;
    // The change has already been made when the step is pushed, so its first
    // redo shows nothing.
    CImageStep(const QString& name, const RadioImage& before, const RadioImage& after, Show show);

    void undo() override { m_show(m_before); }
    void redo() override;

private:
    RadioImage m_before;
    RadioImage m_after;
    Show m_show;
    bool m_pushed = false;
};
