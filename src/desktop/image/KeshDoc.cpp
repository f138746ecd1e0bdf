#include "image/KeshDoc.h"

#include <QFileInfo>

#include "image/SinFile.h"
#include "res/QtText.h"

CKeshDoc::CKeshDoc(QObject* parent) : QObject(parent) {}

bool CKeshDoc::OnNewDocument() {
    m_strPathName.clear();
    SetModifiedFlag(false);
    m_image = NewDocumentImage();
    m_nRow = static_cast<int>(kImageRows) - 1;
    m_nCol = static_cast<int>(kRowBytes) - 1;
    return true;
}

bool CKeshDoc::OnOpenDocument(const QString& path, QString* error, QString* warning) {
    SinLoadResult result = LoadSinFile(path.toStdString(), m_image);
    if (!result.ok) {
        if (error) *error = QString::fromStdString(result.error);
        return false;
    }
    if (warning) *warning = QString::fromStdString(result.warning);
    m_fileStamp = StampOf(path.toStdString());
    SetModifiedFlag(false);
    return true;
}

bool CKeshDoc::OnSaveDocument(const QString& path, QString* error) {
    PullGrid();
    std::string message;
    if (!SaveSinFile(path.toStdString(), m_image, &message)) {
        if (error) *error = QString::fromStdString(message);
        return false;
    }
    m_fileStamp = StampOf(path.toStdString());
    SetModifiedFlag(false);
    return true;
}

bool CKeshDoc::ChangedOnDisk() const {
    if (m_strPathName.isEmpty()) return false;
    const FileStamp now = StampOf(m_strPathName.toStdString());
    return now.exists && now != m_fileStamp;
}

void CKeshDoc::SetModifiedFlag(bool modified) {
    if (m_bModified == modified) return;
    m_bModified = modified;
    emit modifiedChanged(modified);
}

QString CKeshDoc::Title() const {
    return m_strPathName.isEmpty() ? QTr(TextId::Untitled) : QFileInfo(m_strPathName).fileName();
}
