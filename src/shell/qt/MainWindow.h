#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>

#include "shell/qt/FileSaveDialog.h"
#include "shell/qt/LocateDialog.h"
#include "shell/qt/NameChoiceDialog.h"
#include "shell/qt/QtYesNoQuestion.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/MainWindowSteps.h"
#include "shell/window/frmVantrell.h"

class QListWidget;
class QPushButton;

namespace vantrell {

class HistoryWindow;
class NameMapWindow;
class ReviewWindow;

// Prints an image of a widget on the default printer.
class QtWindowPrinter final : public WindowPrinter {
  public:
    // The widget to print; printing after it is gone fails.
    void setWindow(QWidget* window) { window_ = window; }
    // Throws Failure when there is no default printer, no window, or printing fails.
    void printWindowImage() override;

  private:
    QPointer<QWidget> window_;
};

// The main window frmVantrell: its controls, laid out in twips, and the events that drive the
// window's logic.
class MainWindow final : public QDialog, public WindowControls {
  public:
    // The window and its logic, not yet loaded or shown; `log`, `state` and `settings` must
    // outlive it.
    MainWindow(modErrorLog& log, ProgramState& state, SettingsStore& settings,
               RequestProcessorFactory processorFactory);
    ~MainWindow() override;

    // Runs the load sequence; false when the window unloaded itself during it.
    bool load();
    // Shows the window centred on the screen; activation follows.
    void showCentred();

    // The window's logic, for tests and the front end's own commands.
    frmVantrell& logic() { return steps_->logic(); }

    // The exit status when the program was ended at once from inside an event, or -1.
    int endStatus() const { return steps_->endStatus(); }

    // Opens the review of the stage over this window (the list's context menu does), without
    // waiting for it to close; returns it, or null when the stage could not be read (logged).
    ReviewWindow* showReview();
    // Opens the history of exports over this window (the list's context menu does), without
    // waiting for it to close; returns it, or null when the journal could not be read (logged).
    HistoryWindow* showHistory();
    // "Map to a QuickBooks name…" on line `line` of the list (the list's context menu runs it
    // on a missing name's line): the choice shown modally, the list made current after OK.
    // True when an entry was stored.
    bool mapName(std::size_t line);
    // Opens the name map over this window (the list's context menu does), without waiting for
    // it to close; returns it, or null when the map could not be read (logged).
    NameMapWindow* showNameMap();
    // The host of the name-choice dialog; the dialog's own unless a test gives its own, which
    // must outlive the window.
    void setNameChoiceHost(NameChoiceHost& host) { choiceHost_ = &host; }
    // The file-save dialog the windows' "Save as CSV…" asks; the platform's unless a test
    // gives its own, which must outlive the window.
    void setFileSaveDialog(FileSaveDialog& dialog) { saveDialog_ = &dialog; }
    // The question the undo of an export asks first; a message box unless a test gives its
    // own, which must outlive the window.
    void setYesNoQuestion(YesNoQuestion& question) { question_ = &question; }

    // WindowControls: the list, the buttons and the override cursor; none of these throws.
    void clearList() override;
    void addListLine(const std::string& line) override;
    void setButtonEnabled(WindowButton button, bool enabled) override;
    void setMousePointer(MousePointer pointer) override;

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void activateIfDue();
    void centreOnScreen();
    void showListMenu(const QPoint& position);

    QListWidget* lstShow_;
    QPushButton* cmdClose_;
    QPushButton* cmdExport_;
    QPushButton* cmdPrint_;
    QtLocateHost locateHost_;
    QtFileOpenDialog fileDialog_;
    QtWindowPrinter printer_;
    QtFileSaveDialog platformSaveDialog_;
    FileSaveDialog* saveDialog_ = &platformSaveDialog_;
    QtYesNoQuestion platformQuestion_;
    YesNoQuestion* question_ = &platformQuestion_;
    QtNameChoiceHost platformChoiceHost_{this};
    NameChoiceHost* choiceHost_ = &platformChoiceHost_;
    modErrorLog& log_;
    ProgramState& state_;
    // An order to end the program at once hides the window and quits the event loop with its
    // status, without the unload sequence.
    std::unique_ptr<MainWindowSteps> steps_;
};

// Remembers the window of this program that was active last, message boxes, menus and windows
// marked "returnsQuietly" (the review, the history) left out, so that the main window can tell a
// return from another of its windows from a return from another application or from a message box.
class ActivationTracker final : public QObject {
  public:
    // The program's one tracker, installed on the application at first use.
    static ActivationTracker& instance();
    // The window active last, or null when none is or it has been destroyed.
    QWidget* lastActive() const { return lastActive_; }
    void setLastActive(QWidget* widget) { lastActive_ = widget; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> lastActive_;
};

}  // namespace vantrell
