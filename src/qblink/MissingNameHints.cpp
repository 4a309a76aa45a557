#include <string>
#include <utility>
#include <vector>

#include "diag/Failure.h"
#include "diag/Guard.h"
#include "diag/TraceFile.h"
#include "interfacedb/Recordset.h"
#include "interfacedb/stage/StageStatements.h"
#include "interfacedb/stage/StageTables.h"
#include "qblink/NameHintAnswer.h"
#include "qblink/NameHints.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/RequestText.h"

namespace vantrell {

namespace {

std::vector<std::string> namesOf(db::Connection& cn, const char* query) {
    db::Recordset rs;
    rs.open(query, cn, db::CursorType::Static, db::LockType::ReadOnly);
    std::vector<std::string> names;
    for (; !rs.eof(); rs.moveNext()) {
        const db::Value name = rs.field(stage::kName);
        names.push_back(name.isNull() ? std::string() : name.toText());
    }
    return names;
}

}  // namespace

void QuickBooksLink::ExplainMissingNames() {
    employeeHints_.clear();
    payTypeHints_.clear();
    // Without an answered resolution no name is listed as missing, so none needs a reason.
    if (!namesChecked_.value_or(false)) {
        return;
    }
    guard(log_, "ExplainMissingNames", [&] {
        db::Connection& cn = interfaceConnection();
        const std::vector<std::string> employees = namesOf(cn, stage::kEmployeesByName);
        const std::vector<std::string> payTypes = namesOf(cn, stage::kPayTypesByName);
        if (employees.empty() && payTypes.empty()) {
            return;
        }
        const std::string request = nameHintQueryRequest();
        SaveTextFile(log_.folder(), "HintReq.txt", request);
        std::string response = processor().ProcessRequest(ticket, request);
        SaveTextFile(log_.folder(), "HintResp.txt", response);

        std::string problems;
        const hints::HeldLists lists = readHeldLists(std::move(response), problems);

        // What could be read still explains what it can; the rest is logged.
        const hints::HintFinder finder(lists);
        for (const std::string& name : employees) {
            if (auto hint = finder.employeeHint(name)) {
                employeeHints_[name] = std::move(*hint);
            }
        }
        for (const std::string& name : payTypes) {
            if (auto hint = finder.payTypeHint(name)) {
                payTypeHints_[name] = std::move(*hint);
            }
        }
        if (!problems.empty()) {
            throw Failure(problems);
        }
    });
}

}  // namespace vantrell
