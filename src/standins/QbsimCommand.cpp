#include "standins/QbsimCommand.h"

#include <exception>

#include "diag/FileSystem.h"
#include "standins/CompanyFile.h"
#include "standins/QbxmlProlog.h"
#include "standins/QbxmlValues.h"

namespace vantrell::standins {

namespace {

constexpr const char* kUsage =
    "usage: qbsim create FILE\n"
    "       qbsim add-employee FILE NAME...\n"
    "       qbsim add-wage-item FILE NAME...\n"
    "       qbsim add-nonwage-item FILE NAME...\n"
    "       qbsim set-inactive FILE NAME...\n"
    "       qbsim list-time FILE\n"
    "       qbsim add-time FILE DATE EMPLOYEE DURATION ITEM\n"
    "       qbsim set-max-version FILE VERSION|none\n"
    "A company file holds employees, wage payroll items, other payroll items (additions, which\n"
    "time tickets cannot name) and the time tickets posted to it.\n"
    "list-time writes one posted ticket per line: TxnDate, employee, duration and wage item,\n"
    "separated by tabs, in the order posted.\n"
    "add-time posts one ticket as if keyed by hand: DATE as yyyy-mm-dd, DURATION as an\n"
    "interval such as PT8H0M or PT7H30M0S, EMPLOYEE and ITEM (a wage item) by name; both must\n"
    "be active. It writes the new ticket's TxnID.\n"
    "set-max-version makes the accounting system of FILE refuse request messages of a qbXML\n"
    "version above VERSION (such as 2.0), as an older one does; none lifts the limit.\n";

void listTime(const CompanyFile& file, std::ostream& out) {
    for (const auto& posted : file.postedTickets()) {
        const NewTicket& ticket = posted.ticket;
        out << ticket.txnDate << '\t' << ticket.employee.name << '\t'
            << formatDuration(ticket.durationSeconds) << '\t'
            << (ticket.wageItem ? ticket.wageItem->name : std::string()) << '\n';
    }
}

// A refusal of add-time's values that makes the command line invalid.
struct BadArgument {
    std::string message;
};

// The active entry of this name; CompanyFileError naming it when there is none.
ListRecord activeEntry(const CompanyFile& file, ListKind kind, const std::string& name) {
    const auto entry = file.findByName(kind, name);
    const char* word = kind == ListKind::Employee ? "employee" : "wage item";
    if (!entry) {
        throw CompanyFileError(CompanyFileError::Reason::NameRefused,
                               std::string("No ") + word + " is named \"" + name + "\".");
    }
    if (!entry->active) {
        throw CompanyFileError(CompanyFileError::Reason::NameRefused,
                               std::string("The ") + word + " \"" + name + "\" is inactive.");
    }
    return *entry;
}

// Posts one ticket from add-time's arguments DATE EMPLOYEE DURATION ITEM; returns its TxnID.
std::string addTime(CompanyFile& file, const std::vector<std::string>& values, std::int64_t now) {
    const auto date = values[0].size() == 10 ? parseDate(values[0]) : std::nullopt;
    if (!date) {
        throw BadArgument{"The date \"" + values[0] + "\" is not a day written yyyy-mm-dd."};
    }
    const auto duration = parseDuration(values[2]);
    if (!duration) {
        throw BadArgument{"The duration \"" + values[2] +
                          "\" is not an interval such as PT8H0M or PT7H30M0S."};
    }
    NewTicket ticket;
    ticket.txnDate = *date;
    ticket.durationSeconds = *duration;
    ticket.employee = activeEntry(file, ListKind::Employee, values[1]);
    ticket.wageItem = activeEntry(file, ListKind::WageItem, values[3]);
    file.begin();
    try {
        const std::string txnId = file.post(ticket, now).txnId;
        file.commit();
        return txnId;
    } catch (...) {
        file.rollback();
        throw;
    }
}

}  // namespace

int runQbsim(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const UnixClock& clock) {
    const std::string command = args.empty() ? std::string() : args[0];
    const bool takesNames = command == "add-employee" || command == "add-wage-item" ||
                            command == "add-nonwage-item" || command == "set-inactive";
    const bool takesFileOnly = command == "create" || command == "list-time";
    if (command == "--help" || command == "help") {
        out << kUsage;
        return 0;
    }
    const bool addsTime = command == "add-time" && args.size() == 6;
    const bool setsVersion = command == "set-max-version" && args.size() == 3;
    if (!(takesNames && args.size() >= 3) && !(takesFileOnly && args.size() == 2) && !addsTime &&
        !setsVersion) {
        err << kUsage;
        return 2;
    }
    const auto path = utf8ToPath(args[1]);
    const std::vector<std::string> names(args.begin() + 2, args.end());
    try {
        if (command == "create") {
            CompanyFile::create(path, clock());
            return 0;
        }
        CompanyFile file(path);
        if (command == "add-employee") {
            file.addNames(ListKind::Employee, names, clock());
        } else if (command == "add-wage-item") {
            file.addNames(ListKind::WageItem, names, clock());
        } else if (command == "add-nonwage-item") {
            file.addNames(ListKind::NonWageItem, names, clock());
        } else if (command == "set-inactive") {
            file.setInactive(names, clock());
        } else if (addsTime) {
            out << addTime(file, names, clock()) << '\n';
        } else if (setsVersion) {
            const std::string& version = names[0];
            if (version != "none" && !isKnownQbxmlVersion(version)) {
                throw BadArgument{"The version \"" + version +
                                  "\" is not a qbXML version such as 2.0 or 13.0."};
            }
            file.setHighestQbxmlVersion(version == "none" ? std::nullopt
                                                          : std::optional<std::string>(version));
        } else {
            listTime(file, out);
        }
        out.flush();
        return 0;
    } catch (const BadArgument& bad) {
        err << "qbsim: " << bad.message << '\n' << kUsage;
        return 2;
    } catch (const std::exception& e) {
        err << "qbsim: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace vantrell::standins
