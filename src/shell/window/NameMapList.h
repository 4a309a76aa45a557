#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "diag/modErrorLog.h"
#include "interfacedb/Connection.h"
#include "interfacedb/stage/NameMap.h"
#include "shell/window/ProgramState.h"

namespace vantrell {

// The name map as its window shows it, the same for every front end: one row per row of
// NameMap (kind, time-and-attendance name, QuickBooks name, a note), employees first, each kind
// by time-and-attendance name. The note names the other names mapped to the same QuickBooks
// name, or says why a damaged row is not applied.
class NameMapList {
  public:
    static constexpr const char* kCaption = "Name map";
    static constexpr std::size_t kColumnCount = 4;

    // Reads NameMap through `cn`, which must outlive the list. Throws DbError when it cannot be
    // read.
    explicit NameMapList(db::Connection& cn);

    // Reads NameMap again (after a change). Throws DbError when it cannot be read; the rows are
    // then those read before.
    void reload();

    static const char* columnTitle(std::size_t column);
    std::size_t rowCount() const { return entries_.size(); }
    // The text of a cell; "" past the last row or column.
    std::string text(std::size_t row, std::size_t column) const;
    const stage::NameMapEntry& entry(std::size_t row) const { return entries_.at(row); }
    bool damaged(std::size_t row) const { return !entries_.at(row).damage.empty(); }

    // The line over the table: how many entries, and how many of them are damaged.
    std::string summaryLine() const;

    // Whether Change… applies to the row: a sound entry (a damaged one is only removed).
    bool canChange(std::size_t row) const { return row < rowCount() && !damaged(row); }
    // The question Remove… asks first, naming the entry.
    std::string removeQuestion(std::size_t row) const;

    db::Connection& connection() const { return cn_; }

  private:
    db::Connection& cn_;
    std::vector<stage::NameMapEntry> entries_;
    std::vector<std::string> notes_;
};

// The name map read through `state`'s interface database; the step every front end runs to open
// its window. Nothing when it cannot be read (or the database is not open): that is logged under
// "NameMap", which shows it.
std::unique_ptr<NameMapList> openNameMapList(modErrorLog& log, ProgramState& state);

}  // namespace vantrell
