#include "ui/FileListTexts.h"

#include <QDateTime>
#include <QFileSystemModel>
#include <QLocale>

#include "res/QtText.h"

namespace {
// The file list's columns.
constexpr int kSize = 1, kType = 2, kModified = 3;
}  // namespace

QVariant CFileListTexts::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!files || role != Qt::DisplayRole) return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    const bool folder = files->isDir(source);
    const QLocale language;  // the program's, set when its language is chosen
    switch (index.column()) {
        case kSize: return folder ? QString() : language.formattedDataSize(files->size(source));
        case kType: {
            if (folder) return QTr(TextId::FileTypeFolder);
            const QString suffix = files->fileInfo(source).suffix();
            return suffix.isEmpty() ? QTr(TextId::FileTypePlain) : QTr(TextId::FileTypeOf).arg(suffix);
        }
        case kModified: return language.toString(files->lastModified(source), QLocale::ShortFormat);
        default: return QIdentityProxyModel::data(index, role);
    }
}
