#include "editor/ChannelModel.h"

#include <QBrush>
#include <QColor>

#include "editor/EditSession.h"
#include "compare/ImageDiff.h"
#include "res/QtText.h"

CChannelModel::CChannelModel(const EditSession* session, const ImageComparison* comparison, QObject* parent)
    : QAbstractTableModel(parent), m_session(session), m_comparison(comparison) {}

QString CChannelModel::Caption(int column, Lang lang) { return QString::fromStdString(GridCaptionIn(column, lang)); }

void CChannelModel::CaptionsChanged() { emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1); }

int CChannelModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kChannelCount; }

int CChannelModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : col::kCount - 1; }

QVariant CChannelModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
        case Qt::AccessibleTextRole:
            return QString::fromStdString(m_session->Text(index.row() + 1, index.column() + 1));
        case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            if (m_comparison->Marked(index.row() + 1, index.column() + 1)) return QBrush(QColor(255, 214, 140));
            return {};
        case Qt::ToolTipRole: {
            const std::string tip = m_comparison->CellTip(index.row() + 1, index.column() + 1);
            return tip.empty() ? QVariant() : QString::fromStdString(tip);
        }
        default: return {};
    }
}

QVariant CChannelModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    if (orientation == Qt::Vertical) return QString::number(section + 1);
    return Caption(section + 1);
}

Qt::ItemFlags CChannelModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void CChannelModel::Changed(const EditResult& result) {
    if (result.firstRow == 0) return;
    emit dataChanged(index(result.firstRow - 1, 0), index(result.lastRow - 1, columnCount() - 1));
}

void CChannelModel::Reloaded() { emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1)); }
