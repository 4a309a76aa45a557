#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/window/RowOrder.h"

namespace vantrell {
namespace {

using Rows = std::vector<std::vector<std::string>>;

std::vector<std::string> shownColumn(const RowOrder& order, const Rows& rows, std::size_t c) {
    std::vector<std::string> texts;
    for (std::size_t shown = 0; shown < order.rowCount(); ++shown) {
        texts.push_back(rows[order.row(shown)][c]);
    }
    return texts;
}

TEST(RowOrder, ATitleSortsWithoutLetterCaseStablyAndASecondClickReversesIt) {
    Rows rows = {{"employee", "bob jones"},
                 {"pay type", "Regular"},
                 {"employee", "Bob Jones"},
                 {"employee", "Ann"}};
    RowOrder order([&](std::size_t r, std::size_t c) { return rows.at(r).at(c); });
    order.reset(rows.size());
    EXPECT_FALSE(order.sortColumn());
    EXPECT_EQ(shownColumn(order, rows, 1),
              (std::vector<std::string>{"bob jones", "Regular", "Bob Jones", "Ann"}));

    EXPECT_TRUE(order.toggleSortBy(1));
    // Names equal but for case by their bytes, whatever order they came in.
    EXPECT_EQ(shownColumn(order, rows, 1),
              (std::vector<std::string>{"Ann", "Bob Jones", "bob jones", "Regular"}));
    EXPECT_FALSE(order.toggleSortBy(1));
    EXPECT_EQ(shownColumn(order, rows, 1),
              (std::vector<std::string>{"Regular", "bob jones", "Bob Jones", "Ann"}));

    // Equal kinds keep the table's own order.
    EXPECT_TRUE(order.toggleSortBy(0));
    EXPECT_EQ(shownColumn(order, rows, 1),
              (std::vector<std::string>{"bob jones", "Bob Jones", "Ann", "Regular"}));
    EXPECT_EQ(order.shownAt(3), 2u);
    EXPECT_FALSE(order.shownAt(4));
}

TEST(RowOrder, ATableReadAgainIsSortedAgainByTheSameColumn) {
    Rows rows = {{"Zoë"}, {"Ann"}};
    RowOrder order([&](std::size_t r, std::size_t c) { return rows.at(r).at(c); });
    order.reset(rows.size());
    order.toggleSortBy(0);
    order.toggleSortBy(0);  // descending

    rows = {{"Ann"}, {"Mia"}, {"Zoë"}};
    order.reset(rows.size());
    EXPECT_EQ(order.sortColumn(), 0u);
    EXPECT_FALSE(order.sortAscending());
    EXPECT_EQ(shownColumn(order, rows, 0), (std::vector<std::string>{"Zoë", "Mia", "Ann"}));

    rows.clear();
    order.reset(0);
    EXPECT_EQ(order.rowCount(), 0u);
}

}  // namespace
}  // namespace vantrell
