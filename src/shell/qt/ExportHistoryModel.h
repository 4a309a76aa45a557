#pragma once

#include <QAbstractTableModel>

#include "shell/window/ExportHistory.h"

namespace vantrell {

// The exports of the history as a Qt table view shows them, newest first; the view asks only
// for the rows on screen.
class ExportHistoryModel final : public QAbstractTableModel {
  public:
    // The model over `history`, which must outlive it.
    explicit ExportHistoryModel(ExportHistory& history, QObject* parent = nullptr)
        : QAbstractTableModel(parent), history_(history) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // The cell's text; numbers aligned right; the whole text as the tooltip.
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Tells the view that the history was read again.
    void reset() {
        beginResetModel();
        endResetModel();
    }

  private:
    ExportHistory& history_;
};

}  // namespace vantrell
