#include "shell/window/RowOrder.h"

#include <algorithm>
#include <numeric>

#include "diag/Utf8.h"

namespace vantrell {

void RowOrder::reset(std::size_t rowCount) {
    order_.resize(rowCount);
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    sort();
}

bool RowOrder::toggleSortBy(std::size_t column) {
    ascending_ = !(sortColumn_ == column && ascending_);
    sortColumn_ = column;
    // From the table's own order, so that the same clicks give the same order.
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    sort();
    return ascending_;
}

std::optional<std::size_t> RowOrder::shownAt(std::size_t row) const {
    const auto it = std::find(order_.begin(), order_.end(), row);
    if (it == order_.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(it - order_.begin());
}

void RowOrder::sort() {
    if (!sortColumn_) {
        return;
    }
    // The keys made once rather than at every comparison.
    std::vector<std::string> texts(order_.size());
    std::vector<std::string> keys(order_.size());
    for (std::size_t row = 0; row < order_.size(); ++row) {
        texts[row] = text_(row, *sortColumn_);
        keys[row] = asciiLower(texts[row]);
    }
    std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
        int c = keys[a].compare(keys[b]);
        if (c == 0) {
            c = texts[a].compare(texts[b]);
        }
        return ascending_ ? c < 0 : c > 0;
    });
}

}  // namespace vantrell
