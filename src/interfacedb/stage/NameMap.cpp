#include "interfacedb/stage/NameMap.h"

#include <map>
#include <utility>

#include "diag/Utf8.h"
#include "interfacedb/DbError.h"
#include "interfacedb/Recordset.h"
#include "interfacedb/SqlText.h"
#include "interfacedb/Value.h"
#include "interfacedb/stage/StageTables.h"

namespace vantrell::stage {

namespace {

std::optional<NameKind> kindOf(const std::string& text) {
    for (const NameKind kind : {NameKind::Employee, NameKind::PayType}) {
        if (text == nameKindText(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

// The text a column holds, or nothing for Null or a value that is no text.
std::optional<std::string> textIn(const db::Value& value) {
    if (value.kind() != db::Value::Kind::Text) {
        return std::nullopt;
    }
    try {
        return value.toText();
    } catch (const db::DbError&) {
        return std::nullopt;
    }
}

// Why `name` cannot be a mapped name, or nothing.
std::optional<std::string> refusedName(const std::string& name) {
    if (name.empty()) {
        return std::string("A name may not be empty.");
    }
    const std::optional<std::u32string> characters = decodeUtf8(name);
    if (!characters) {
        return "\"" + name + "\" is not valid text.";
    }
    if (characters->size() > kMappedNameWidth) {
        return "\"" + name + "\" has " + std::to_string(characters->size()) +
               " characters; a name may have at most " + std::to_string(kMappedNameWidth) + ".";
    }
    return std::nullopt;
}

std::string quoted(const std::string& text) {
    return "'" + db::escapeSqlText(text) + "'";
}

std::string keyOf(const std::string& name) {
    return asciiLower(name);
}

}  // namespace

const char* nameKindText(NameKind kind) {
    return kind == NameKind::Employee ? "employee" : "pay type";
}

std::optional<std::string> refusedMapping(const std::string& from, const std::string& to) {
    if (auto refused = refusedName(from)) {
        return refused;
    }
    if (auto refused = refusedName(to)) {
        return refused;
    }
    if (equalsIgnoringAsciiCase(from, to)) {
        return "\"" + from + "\" cannot be mapped to itself.";
    }
    return std::nullopt;
}

std::vector<NameMapEntry> readNameMap(db::Connection& cn) {
    db::Recordset rs;
    rs.open(
        "select rowid as RowNo, Kind, ChronelName, QuickBooksName from NameMap"
        " order by Kind, ChronelName, rowid",
        cn, db::CursorType::Static, db::LockType::ReadOnly);
    std::vector<NameMapEntry> entries;
    for (; !rs.eof(); rs.moveNext()) {
        NameMapEntry entry;
        entry.row = rs.field("RowNo").toInteger();
        const std::string where = "row " + std::to_string(entry.row) + " of NameMap";
        const std::optional<std::string> kind = textIn(rs.field("Kind"));
        const std::optional<std::string> from = textIn(rs.field("ChronelName"));
        const std::optional<std::string> to = textIn(rs.field("QuickBooksName"));
        entry.chronelName = from.value_or("");
        entry.quickBooksName = to.value_or("");
        entry.kindAsStored = kind.value_or("");
        if (const std::optional<NameKind> known = kindOf(kind.value_or("")); known) {
            entry.kind = *known;
        } else {
            entry.damage = where + ": its Kind is " + (kind ? "\"" + *kind + "\"" : "not text") +
                           ", not \"employee\" or \"pay type\"";
        }
        if (entry.damage.empty() && (!from || !to)) {
            entry.damage =
                where + ": its " + (from ? "QuickBooksName" : "ChronelName") + " is not text";
        } else if (entry.damage.empty()) {
            if (const auto refused = refusedMapping(*from, *to)) {
                entry.damage = where + ": " + *refused;
                if (entry.damage.ends_with('.')) {
                    entry.damage.pop_back();
                }
            }
        }
        entries.push_back(std::move(entry));
    }
    // Two rows for one name: neither is applied, since either could be the wrong one.
    std::map<std::pair<NameKind, std::string>, int> rowsOf;
    for (const NameMapEntry& entry : entries) {
        if (entry.damage.empty()) {
            ++rowsOf[{entry.kind, keyOf(entry.chronelName)}];
        }
    }
    for (NameMapEntry& entry : entries) {
        if (entry.damage.empty() && rowsOf[{entry.kind, keyOf(entry.chronelName)}] > 1) {
            entry.damage = "row " + std::to_string(entry.row) +
                           " of NameMap: another row maps the " + nameKindText(entry.kind) + " \"" +
                           entry.chronelName + "\" too";
        }
    }
    return entries;
}

void storeNameMapping(db::Connection& cn, NameKind kind, const std::string& from,
                      const std::string& to) {
    storeNameMappings(cn, kind, {from}, to);
}

void storeNameMappings(db::Connection& cn, NameKind kind, const std::vector<std::string>& from,
                       const std::string& to) {
    for (const std::string& name : from) {
        if (const auto refused = refusedMapping(name, to)) {
            throw db::DbError(*refused);
        }
    }
    cn.inTransaction([&] {
        for (const std::string& name : from) {
            cn.execute("delete from NameMap where Kind=? and ChronelName=?",
                       {db::Value(nameKindText(kind)), db::Value(name)});
            cn.execute("insert into NameMap (Kind, ChronelName, QuickBooksName) values (?, ?, ?)",
                       {db::Value(nameKindText(kind)), db::Value(name), db::Value(to)});
        }
    });
}

bool removeNameMapRow(db::Connection& cn, std::int64_t row) {
    bool removed = false;
    cn.inTransaction([&] {
        db::Recordset rs;
        rs.open("select count(*) as Entries from NameMap where rowid=" + std::to_string(row), cn,
                db::CursorType::Static, db::LockType::ReadOnly);
        removed = !rs.eof() && rs.field("Entries").toInteger() > 0;
        rs.close();
        cn.execute("delete from NameMap where rowid=?", {db::Value(row)});
    });
    return removed;
}

bool removeNameMapping(db::Connection& cn, NameKind kind, const std::string& from) {
    bool removed = false;
    cn.inTransaction([&] {
        db::Recordset rs;
        rs.open("select count(*) as Entries from NameMap where Kind='" +
                    std::string(nameKindText(kind)) + "' and ChronelName=" + quoted(from),
                cn, db::CursorType::Static, db::LockType::ReadOnly);
        removed = !rs.eof() && rs.field("Entries").toInteger() > 0;
        rs.close();
        cn.execute("delete from NameMap where Kind=? and ChronelName=?",
                   {db::Value(nameKindText(kind)), db::Value(from)});
    });
    return removed;
}

NameMapping::NameMapping(const std::vector<NameMapEntry>& entries) {
    for (const NameMapEntry& entry : entries) {
        if (entry.damage.empty()) {
            (entry.kind == NameKind::Employee ? employees_ : payTypes_)
                .emplace(keyOf(entry.chronelName), entry.quickBooksName);
        }
    }
}

const std::string& NameMapping::staged(NameKind kind, const std::string& name) const {
    const auto& names = kind == NameKind::Employee ? employees_ : payTypes_;
    // Asked for every staged ticket: a map without entries of this kind costs no key.
    if (names.empty()) {
        return name;
    }
    const auto found = names.find(keyOf(name));
    return found == names.end() ? name : found->second;
}

std::vector<std::string> mappedFrom(db::Connection& cn, NameKind kind,
                                    const std::string& quickBooksName) {
    const bool employee = kind == NameKind::Employee;
    db::Recordset rs;
    const std::string original = employee ? "s.ChronelName" : "s.ChronelPayType";
    const std::string staged = employee ? "p.Name" : "p.PayType";
    rs.open("select " + original +
                " as Original from Punch p join PunchSource s on s.Sequence"
                " = p.Sequence where " +
                staged + "=" + quoted(quickBooksName) + " and " + original + "<>" + staged +
                " group by Original order by Original",
            cn, db::CursorType::Static, db::LockType::ReadOnly);
    std::vector<std::string> names;
    for (; !rs.eof(); rs.moveNext()) {
        if (auto name = textIn(rs.field("Original"))) {
            names.push_back(std::move(*name));
        }
    }
    return names;
}

}  // namespace vantrell::stage
