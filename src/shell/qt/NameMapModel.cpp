#include "shell/qt/NameMapModel.h"

#include <QPalette>

namespace vantrell {

int NameMapModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.rowCount());
}

int NameMapModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(NameMapList::kColumnCount);
}

QVariant NameMapModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return QString::fromStdString(
                list_.text(row, static_cast<std::size_t>(index.column())));
        case Qt::ForegroundRole:
            return list_.damaged(row)
                       ? QVariant(QPalette().color(QPalette::Disabled, QPalette::Text))
                       : QVariant();
        default:
            return {};
    }
}

QVariant NameMapModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString(NameMapList::columnTitle(static_cast<std::size_t>(section)));
}

}  // namespace vantrell
