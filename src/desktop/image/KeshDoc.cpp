#include "image/KeshDoc.h"

CKeshDoc::CKeshDoc(QObject* parent) : QObject(parent) {}

void CKeshDoc::Changed() {
    if (m_bModified == m_doc.IsModified()) return;
    m_bModified = m_doc.IsModified();
    emit modifiedChanged(m_bModified);
}
