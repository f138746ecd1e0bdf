#pragma once
// The file dialog's sizes, types and dates in the language chosen in the
// program, not in the system's: Qt's file list words them by the system's
// locale whatever the program speaks.
#include <QIdentityProxyModel>

class CFileListTexts : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override;
};
