#include "shell/window/IssueList.h"

#include <string>
#include <utility>
#include <vector>

#include "diag/Guard.h"

namespace vantrell {

namespace {

std::string alreadyPostedLine(std::int64_t count) {
    return count == 1 ? "1 time ticket is already in QuickBooks and will not be posted again."
                      : std::to_string(count) +
                            " time tickets are already in QuickBooks and will not be posted again.";
}

}  // namespace

const QuickBooksLink::MissingNameLine* missingNameAt(const ListedNames& listed, std::size_t line) {
    for (const QuickBooksLink::MissingNameLine& named : listed) {
        if (named.line == line) {
            return &named;
        }
    }
    return nullptr;
}

void listIssues(modErrorLog& log, WindowControls& controls,
                const QuickBooksLink::IssueReport& report) {
    guard(log, "ShowIssues", [&] {
        controls.clearList();
        for (const std::string& line : report.lines) {
            controls.addListLine(line);
        }
        if (!report.complete) {
            // Whatever an earlier activation allowed, the issues of this one are not known.
            controls.setButtonEnabled(WindowButton::Export, false);
            return;
        }
        if (report.issues == 0) {
            controls.addListLine("Click Export to post your time tickets in QuickBooks.");
            controls.setButtonEnabled(WindowButton::Export, true);
            controls.setButtonEnabled(WindowButton::Close, true);
            controls.setButtonEnabled(WindowButton::Print, false);
        } else {
            controls.addListLine("");
            controls.addListLine("There are " + std::to_string(report.issues) +
                                 " issues requiring resolution.");
            controls.setButtonEnabled(WindowButton::Export, false);
            controls.setButtonEnabled(WindowButton::Close, true);
            controls.setButtonEnabled(WindowButton::Print, true);
        }
        if (report.alreadyPosted > 0) {
            controls.addListLine("");
            controls.addListLine(alreadyPostedLine(report.alreadyPosted));
        }
    });
}

void ShowIssues(modErrorLog& log, QuickBooksLink& link, WindowControls& controls) {
    listIssues(log, controls, link.FindIssues());
}

void listAnswerNotes(modErrorLog& log, QuickBooksLink& link, WindowControls& controls,
                     const char* step) {
    const std::vector<std::string> notes = std::exchange(link.answerNotes, {});
    guard(log, step, [&] {
        for (const std::string& line : notes) {
            controls.addListLine(line);
        }
    });
}

}  // namespace vantrell
