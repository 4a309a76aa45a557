#include "shell/window/MapNameCommand.h"

#include <optional>
#include <utility>
#include <vector>

#include "diag/Failure.h"
#include "diag/Guard.h"
#include "shell/window/NameChoice.h"

namespace vantrell {

namespace {

// The accounting system's names of `kind`, asked with the hourglass shown; nothing when they
// could not be asked for (logged under "MapName").
std::optional<std::vector<hints::HeldName>> askHeldNames(modErrorLog& log, MainWindowSteps& steps,
                                                         WindowControls& controls,
                                                         stage::NameKind kind) {
    std::optional<std::vector<hints::HeldName>> held;
    guard(log, "MapName", [&] { controls.setMousePointer(MousePointer::Hourglass); });
    guard(log, "MapName", [&] { held = steps.logic().link().AskHeldNames(kind); });
    guard(log, "MapName", [&] { controls.setMousePointer(MousePointer::Default); });
    return held;
}

// Shows `request` through `host` and, when OK stored it, runs the activation. True when stored.
bool chooseAndStore(modErrorLog& log, db::Connection& cn, MainWindowSteps& steps,
                    WindowControls& controls, NameChoiceHost& host, NameChoice::Request request) {
    const std::optional<std::vector<hints::HeldName>> held =
        askHeldNames(log, steps, controls, request.kind);
    if (!held) {
        return false;
    }
    NameChoice choice(log, cn, std::move(request), *held);
    guard(log, "MapName", [&] { host.showModal(choice); });
    if (!choice.stored()) {
        return false;
    }
    // The stage is made anew with the entry applied; the list then says what is still missing.
    steps.activate();
    return true;
}

}  // namespace

bool mapNameApplies(MainWindowSteps& steps, std::size_t line) {
    return steps.logic().missingNameAt(line) != nullptr;
}

bool runMapNameCommand(modErrorLog& log, ProgramState& state, MainWindowSteps& steps,
                       WindowControls& controls, NameChoiceHost& host, std::size_t line) {
    const QuickBooksLink::MissingNameLine* missing = steps.logic().missingNameAt(line);
    if (missing == nullptr) {
        return false;
    }
    if (!state.interfaceDb.cnInterface) {
        guard(log, "MapName", [] { throw Failure("The interface database is not open."); });
        return false;
    }
    // Copied: the activation that follows a change replaces the list's lines.
    NameChoice::Request request{missing->kind, missing->name, missing->chronelNames, {}};
    return chooseAndStore(log, *state.interfaceDb.cnInterface, steps, controls, host,
                          std::move(request));
}

bool runChangeMapEntryCommand(modErrorLog& log, MainWindowSteps& steps, WindowControls& controls,
                              NameChoiceHost& host, NameMapList& list, std::size_t row) {
    if (!list.canChange(row)) {
        return false;
    }
    const stage::NameMapEntry& entry = list.entry(row);
    NameChoice::Request request{
        entry.kind, entry.chronelName, {entry.chronelName}, entry.quickBooksName};
    const bool changed =
        chooseAndStore(log, list.connection(), steps, controls, host, std::move(request));
    if (changed) {
        guard(log, "NameMap", [&] { list.reload(); });
    }
    return changed;
}

bool runRemoveMapEntryCommand(modErrorLog& log, MainWindowSteps& steps, YesNoQuestion& question,
                              NameMapList& list, std::size_t row) {
    if (row >= list.rowCount()) {
        return false;
    }
    bool yes = false;
    guard(log, "NameMap",
          [&] { yes = question.ask(list.removeQuestion(row), NameMapList::kCaption); });
    if (!yes) {
        return false;
    }
    const stage::NameMapEntry entry = list.entry(row);
    const bool removed = guard(log, "NameMap", [&] {
        const bool found =
            entry.damage.empty()
                ? stage::removeNameMapping(list.connection(), entry.kind, entry.chronelName)
                : stage::removeNameMapRow(list.connection(), entry.row);
        if (!found) {
            throw Failure("The name map no longer holds that entry.");
        }
    });
    guard(log, "NameMap", [&] { list.reload(); });
    if (removed) {
        steps.activate();
    }
    return removed;
}

}  // namespace vantrell
