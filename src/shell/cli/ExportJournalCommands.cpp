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
#include "shell/window/modVantrellMain.h"

namespace vantrell {

namespace {

std::string ticketsText(std::int64_t count) {
    return std::to_string(count) + (count == 1 ? " time ticket" : " time tickets");
}

// Whether two paths name one company file: the same file when both exist, otherwise the same
// path once made absolute and normal.
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    const std::filesystem::path first = utf8ToPath(a);
    const std::filesystem::path second = utf8ToPath(b);
    if (std::filesystem::exists(first, error) && std::filesystem::exists(second, error)) {
        const bool same = std::filesystem::equivalent(first, second, error);
        if (!error) {
            return same;
        }
    }
    return std::filesystem::weakly_canonical(first, error) ==
           std::filesystem::weakly_canonical(second, error);
}

// What an undo did, on `out` and `err`; returns the exit status.
int reportUndo(std::int64_t id, const QuickBooksLink::UndoOutcome& outcome, std::ostream& out,
               std::ostream& err) {
    using Kind = QuickBooksLink::UndoOutcome::Kind;
    if (outcome.kind == Kind::NothingLeft) {
        out << "Export " << id << " has no time tickets left to undo; nothing was deleted.\n";
        return kExitNormal;
    }
    out << "Export " << id << ": " << ticketsText(outcome.deleted) << " deleted in QuickBooks.\n";
    if (outcome.alreadyGone > 0) {
        out << ticketsText(outcome.alreadyGone) << " of the export "
            << (outcome.alreadyGone == 1 ? "was" : "were")
            << " no longer in QuickBooks: already gone, not deleted by this undo.\n";
    }
    for (const std::string& line : outcome.kept) {
        err << line << '\n';
    }
    if (!outcome.kept.empty()) {
        const auto remaining = static_cast<std::int64_t>(outcome.kept.size());
        out << ticketsText(remaining) << " of the export "
            << (remaining == 1 ? "remains" : "remain") << " in QuickBooks.\n";
    }
    if (outcome.unconfirmed > 0) {
        out << ticketsText(outcome.unconfirmed) << " of the export "
            << (outcome.unconfirmed == 1 ? "was" : "were")
            << " sent without an answer: whether QuickBooks holds "
            << (outcome.unconfirmed == 1 ? "it" : "them")
            << " is unknown, so nothing was deleted for "
            << (outcome.unconfirmed == 1 ? "it" : "them")
            << ". The next run settles them; then undo the export again.\n";
    }
    if (outcome.notRecorded) {
        out << "Vantrell.mdb could not record what this undo deleted (see VantrellLog.txt); "
            << "QuickBooks no longer holds those tickets. The next --undo-export " << id
            << " finds them gone and records it.\n";
    }
    return outcome.kind == Kind::AllGone ? kExitNormal : kExitTicketsRemain;
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
        if (const std::int64_t settled = stage::settledByCheckCount(cn); settled > 0) {
            out << ticketsText(settled) << " found in QuickBooks by the check without an export "
                << "of Vantrell settled.\n";
        }
        out.flush();
        return damaged ? kExitEndedEarly : kExitNormal;
    } catch (const std::exception& e) {
        err << "The exports could not be listed: " << e.what() << '\n';
        return kExitEndedEarly;
    }
}

int undoExport(modErrorLog& log, ProgramState& state, const RequestProcessorFactory& factory,
               const std::string& idText, const std::optional<std::string>& company,
               const std::string& storedCompany, std::ostream& out, std::ostream& err) {
    const std::optional<std::string> number = db::plainDecimal(idText);
    if (!number || number->front() == '-' || number->size() > 18) {
        err << "\"" << idText << "\" is not an export ID; --list-exports shows them.\n";
        return kExitEndedEarly;
    }
    const std::int64_t id = std::stoll(*number);
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
    if (!summary->companyFile.empty() && company && !sameFile(*company, summary->companyFile)) {
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
