#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "interfacedb/Connection.h"

namespace vantrell::stage {

// The name map: the clerk's choice of the accounting system's name for a name of the
// time-and-attendance system that the accounting system does not know (table NameMap). The
// extraction stages the mapped name; nothing after it sees the other. Names compare as the
// stage compares them: without regard to ASCII letter case. Every function throws DbError when
// the map cannot be read or written.

enum class NameKind { Employee, PayType };

// The kind as NameMap.Kind stores it: "employee", "pay type".
const char* nameKindText(NameKind kind);

// The widest name the stage holds, in characters: a longer one is refused, never cut.
inline constexpr std::size_t kMappedNameWidth = 50;

// One row of NameMap.
struct NameMapEntry {
    std::int64_t row = 0;  // the row's number in NameMap, for a message about a damaged one
    NameKind kind = NameKind::Employee;
    std::string kindAsStored;  // Kind as the row holds it ("" when it is not text)
    std::string chronelName;
    std::string quickBooksName;
    std::string damage;  // why the row is not used, naming it; empty when it is sound
};

// Every row of NameMap, by kind and time-and-attendance name. A row that does not read (an
// unknown kind, a name missing, too wide or mapped to itself, a second row for one kind and
// name) is listed with its `damage` and is not applied.
std::vector<NameMapEntry> readNameMap(db::Connection& cn);

// Why mapping `from` to `to` is refused (an empty name, one wider than the stage holds, a name
// mapped to itself), or nothing when it may be stored.
std::optional<std::string> refusedMapping(const std::string& from, const std::string& to);

// Maps `from` to `to` for `kind`, replacing the entry `from` had, in one transaction. Throws
// DbError with refusedMapping()'s reason, and then nothing changed.
void storeNameMapping(db::Connection& cn, NameKind kind, const std::string& from,
                      const std::string& to);

// Maps each of `from` to `to` for `kind`, replacing their entries, all in one transaction.
// Throws DbError with refusedMapping()'s reason for the first name refused, and then nothing
// changed.
void storeNameMappings(db::Connection& cn, NameKind kind, const std::vector<std::string>& from,
                       const std::string& to);

// Removes row `row` of NameMap (a damaged one, which no kind and name may address) in one
// transaction; false when there was no such row.
bool removeNameMapRow(db::Connection& cn, std::int64_t row);

// Removes the entry of `from` for `kind` (and any damaged rows of that name) in one
// transaction; false when there was none.
bool removeNameMapping(db::Connection& cn, NameKind kind, const std::string& from);

// The sound entries of one kind, by the time-and-attendance name without ASCII letter case,
// for the extraction to apply.
class NameMapping {
  public:
    NameMapping() = default;
    explicit NameMapping(const std::vector<NameMapEntry>& entries);

    // The name to stage for `name`: its mapped name, or itself without an entry.
    const std::string& staged(NameKind kind, const std::string& name) const;

  private:
    std::map<std::string, std::string> employees_;
    std::map<std::string, std::string> payTypes_;
};

// The time-and-attendance names staged under `quickBooksName` by a map entry, from Punch, for
// an issue line naming both.
std::vector<std::string> mappedFrom(db::Connection& cn, NameKind kind,
                                    const std::string& quickBooksName);

}  // namespace vantrell::stage
