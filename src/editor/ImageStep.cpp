#include "editor/ImageStep.h"

CImageStep::CImageStep(const QString& name, const RadioImage& before, const RadioImage& after, Show show)
    : QUndoCommand(name), m_before(before), m_after(after), m_show(std::move(show)) {}

void CImageStep::redo() {
    if (m_pushed) m_show(m_after);
    m_pushed = true;
}
