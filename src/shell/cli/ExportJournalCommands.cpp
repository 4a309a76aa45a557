#include "shell/cli/ExportJournalCommands.h"

#include <exception>

#include "diag/Guard.h"
#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/SqlText.h"
#include "interfacedb/stage/PostingJournal.h"
#include "shell/cli/CliRun.h"
#include "shell/window/modVantrellMain.h"

namespace vantrell {

namespace {

std::string ticketsText(std::int64_t count) {
    return std::to_string(count) + (count == 1 ? " time ticket" : " time tickets");
}

}  // namespace

int listExports(const ProgramState& state, std::ostream& out, std::ostream& err) {
    try {
        db::Connection cn;
        cn.open(db::connectionStringFor(state.interfaceDb.strInterfaceDB));
        for (const stage::ExportSummary& summary : stage::listExports(cn)) {
            out << summary.id << '\t' << (summary.finished ? summary.finished->toStorageText() : "")
                << '\t' << summary.posted << '\t' << summary.undone << '\n';
        }
        out.flush();
        return kExitNormal;
    } catch (const std::exception& e) {
        err << "The exports could not be listed: " << e.what() << '\n';
        return kExitEndedEarly;
    }
}

int undoExport(modErrorLog& log, QuickBooksLink& link, const std::string& idText, std::ostream& out,
               std::ostream& err) {
    const std::optional<std::string> number = db::plainDecimal(idText);
    if (!number || number->front() == '-') {
        err << "\"" << idText << "\" is not an export ID; --list-exports shows them.\n";
        return kExitEndedEarly;
    }
    const std::int64_t id = std::stoll(*number);
    std::optional<QuickBooksLink::UndoOutcome> outcome;
    guard(log, "UndoExport", [&] { outcome = link.UndoExport(id); });
    if (!outcome) {
        err << "Export " << id << " could not be undone (see VantrellLog.txt); run the undo "
            << "again once QuickBooks answers.\n";
        return kExitEndedEarly;
    }
    using Kind = QuickBooksLink::UndoOutcome::Kind;
    switch (outcome->kind) {
        case Kind::UnknownExport:
            err << "There is no export " << id << "; --list-exports shows them.\n";
            return kExitEndedEarly;
        case Kind::NothingLeft:
            out << "Export " << id << " has no time tickets left to undo; nothing was deleted.\n";
            return kExitNormal;
        case Kind::AllGone:
        case Kind::SomeRemain:
            break;
    }
    out << "Export " << id << ": " << ticketsText(outcome->deleted) << " deleted in QuickBooks.\n";
    for (const std::string& refusal : outcome->refusals) {
        err << refusal << '\n';
    }
    if (outcome->kind == Kind::SomeRemain) {
        const auto remaining = static_cast<std::int64_t>(outcome->refusals.size());
        out << ticketsText(remaining) << " of the export "
            << (remaining == 1 ? "remains" : "remain") << " in QuickBooks.\n";
        return kExitTicketsRemain;
    }
    return kExitNormal;
}

}  // namespace vantrell
