#pragma once

#include <vector>

#include "shell/qt/TextTableModel.h"
#include "shell/window/TicketTable.h"
#include "shell/window/TicketTotals.h"

namespace vantrell {

// A ticket table as a Qt table view shows it; a click on a column's title sorts the table.
class TicketTableModel final : public TextTableModel {
  public:
    // The model over `table`, which must outlive it.
    explicit TicketTableModel(TicketTable& table, QObject* parent = nullptr)
        : TextTableModel(parent), table_(table) {}

    void sort(int column, Qt::SortOrder order) override;

  private:
    std::size_t rows() const override { return table_.rowCount(); }
    std::size_t columns() const override { return table_.columnCount(); }
    std::string text(std::size_t row, std::size_t column) const override {
        return table_.text(row, column);
    }
    std::string title(std::size_t column) const override { return table_.title(column); }
    bool numeric(std::size_t column) const override { return table_.numeric(column); }

    TicketTable& table_;
};

// The totals' rows as a Qt table view shows them, in the order given.
class TotalsTableModel final : public TextTableModel {
  public:
    explicit TotalsTableModel(std::vector<TotalsRow> rows, QObject* parent = nullptr)
        : TextTableModel(parent), rows_(std::move(rows)) {}

  private:
    std::size_t rows() const override { return rows_.size(); }
    std::size_t columns() const override { return kTotalsTitles.size(); }
    std::string text(std::size_t row, std::size_t column) const override {
        return rows_[row][column];
    }
    std::string title(std::size_t column) const override { return kTotalsTitles[column]; }
    // The count and the hours are numbers.
    bool numeric(std::size_t column) const override { return column >= 2; }

    std::vector<TotalsRow> rows_;
};

}  // namespace vantrell
