#include "shell/cli/ExportJournalCommands.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "diag/FileSystem.h"
#include "diag/Guard.h"
#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/SqlText.h"
#include "interfacedb/modDataDef.h"
#include "interfacedb/stage/PostingJournal.h"
#include "qblink/QuickBooksLink.h"
#include "shell/cli/CliRun.h"
#include "shell/window/ExportHistory.h"
#include "shell/window/UndoOutcomeText.h"
#include "shell/window/modVantrellMain.h"

namespace vantrell {

namespace {

// The export ID that `text` spells, or nothing.
std::optional<std::int64_t> exportIdOf(const std::string& text) {
    const std::optional<std::string> number = db::plainDecimal(text);
    if (!number || number->front() == '-' || number->size() > 18) {
        return std::nullopt;
    }
    return std::stoll(*number);
}

// What an undo did, on `out` and `err`; returns the exit status.
int reportUndo(std::int64_t id, const QuickBooksLink::UndoOutcome& outcome, std::ostream& out,
               std::ostream& err) {
    for (const UndoLine& line :
         undoOutcomeLines(id, outcome, "--undo-export " + std::to_string(id))) {
        (line.keptTicket ? err : out) << line.text << '\n';
    }
    using Kind = QuickBooksLink::UndoOutcome::Kind;
    return outcome.kind == Kind::AllGone || outcome.kind == Kind::NothingLeft ? kExitNormal
                                                                              : kExitTicketsRemain;
}

}  // namespace

int listExports(const ProgramState& state, std::ostream& out, std::ostream& err) {
    try {
        db::Connection cn;
        cn.open(db::connectionStringFor(state.interfaceDb.strInterfaceDB));
        bool damaged = false;
        for (const stage::ExportSummary& summary : stage::listExports(cn)) {
            if (!summary.damage.empty()) {
                err << "The posting journal is damaged: " << summary.damage << ".\n";
                damaged = true;
                continue;
            }
            out << summary.id << '\t' << (summary.finished ? summary.finished->toStorageText() : "")
                << '\t' << summary.posted << '\t' << summary.undone << '\t' << summary.unconfirmed
                << '\t' << summary.companyFile << '\n';
            if (summary.damaged > 0) {
                err << "The posting journal is damaged: export " << summary.id << " has "
                    << summary.damaged << (summary.damaged == 1 ? " ticket row" : " ticket rows")
                    << " that cannot be read (--undo-export " << summary.id << " names them).\n";
                damaged = true;
            }
        }
        if (const std::string settled = settledByCheckLine(stage::settledByCheckCount(cn));
            !settled.empty()) {
            out << settled << '\n';
        }
        out.flush();
        return damaged ? kExitEndedEarly : kExitNormal;
    } catch (const std::exception& e) {
        err << "The exports could not be listed: " << e.what() << '\n';
        return kExitEndedEarly;
    }
}

int showExport(const ProgramState& state, const std::string& idText, std::ostream& out,
               std::ostream& err) {
    const std::optional<std::int64_t> id = exportIdOf(idText);
    if (!id) {
        err << "\"" << idText << "\" is not an export ID; --list-exports shows them.\n";
        return kExitEndedEarly;
    }
    try {
        db::Connection cn;
        cn.open(db::connectionStringFor(state.interfaceDb.strInterfaceDB));
        const std::optional<ExportReceipt> receipt = ExportReceipt::read(cn, *id);
        if (!receipt) {
            err << "There is no export " << *id << "; --list-exports shows them.\n";
            return kExitEndedEarly;
        }
        for (const std::string& line : receiptAsTabSeparatedLines(*receipt)) {
            out << line << '\n';
        }
        out.flush();
        return kExitNormal;
    } catch (const std::exception& e) {
        err << "The export could not be shown: " << e.what() << '\n';
        return kExitEndedEarly;
    }
}

int undoExport(modErrorLog& log, ProgramState& state, const RequestProcessorFactory& factory,
               const std::string& idText, const std::optional<std::string>& company,
               const std::string& storedCompany, std::ostream& out, std::ostream& err) {
    const std::optional<std::int64_t> parsedId = exportIdOf(idText);
    if (!parsedId) {
        err << "\"" << idText << "\" is not an export ID; --list-exports shows them.\n";
        return kExitEndedEarly;
    }
    const std::int64_t id = *parsedId;
    if (!blnOpenConnection(log, state.interfaceDb.cnInterface, state.interfaceDb.strInterfaceDB)) {
        err << "Vantrell.mdb could not be opened (see VantrellLog.txt).\n";
        return kExitEndedEarly;
    }
    struct CloseAtEnd {
        modErrorLog& log;
        ConnectionRef& cn;
        ~CloseAtEnd() { blnCloseConnection(log, cn); }
    } closeAtEnd{log, state.interfaceDb.cnInterface};

    std::optional<stage::ExportSummary> summary;
    if (!guard(log, "UndoExport",
               [&] { summary = stage::findExport(*state.interfaceDb.cnInterface, id); })) {
        err << "The posting journal could not be read (see VantrellLog.txt).\n";
        return kExitEndedEarly;
    }
    if (!summary) {
        err << "There is no export " << id << "; --list-exports shows them.\n";
        return kExitEndedEarly;
    }
    // An export is undone only in the company file it was posted to: its transaction ids
    // name nothing, or other tickets, anywhere else.
    if (!summary->companyFile.empty() && company &&
        !namesSameFile(utf8ToPath(*company), utf8ToPath(summary->companyFile))) {
        err << "Export " << id << " was posted to the company file \"" << summary->companyFile
            << "\", not to \"" << *company << "\"; it can be undone only there. Leave out "
            << "--company, or name that file.\n";
        return kExitEndedEarly;
    }
    state.strQBdata = !summary->companyFile.empty() ? summary->companyFile
                      : company                     ? *company
                                                    : storedCompany;

    QuickBooksLink link(log, state.interfaceDb, state.extraction.outcome, state.strQBdata, factory);
    if (!link.OpenQBConnection()) {
        err << "No session could be opened on the company file \"" << state.strQBdata
            << "\" that export " << id << " was posted to (see VantrellLog.txt); nothing was "
            << "deleted.\n";
        return kExitEndedEarly;
    }
    std::optional<QuickBooksLink::UndoOutcome> outcome;
    guard(log, "UndoExport", [&] { outcome = link.UndoExport(id); });
    link.CloseQBConnection();
    if (!outcome) {
        err << "Export " << id << " could not be undone (see VantrellLog.txt); run the undo "
            << "again once QuickBooks answers.\n";
        return kExitEndedEarly;
    }
    if (outcome->kind == QuickBooksLink::UndoOutcome::Kind::UnknownExport) {
        err << "There is no export " << id << "; --list-exports shows them.\n";
        return kExitEndedEarly;
    }
    return reportUndo(id, *outcome, out, err);
}

}  // namespace vantrell
