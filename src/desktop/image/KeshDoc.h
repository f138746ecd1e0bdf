#pragma once
// The window's document: the rules' one Document (the working copy, its file
// and the decisions around them), and a signal whenever its modified mark
// changes. New, Open and the recent files reuse the one document.
#include <QObject>
#include <QString>

#include "document/Document.h"

class CKeshDoc : public QObject {
    Q_OBJECT
public:
    explicit CKeshDoc(QObject* parent = nullptr);

    Document& Doc() { return m_doc; }
    const Document& Doc() const { return m_doc; }
    EditSession& Session() { return m_doc.Session(); }
    const EditSession& Session() const { return m_doc.Session(); }

    bool IsModified() const { return m_doc.IsModified(); }
    // The file's absolute path; empty for a new document.
    QString PathName() const { return QString::fromStdString(m_doc.Path()); }
    // The file name, or "无标题" for a new document.
    QString Title() const { return QString::fromStdString(m_doc.Title()); }

    // Run after anything that may have changed the document: says so when
    // its modified mark changed.
    void Changed();

signals:
    void modifiedChanged(bool modified);

private:
    Document m_doc;
    bool m_bModified = false;  // the mark as last announced
};
