#include "standins/QbsimCommand.h"

#include <exception>

#include "diag/FileSystem.h"
#include "standins/CompanyFile.h"
#include "standins/QbxmlValues.h"

namespace vantrell::standins {

namespace {

constexpr const char* kUsage =
    "usage: qbsim create FILE\n"
    "       qbsim add-employee FILE NAME...\n"
    "       qbsim add-wage-item FILE NAME...\n"
    "       qbsim set-inactive FILE NAME...\n"
    "       qbsim list-time FILE\n"
    "A company file holds employees, wage payroll items and the time tickets posted to it.\n"
    "list-time writes one posted ticket per line: TxnDate, employee, duration and wage item,\n"
    "separated by tabs, in the order posted.\n";

void listTime(const CompanyFile& file, std::ostream& out) {
    for (const auto& posted : file.postedTickets()) {
        const NewTicket& ticket = posted.ticket;
        out << ticket.txnDate << '\t' << ticket.employee.name << '\t'
            << formatDuration(ticket.durationSeconds) << '\t'
            << (ticket.wageItem ? ticket.wageItem->name : std::string()) << '\n';
    }
}

}  // namespace

int runQbsim(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const UnixClock& clock) {
    const std::string command = args.empty() ? std::string() : args[0];
    const bool takesNames =
        command == "add-employee" || command == "add-wage-item" || command == "set-inactive";
    const bool takesFileOnly = command == "create" || command == "list-time";
    if (command == "--help" || command == "help") {
        out << kUsage;
        return 0;
    }
    if (!(takesNames && args.size() >= 3) && !(takesFileOnly && args.size() == 2)) {
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
        } else if (command == "set-inactive") {
            file.setInactive(names, clock());
        } else {
            listTime(file, out);
        }
        out.flush();
        return 0;
    } catch (const std::exception& e) {
        err << "qbsim: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace vantrell::standins
