#include "shell/window/NameMapList.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

#include "diag/Failure.h"
#include "diag/Guard.h"
#include "qblink/NameHints.h"

namespace vantrell {

namespace {

constexpr const char* kColumnTitles[NameMapList::kColumnCount] = {
    "Kind", "Time-and-attendance name", "QuickBooks name", "Note"};

// The rows' order: employees, then pay types, then rows whose kind does not read; within each,
// by time-and-attendance name with letter case folded, then by row number.
auto orderKey(const stage::NameMapEntry& entry) {
    const int kind =
        entry.kindAsStored == stage::nameKindText(entry.kind) ? static_cast<int>(entry.kind) : 2;
    return std::make_tuple(kind, hints::caseFolded(entry.chronelName), entry.row);
}

}  // namespace

NameMapList::NameMapList(db::Connection& cn) : cn_(cn) {
    reload();
}

void NameMapList::reload() {
    std::vector<stage::NameMapEntry> entries = stage::readNameMap(cn_);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return orderKey(a) < orderKey(b); });
    // Two badges of one person: each sound entry names the others that give its name.
    std::map<std::pair<stage::NameKind, std::string>, std::vector<std::string>> byTarget;
    for (const stage::NameMapEntry& entry : entries) {
        if (entry.damage.empty()) {
            byTarget[{entry.kind, hints::caseFolded(entry.quickBooksName)}].push_back(
                entry.chronelName);
        }
    }
    std::vector<std::string> notes;
    for (const stage::NameMapEntry& entry : entries) {
        if (!entry.damage.empty()) {
            notes.push_back("Damaged, not applied: " + entry.damage + ".");
            continue;
        }
        std::string others;
        for (const std::string& name :
             byTarget[{entry.kind, hints::caseFolded(entry.quickBooksName)}]) {
            if (name != entry.chronelName) {
                others += (others.empty() ? "" : ", ") + name;
            }
        }
        notes.push_back(others.empty() ? std::string()
                                       : "Shares " + entry.quickBooksName + " with " + others);
    }
    entries_ = std::move(entries);
    notes_ = std::move(notes);
}

const char* NameMapList::columnTitle(std::size_t column) {
    return column < kColumnCount ? kColumnTitles[column] : "";
}

std::string NameMapList::text(std::size_t row, std::size_t column) const {
    if (row >= entries_.size()) {
        return {};
    }
    const stage::NameMapEntry& entry = entries_[row];
    switch (column) {
        case 0:
            // A damaged row shows the kind it holds, whatever that is.
            return entry.damage.empty() ? stage::nameKindText(entry.kind) : entry.kindAsStored;
        case 1:
            return entry.chronelName;
        case 2:
            return entry.quickBooksName;
        case 3:
            return notes_[row];
        default:
            return {};
    }
}

std::string NameMapList::summaryLine() const {
    const auto damagedRows = static_cast<std::size_t>(std::count_if(
        entries_.begin(), entries_.end(), [](const auto& entry) { return !entry.damage.empty(); }));
    if (entries_.empty()) {
        return "The name map is empty: every name is staged as the time-and-attendance system "
               "spells it.";
    }
    std::string line = entries_.size() == 1 ? std::string("1 entry")
                                            : std::to_string(entries_.size()) + " entries";
    if (damagedRows > 0) {
        line += ", " + std::to_string(damagedRows) + " of them damaged and not applied";
    }
    return line + ".";
}

std::string NameMapList::removeQuestion(std::size_t row) const {
    const stage::NameMapEntry& entry = entries_.at(row);
    if (!entry.damage.empty()) {
        return "Remove the damaged row " + std::to_string(entry.row) + " of the name map (" +
               entry.damage + ")?";
    }
    return std::string("Remove the map entry of the ") + stage::nameKindText(entry.kind) + " " +
           entry.chronelName + " (staged as " + entry.quickBooksName + ")? " + entry.chronelName +
           " is then staged as the time-and-attendance system spells it.";
}

std::unique_ptr<NameMapList> openNameMapList(modErrorLog& log, ProgramState& state) {
    std::unique_ptr<NameMapList> list;
    guard(log, "NameMap", [&] {
        if (!state.interfaceDb.cnInterface) {
            throw Failure("The interface database is not open.");
        }
        list = std::make_unique<NameMapList>(*state.interfaceDb.cnInterface);
    });
    return list;
}

}  // namespace vantrell
