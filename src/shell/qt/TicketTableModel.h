#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "shell/window/TicketTable.h"
#include "shell/window/TicketTotals.h"

namespace vantrell {

// A ticket table as a Qt table view shows it. The view asks only for the cells on screen, so
// that hundreds of thousands of rows open at once; a click on a column's title sorts the table.
class TicketTableModel final : public QAbstractTableModel {
  public:
    // The model over `table`, which must outlive it.
    explicit TicketTableModel(TicketTable& table, QObject* parent = nullptr)
        : QAbstractTableModel(parent), table_(table) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // The cell's text; numbers aligned right; the whole text as the tooltip.
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

  private:
    TicketTable& table_;
};

// The totals' rows as a Qt table view shows them, in the order given.
class TotalsTableModel final : public QAbstractTableModel {
  public:
    explicit TotalsTableModel(std::vector<TotalsRow> rows, QObject* parent = nullptr)
        : QAbstractTableModel(parent), rows_(std::move(rows)) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<TotalsRow> rows_;
};

}  // namespace vantrell
