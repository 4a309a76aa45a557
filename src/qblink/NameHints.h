#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrell::hints {

// One entry of a list as the accounting system holds it, whatever its status.
struct HeldName {
    std::string name;
    bool active = true;
};

// What the accounting system holds under the names a clerk may have meant.
struct HeldLists {
    std::vector<HeldName> employees;
    std::vector<HeldName> wageItems;
    std::vector<HeldName> otherPayrollItems;  // payroll items that are not wage items
};

// The name with letter case folded (ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic), as the
// accounting system compares names. Bytes that are not UTF-8 are kept as they are.
std::string caseFolded(std::string_view name);

// The key under which two names count as close: letter case, accents (é→e, ł→l, ß→ss) and
// apostrophe forms (’ ‘ ʼ → ') folded, words split at spaces and commas, a middle initial
// dropped, the words in order. Empty when the name holds no word.
std::string closeKey(std::string_view name);

// The names of one list, looked up by name and by closeness. Keeps a reference to `held`.
class NameIndex {
  public:
    // Indexes every entry of `held`, which must outlive the index and stay unchanged.
    explicit NameIndex(const std::vector<HeldName>& held);

    // The entry of this name, letter case aside; nothing when there is none.
    const HeldName* sameName(std::string_view name) const;

    // Up to three entries close to `name` other than `name` itself, closest first: fewest
    // character edits from `name`, then by name. None for a name without a word.
    std::vector<const HeldName*> closeNames(std::string_view name) const;

  private:
    const std::vector<HeldName>& held_;
    std::multimap<std::string, std::size_t> byCase_;
    std::multimap<std::string, std::size_t> byKey_;
};

// The lines that explain why a staged name is not one the accounting system offers.
class HintFinder {
  public:
    // Keeps a reference to `lists`, which must outlive the finder.
    explicit HintFinder(const HeldLists& lists);

    // For an employee name: one line saying the employee is inactive, or naming close names;
    // nothing when the lists hold no explanation.
    std::optional<std::string> employeeHint(std::string_view missing) const;

    // For a pay type, which must be an active wage item: one line saying the wage item is
    // inactive, that the name is a payroll item that is no wage item, or naming close wage
    // items; nothing when there is no explanation.
    std::optional<std::string> payTypeHint(std::string_view missing) const;

  private:
    NameIndex employees_;
    NameIndex wageItems_;
    NameIndex otherPayrollItems_;
};

}  // namespace vantrell::hints
