#include "shell/qt/TextTableModel.h"

namespace vantrell {

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows());
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const auto column = static_cast<std::size_t>(index.column());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return QString::fromStdString(text(static_cast<std::size_t>(index.row()), column));
        case Qt::TextAlignmentRole:
            return numeric(column) ? QVariant(static_cast<int>(Qt::AlignRight | Qt::AlignVCenter))
                                   : QVariant(static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter));
        default:
            return {};
    }
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromStdString(title(static_cast<std::size_t>(section)));
}

}  // namespace vantrell
