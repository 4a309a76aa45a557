#include "shell/qt/ExportHistoryModel.h"

namespace vantrell {

int ExportHistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(history_.rowCount());
}

int ExportHistoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(ExportHistory::kColumnCount);
}

QVariant ExportHistoryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return QString::fromStdString(history_.text(row, column));
        case Qt::TextAlignmentRole:
            return history_.numeric(column)
                       ? QVariant(static_cast<int>(Qt::AlignRight | Qt::AlignVCenter))
                       : QVariant(static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter));
        default:
            return {};
    }
}

QVariant ExportHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString(ExportHistory::kTitles.at(static_cast<std::size_t>(section)));
}

}  // namespace vantrell
