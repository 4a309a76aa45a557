#pragma once

#include <windows.h>

#include <memory>

#include "shell/win32/Win32FileOpenDialog.h"
#include "shell/win32/Win32FileSaveDialog.h"
#include "shell/win32/Win32LocateHost.h"
#include "shell/win32/Win32NameChoiceDialog.h"
#include "shell/win32/Win32WindowPrinter.h"
#include "shell/win32/Win32YesNoQuestion.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/MainWindowSteps.h"
#include "shell/window/frmVantrell.h"

namespace vantrell::win32 {

// Posted to the main window when it has become active and its activation is due; handled once
// the window has been painted.
inline constexpr UINT kActivateMessage = WM_APP + 1;

// The main window frmVantrell (dialog resource IDD_FRMVANTRELL): its controls, laid out in
// twips, and the events that drive the window's logic. It has no task-bar button: it is owned
// by a hidden window of its own.
class Win32MainWindow final : public WindowControls {
  public:
    // `fileDialog` replaces the real file-open dialog (tests); null for the real one.
    Win32MainWindow(modErrorLog& log, ProgramState& state, SettingsStore& settings,
                    RequestProcessorFactory processorFactory, FileOpenDialog* fileDialog = nullptr);
    ~Win32MainWindow() override;
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // Creates the window hidden and runs the load sequence; false when the window unloaded
    // itself or the program was ended during it.
    bool load();
    // Shows the window centred on the screen and makes it active; its activation follows from
    // the message loop.
    void show();
    // Runs the messages of the program until the main window has closed; returns the exit
    // status.
    int runMessageLoop();

    // The window's handle (null before load), its logic and its locate-dialog host, for
    // tests and the front end's own commands.
    HWND handle() const { return window_; }
    frmVantrell& logic() { return steps_->logic(); }
    Win32LocateHost& locateHost() { return locateHost_; }
    // The exit status when the program was ended at once from inside an event, or -1.
    int endStatus() const { return steps_->endStatus(); }
    // How many times the activation sequence has run.
    int activations() const { return activations_; }

    // Opens the review of the stage over the window (its system menu and the list's context
    // menu do) and returns when the review has closed.
    void showReview();
    // The file-save dialog the review asks, and a hook called with the review's window once
    // it has opened: for tests, which must keep them alive.
    void setFileSaveDialog(FileSaveDialog& dialog) { saveDialog_ = &dialog; }
    void setReviewOpenedHook(void (*hook)(HWND review, void* context), void* context) {
        reviewHook_ = hook;
        reviewHookContext_ = context;
    }

    // Opens the history of exports over the window (its system menu and the list's context
    // menu do) and returns when it has closed.
    void showHistory();
    // The question the undo of an export asks first, and a hook called with the history's
    // window once it has opened: for tests, which must keep them alive.
    void setYesNoQuestion(YesNoQuestion& question) { question_ = &question; }
    void setHistoryOpenedHook(void (*hook)(HWND history, void* context), void* context) {
        historyHook_ = hook;
        historyHookContext_ = context;
    }

    // "Map to a QuickBooks name…" on line `line` of the list (the list's context menu does it):
    // the name-choice dialog over the window, the entry stored and the activation run again
    // on OK. A line about no missing name does nothing.
    void mapName(std::size_t line);
    // Opens the name map over the window (its system menu and the list's context menu do) and
    // returns when it has closed.
    void showNameMap();
    // Hooks called with the name-choice dialog and with the name map's window once they have
    // opened: for tests.
    void setNameChoiceOpenedHook(void (*hook)(HWND dialog, void* context), void* context) {
        nameChoice_.setOpenedHook(hook, context);
    }
    void setNameMapOpenedHook(void (*hook)(HWND map, void* context), void* context) {
        nameMapHook_ = hook;
        nameMapHookContext_ = context;
    }

    // WindowControls: the list, the buttons and the wait cursor. addListLine throws Failure
    // when the list can take no more lines; the others never throw.
    void clearList() override;
    void addListLine(const std::string& line) override;
    void setButtonEnabled(WindowButton button, bool enabled) override;
    void setMousePointer(MousePointer pointer) override;

  private:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM);
    void onInitDialog();
    void onActivate(WPARAM wParam);
    INT_PTR onCommand(WPARAM wParam);
    INT_PTR onSetCursor();
    void onContextMenu(WPARAM wParam, LPARAM lParam);
    void onDestroy();

    void close();
    void activateIfDue(bool due);

    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    Win32LocateHost locateHost_;
    Win32FileOpenDialog realFileDialog_;
    Win32WindowPrinter printer_;
    Win32FileSaveDialog realSaveDialog_;
    FileSaveDialog* saveDialog_ = &realSaveDialog_;
    void (*reviewHook_)(HWND, void*) = nullptr;
    void* reviewHookContext_ = nullptr;
    Win32YesNoQuestion realQuestion_;
    YesNoQuestion* question_ = &realQuestion_;
    void (*historyHook_)(HWND, void*) = nullptr;
    void* historyHookContext_ = nullptr;
    Win32NameChoiceDialog nameChoice_;
    void (*nameMapHook_)(HWND, void*) = nullptr;
    void* nameMapHookContext_ = nullptr;
    modErrorLog& log_;
    ProgramState& state_;
    // An order to end the program at once destroys the window, without the unload sequence.
    std::unique_ptr<MainWindowSteps> steps_;
    bool hourglass_ = false;
    bool shown_ = false;
    int activations_ = 0;
};

}  // namespace vantrell::win32
