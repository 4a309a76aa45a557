#include "shell/window/UndoOutcomeText.h"

namespace vantrell {

std::string timeTicketsText(std::int64_t count) {
    return std::to_string(count) + (count == 1 ? " time ticket" : " time tickets");
}

std::string settledByCheckLine(std::int64_t count) {
    if (count <= 0) {
        return {};
    }
    return timeTicketsText(count) +
           " found in QuickBooks by the check without an export of Vantrell settled.";
}

std::vector<UndoLine> undoOutcomeLines(std::int64_t id, const QuickBooksLink::UndoOutcome& outcome,
                                       const std::string& againCommand) {
    using Kind = QuickBooksLink::UndoOutcome::Kind;
    std::vector<UndoLine> lines;
    if (outcome.kind == Kind::UnknownExport) {
        lines.push_back({"There is no export " + std::to_string(id) + ".", false});
        return lines;
    }
    if (outcome.kind == Kind::NothingLeft) {
        lines.push_back({"Export " + std::to_string(id) +
                             " has no time tickets left to undo; nothing was deleted.",
                         false});
        return lines;
    }
    lines.push_back({"Export " + std::to_string(id) + ": " + timeTicketsText(outcome.deleted) +
                         " deleted in QuickBooks.",
                     false});
    if (outcome.alreadyGone > 0) {
        lines.push_back({timeTicketsText(outcome.alreadyGone) + " of the export " +
                             (outcome.alreadyGone == 1 ? "was" : "were") +
                             " no longer in QuickBooks: already gone, not deleted by this undo.",
                         false});
    }
    for (const std::string& line : outcome.kept) {
        lines.push_back({line, true});
    }
    if (!outcome.kept.empty()) {
        const auto remaining = static_cast<std::int64_t>(outcome.kept.size());
        lines.push_back({timeTicketsText(remaining) + " of the export " +
                             (remaining == 1 ? "remains" : "remain") + " in QuickBooks.",
                         false});
    }
    if (outcome.unconfirmed > 0) {
        const bool one = outcome.unconfirmed == 1;
        lines.push_back(
            {timeTicketsText(outcome.unconfirmed) + " of the export " + (one ? "was" : "were") +
                 " sent without an answer: whether QuickBooks holds " + (one ? "it" : "them") +
                 " is unknown, so nothing was deleted for " + (one ? "it" : "them") +
                 ". The next run settles them; then undo the export again.",
             false});
    }
    if (outcome.notRecorded) {
        lines.push_back(
            {"Vantrell.mdb could not record what this undo deleted (see "
             "VantrellLog.txt); QuickBooks no longer holds those tickets. The next " +
                 againCommand + " finds them gone and records it.",
             false});
    }
    return lines;
}

}  // namespace vantrell
