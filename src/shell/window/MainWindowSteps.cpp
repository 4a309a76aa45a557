#include "shell/window/MainWindowSteps.h"

#include <utility>

#include "diag/Failure.h"

namespace vantrell {

MainWindowSteps::MainWindowSteps(modErrorLog& log, ProgramState& state, MainWindowServices services,
                                 WindowEnder endWindow)
    : logic_(log, state, std::move(services)), endWindow_(std::move(endWindow)) {}

void MainWindowSteps::run(const std::function<void()>& step) {
    if (ended_) {
        return;
    }
    try {
        step();
    } catch (const EndProgram& end) {
        ended_ = true;
        endStatus_ = end.status;
        endWindow_(end.status);
    }
}

bool MainWindowSteps::load() {
    run([this] { logic_.Form_Load(); });
    return !ended_ && !logic_.isUnloaded();
}

bool MainWindowSteps::activationDue(bool fromOtherWindow) {
    const bool due = !activatedOnce_ || fromOtherWindow;
    activatedOnce_ = true;
    return due;
}

void MainWindowSteps::activate() {
    run([this] { logic_.Form_Activate(); });
}

void MainWindowSteps::exportClicked() {
    run([this] { logic_.cmdExport_Click(); });
}

void MainWindowSteps::printClicked() {
    run([this] { logic_.cmdPrint_Click(); });
}

void MainWindowSteps::close() {
    if (!ended_) {
        logic_.Form_Unload();
    }
}

}  // namespace vantrell
