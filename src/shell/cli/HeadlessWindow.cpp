#include "shell/cli/HeadlessWindow.h"

#include "diag/Failure.h"

namespace vantrell {

void HeadlessControls::setButtonEnabled(WindowButton button, bool enabled) {
    switch (button) {
        case WindowButton::Export:
            exportEnabled = enabled;
            break;
        case WindowButton::Close:
            closeEnabled = enabled;
            break;
        case WindowButton::Print:
            printEnabled = enabled;
            break;
    }
}

bool HeadlessControls::enabled(WindowButton button) const {
    switch (button) {
        case WindowButton::Export:
            return exportEnabled;
        case WindowButton::Close:
            return closeEnabled;
        case WindowButton::Print:
            return printEnabled;
    }
    return false;
}

void StreamPrompter::show(const std::string& text, const std::string& title, MessageIcon) {
    out_ << title << ": " << text << '\n';
    out_.flush();
}

void StreamLocateHost::showModal(frmLocateCHdata& dialog) {
    out_ << dialog.lblLocate() << '\n';
    dialog.cmdClose_Click();
}

void NoPrinter::printWindowImage() {
    throw Failure("There is no printer: the program runs without a display.");
}

}  // namespace vantrell
