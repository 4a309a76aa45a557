#pragma once

#include <functional>

#include "diag/modErrorLog.h"
#include "shell/window/ProgramState.h"
#include "shell/window/frmVantrell.h"

namespace vantrell {

// The main window's logic as a front end's events run it, the same for every toolkit. Each step
// runs one of the logic's procedures; an order to end the program at once (EndProgram) from a
// step leaves the unload sequence out, keeps every later step from running and hands its status
// to the front end's `endWindow`, which takes the window away.
class MainWindowSteps {
  public:
    using WindowEnder = std::function<void(int status)>;

    MainWindowSteps(modErrorLog& log, ProgramState& state, MainWindowServices services,
                    WindowEnder endWindow);

    // Runs the load sequence; false when the window unloaded itself or the program was ended
    // during it.
    bool load();

    // Whether the activation sequence is due now that the window has become active: the first
    // time, and again on a return from another of the program's windows (`fromOtherWindow`),
    // not from a message box, the file-open dialog or another application. Counts the
    // activation as seen either way.
    bool activationDue(bool fromOtherWindow);
    bool activatedOnce() const { return activatedOnce_; }

    void activate();
    void exportClicked();
    void printClicked();
    // Runs the unload sequence, unless the program was ended at once (then nothing is closed
    // down in order).
    void close();
    // Keeps every later step from running: the window is going away without its events.
    void stop() { ended_ = true; }

    frmVantrell& logic() { return logic_; }
    bool ended() const { return ended_; }
    // The exit status when the program was ended at once from inside a step, or -1.
    int endStatus() const { return endStatus_; }

  private:
    void run(const std::function<void()>& step);

    frmVantrell logic_;
    WindowEnder endWindow_;
    bool activatedOnce_ = false;
    bool ended_ = false;
    int endStatus_ = -1;
};

}  // namespace vantrell
