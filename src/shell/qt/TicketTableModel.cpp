#include "shell/qt/TicketTableModel.h"

namespace vantrell {

void TicketTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount()) {
        return;
    }
    beginResetModel();
    table_.sortBy(static_cast<std::size_t>(column), order == Qt::AscendingOrder);
    endResetModel();
}

}  // namespace vantrell
