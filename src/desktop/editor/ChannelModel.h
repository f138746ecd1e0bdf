#pragma once
// The channel table as Qt's views see it: 128 rows (channels 1-128) and ten
// columns (the channel's fields), read from the editing session. The channel
// numbers are the vertical header, the captions the horizontal one. While a
// comparison is open, the cells that differ are marked and their tooltip
// gives the other image's text.
#include <QAbstractTableModel>

#include "res/Texts.h"

class EditSession;
class ImageComparison;
struct EditResult;

class CChannelModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CChannelModel(const EditSession* session, const ImageComparison* comparison, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The session changed: the rows a result names, or everything.
    void Changed(const EditResult& result);
    void Reloaded();
    // The language changed: the captions are read again.
    void CaptionsChanged();

    // The caption of column `column` (0-10), as the header row shows it.
    static QString Caption(int column, Lang lang = CurrentLanguage());

private:
    const EditSession* m_session;
    const ImageComparison* m_comparison;
};
