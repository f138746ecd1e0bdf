#pragma once
// The document: the one radio image of the program, its file and its
// modified mark. New, Open and the recent files reuse the one document.
#include <QObject>
#include <QString>
#include <functional>

#include "image/FileAccess.h"
#include "image/RadioImage.h"

class CKeshDoc : public QObject {
    Q_OBJECT
public:
    explicit CKeshDoc(QObject* parent = nullptr);

    RadioImage m_image{};
    int m_nCol = 0;
    int m_nRow = 0;

    // Fills the image with the new-document defaults, untitled, not modified.
    bool OnNewDocument();
    // Loads the file; on failure the image, path and mark stay as they were.
    // `warning` gets what the user should know about a file that did load.
    bool OnOpenDocument(const QString& path, QString* error, QString* warning);
    // Pulls the grid into the image first (see SetGridPull), then saves.
    bool OnSaveDocument(const QString& path, QString* error);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);

    QString PathName() const { return m_strPathName; }
    void SetPathName(const QString& path) { m_strPathName = path; }
    // The file name, or "无标题" for a new document.
    QString Title() const;

    // True when the file was changed by someone else since this document
    // opened or last saved it (its size or modification time differ).
    bool ChangedOnDisk() const;

    // The view's pull of the channel grid into the image, run before a save.
    void SetGridPull(std::function<void()> pull) { m_gridPull = std::move(pull); }
    void PullGrid() const {
        if (m_gridPull) m_gridPull();
    }

signals:
    void modifiedChanged(bool modified);

private:
    bool m_bModified = false;
    QString m_strPathName;
    FileStamp m_fileStamp;  // of the file as last opened or saved
    std::function<void()> m_gridPull;
};
