#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vantrell {

// The order in which a window shows a table's rows of text, changed by a click on a column's
// title as in the review of the stage: names compare without regard to ASCII letter case (equal
// ones by their bytes, so that the order never depends on the order they came in), and rows of
// equal value keep the order they had. For tables whose own logic keeps no order of its own.
class RowOrder {
  public:
    // The text of a cell, row counted in the table's own order.
    using CellText = std::function<std::string(std::size_t row, std::size_t column)>;

    explicit RowOrder(CellText text) : text_(std::move(text)) {}

    // The table now has `rowCount` rows (read again): they are shown in its own order, sorted
    // again by the column last sorted by.
    void reset(std::size_t rowCount);
    // What a click on a column's title does: sorts by it ascending, or the other way when the
    // rows are sorted ascending by it already. Returns whether the order is now ascending.
    bool toggleSortBy(std::size_t column);

    std::size_t rowCount() const { return order_.size(); }
    // The table's row shown at `shown`.
    std::size_t row(std::size_t shown) const { return order_.at(shown); }
    // Where the table's row `row` is shown, or nothing past the last row.
    std::optional<std::size_t> shownAt(std::size_t row) const;
    // The column last sorted by, or nothing while the rows are in the table's own order.
    std::optional<std::size_t> sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return ascending_; }
    // The command that sorts by a column titled `title` in a keyboard menu, the title's first
    // letter its access key: "Sort by &Kind".
    static std::string sortCommand(const std::string& title) { return "Sort by &" + title; }

  private:
    void sort();

    CellText text_;
    std::vector<std::size_t> order_;
    std::optional<std::size_t> sortColumn_;
    bool ascending_ = true;
};

}  // namespace vantrell
