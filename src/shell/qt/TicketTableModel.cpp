#include "shell/qt/TicketTableModel.h"

namespace vantrell {

int TicketTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.rowCount());
}

int TicketTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.columnCount());
}

QVariant TicketTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return QString::fromStdString(table_.text(row, column));
        case Qt::TextAlignmentRole:
            return table_.numeric(column)
                       ? QVariant(static_cast<int>(Qt::AlignRight | Qt::AlignVCenter))
                       : QVariant(static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter));
        default:
            return {};
    }
}

QVariant TicketTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromStdString(table_.title(static_cast<std::size_t>(section)));
}

void TicketTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount()) {
        return;
    }
    beginResetModel();
    table_.sortBy(static_cast<std::size_t>(column), order == Qt::AscendingOrder);
    endResetModel();
}

int TotalsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TotalsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kTotalsTitles.size());
}

QVariant TotalsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const std::string& text =
        rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return QString::fromStdString(text);
        case Qt::TextAlignmentRole:
            // The count and the hours are numbers.
            return index.column() >= 2
                       ? QVariant(static_cast<int>(Qt::AlignRight | Qt::AlignVCenter))
                       : QVariant(static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter));
        default:
            return {};
    }
}

QVariant TotalsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromStdString(kTotalsTitles[static_cast<std::size_t>(section)]);
}

}  // namespace vantrell
