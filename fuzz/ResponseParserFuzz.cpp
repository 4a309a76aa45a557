// ParseResponseXML over any response document, for each of the three response kinds, against a
// real interface database. After each kind nothing may have changed but the rows the document
// names: tickets by a requestID that is a ticket number, Employee or PayType rows by the text of
// a Name element; the other tables stay as they were.
#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "FuzzSupport.h"
#include "diag/modErrorLog.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/SqlText.h"
#include "interfacedb/modDataDef.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/StrictXmlLoader.h"
#include "qblink/XmlReading.h"

namespace vantrell::fuzzing {
namespace {

struct Kind {
    const char* response;
    const char* record;
    const char* table;  // the table whose rows it may change
};

constexpr Kind kKinds[] = {{"EmployeeQueryRs", "EmployeeRet", "Employee"},
                           {"PayrollItemWageQueryRs", "PayrollItemWageRet", "PayType"},
                           {"TimeTrackingAddRs", "TimeTrackingRet", "Punch"}};

// Names that a careless statement would reach: quotes, comment marks, separators, case.
const std::vector<std::string> kEmployees = {"Worker One", "O'Brien",      "Ann -- Lee",
                                             "a;b",        "x' or '1'='1", "Zoë Ångström",
                                             "%",          "WORKER TWO"};
const std::vector<std::string> kPayTypes = {"Hourly", "Overtime", "Sick 'paid'", "_", "Holiday"};

struct Snapshot {
    std::vector<std::string> punch;  // "Sequence|Name|Date|Hours|PayType|Posted|Error"
    std::vector<std::string> employees;
    std::vector<std::string> payTypes;
};

std::string asciiLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class Harness {
  public:
    Harness() {
        if (!blnConfigureInterfaceDatabase(log_, interfaceDb_) ||
            !blnOpenConnection(log_, interfaceDb_.cnInterface, interfaceDb_.strInterfaceDB)) {
            violated("the interface database could not be prepared", {});
        }
    }

    void run(std::string_view input) {
        const std::string text(input);
        const Allowed allowed = allowedBy(text);
        for (const Kind& kind : kKinds) {
            stage();
            const Snapshot before = snapshot();
            link_.responseXML = text;
            link_.ParseResponseXML(kind.response, kind.record);
            compare(kind, before, snapshot(), allowed, input);
        }
        // The log only grows; a fuzz run would fill the disk.
        std::error_code ignored;
        std::filesystem::remove(log_.folder().file("VantrellLog.txt"), ignored);
    }

  private:
    struct Allowed {
        std::set<std::string> sequences;
        std::set<std::string> names;  // ASCII lower case, as the tables compare names
    };

    // What the document can name at all: any element's requestID of the ticket kind, any Name
    // element's text. A document that does not load names nothing.
    static Allowed allowedBy(const std::string& text) {
        Allowed allowed;
        pugi::xml_document document;
        if (loadXmlStrict(document, text)) {
            return allowed;
        }
        for (const auto& element : elementsByTagName(document, "TimeTrackingAddRs")) {
            if (auto number = db::plainDecimal(element.attribute("requestID").value())) {
                allowed.sequences.insert(std::to_string(std::stol(*number)));
            }
        }
        for (const auto& name : elementsByTagName(document, "Name")) {
            allowed.names.insert(asciiLower(elementText(name)));
        }
        return allowed;
    }

    void stage() {
        db::Connection& cn = *interfaceDb_.cnInterface;
        cn.execute("BEGIN");
        cn.execute("delete from Punch");
        cn.execute("delete from Employee");
        cn.execute("delete from PayType");
        for (std::size_t i = 0; i < kEmployees.size(); ++i) {
            const std::string name = db::escapeSqlText(kEmployees[i]);
            const std::string payType = db::escapeSqlText(kPayTypes[i % kPayTypes.size()]);
            cn.execute(
                "insert into Punch (Sequence, Name, Date, Hours, PayType, Posted, Error) values (" +
                std::to_string(i + 1) + ", '" + name + "', '2026-03-02 00:00:00', 8, '" + payType +
                "', 0, '')");
            cn.execute("insert into Employee (Name) values ('" + name + "')");
        }
        for (const auto& payType : kPayTypes) {
            cn.execute("insert into PayType (Name) values ('" + db::escapeSqlText(payType) + "')");
        }
        cn.execute("COMMIT");
    }

    std::vector<std::string> rows(const char* sql, const std::vector<const char*>& columns) {
        db::Recordset rs;
        rs.open(sql, *interfaceDb_.cnInterface, db::CursorType::Static, db::LockType::ReadOnly);
        std::vector<std::string> out;
        for (; !rs.eof(); rs.moveNext()) {
            std::string row;
            for (const char* column : columns) {
                const db::Value value = rs.field(column);
                row += (value.isNull() ? "<null>" : value.toText()) + "|";
            }
            out.push_back(row);
        }
        return out;
    }

    Snapshot snapshot() {
        return {rows("select * from Punch order by Sequence",
                     {"Sequence", "Name", "Date", "Hours", "PayType", "Posted", "Error"}),
                rows("select Name from Employee order by Name", {"Name"}),
                rows("select Name from PayType order by Name", {"Name"})};
    }

    static void compare(const Kind& kind, const Snapshot& before, const Snapshot& after,
                        const Allowed& allowed, std::string_view input) {
        const std::string where = std::string(" after ") + kind.response + ": ";
        const std::string table = kind.table;
        if (table != "Punch" && before.punch != after.punch) {
            violated("Punch changed" + where, input);
        }
        if (table != "Employee" && before.employees != after.employees) {
            violated("Employee changed" + where, input);
        }
        if (table != "PayType" && before.payTypes != after.payTypes) {
            violated("PayType changed" + where, input);
        }
        if (table == "Punch") {
            for (const auto& row : after.punch) {
                if (std::find(before.punch.begin(), before.punch.end(), row) ==
                    before.punch.end()) {
                    const std::string sequence = row.substr(0, row.find('|'));
                    if (allowed.sequences.count(sequence) == 0) {
                        violated("ticket " + sequence + " changed" + where + row, input);
                    }
                }
            }
            for (const auto& row : before.punch) {
                const std::string sequence = row.substr(0, row.find('|'));
                const bool kept = std::any_of(
                    after.punch.begin(), after.punch.end(),
                    [&](const std::string& r) { return r.substr(0, r.find('|')) == sequence; });
                if (!kept && allowed.sequences.count(sequence) == 0) {
                    violated("ticket " + sequence + " deleted" + where, input);
                }
            }
            if (after.punch.size() > before.punch.size()) {
                violated("Punch gained rows" + where, input);
            }
            return;
        }
        const auto& was = table == "Employee" ? before.employees : before.payTypes;
        const auto& now = table == "Employee" ? after.employees : after.payTypes;
        for (const auto& row : now) {
            if (std::find(was.begin(), was.end(), row) == was.end()) {
                violated(table + " gained " + row + where, input);
            }
        }
        for (const auto& row : was) {
            const std::string name = row.substr(0, row.size() - 1);  // without the "|"
            if (std::find(now.begin(), now.end(), row) == now.end() &&
                allowed.names.count(asciiLower(name)) == 0) {
                violated(table + " lost " + name + where, input);
            }
        }
    }

    SilentPrompter prompter_;
    StillClock clock_;
    modErrorLog log_{ProgramFolder(scratchFolder()), prompter_, clock_};
    InterfaceDatabase interfaceDb_;
    ExtractionOutcome extraction_;
    std::string strQBdata_;
    QuickBooksLink link_{log_, interfaceDb_, extraction_, strQBdata_, {}};
};

}  // namespace
}  // namespace vantrell::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vantrell::fuzzing::Harness harness;
    harness.run(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
