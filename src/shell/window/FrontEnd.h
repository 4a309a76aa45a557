#pragma once

#include <string>

#include "diag/Prompter.h"

// What a front end implements for the window logic: the message box (declared with the error
// log, which shows it, and included here so that this header names every piece), the main
// window's controls, its printer, the file-open and file-save dialogs, a Yes/No question, the hosts
// of the locate dialog and of the name-choice dialog, and the per-user settings store. The Qt,
// headless and Win32 front ends and the tests' fakes each implement these; nothing else in a front
// end is seen by the logic.

namespace vantrell {

class frmLocateCHdata;
class NameChoice;

enum class WindowButton { Close, Export, Print };
enum class MousePointer { Default, Hourglass };

// The main window's controls as the window logic sees them: the list lstShow, the enabled
// state of the three buttons and the screen's mouse pointer. Each operation may throw Failure.
class WindowControls {
  public:
    virtual ~WindowControls() = default;

    virtual void clearList() = 0;
    // Appends one item at the end of the list (an empty text is an empty item).
    virtual void addListLine(const std::string& line) = 0;
    virtual void setButtonEnabled(WindowButton button, bool enabled) = 0;
    virtual void setMousePointer(MousePointer pointer) = 0;
};

// Sends an image of the window to the default printer, without a dialog. Throws Failure when
// there is no printer or printing fails.
class WindowPrinter {
  public:
    virtual ~WindowPrinter() = default;
    // Prints the window as it is shown now; returns when it has been sent to the printer.
    virtual void printWindowImage() = 0;
};

// The platform's file-open dialog. Returns the chosen full path, or "" when the user cancelled.
// `flags` 4 hides the read-only box and lets the user type a name that does not exist.
class FileOpenDialog {
  public:
    virtual ~FileOpenDialog() = default;
    // Shows the dialog offering `filter` ("Description|pattern") and returns when it has
    // closed. A dialog that cannot be shown throws Failure.
    virtual std::string showOpen(const std::string& filter, int flags) = 0;
};

// The platform's file-save dialog. Returns the chosen full path, or "" when the user cancelled.
class FileSaveDialog {
  public:
    virtual ~FileSaveDialog() = default;
    // Shows the dialog offering `filter` ("Description|pattern") with `suggestedName` filled in,
    // asking before an existing file is replaced, and returns when it has closed. A dialog that
    // cannot be shown throws Failure.
    virtual std::string showSave(const std::string& filter, const std::string& suggestedName) = 0;
};

// A question the clerk answers Yes or No, asked before a step that cannot be taken back lightly
// (the undo of an export).
class YesNoQuestion {
  public:
    virtual ~YesNoQuestion() = default;
    // Shows `text` under `title` with Yes and No, No the default, and returns whether the clerk
    // chose Yes; closing the box is No. A box that cannot be shown throws Failure.
    virtual bool ask(const std::string& text, const std::string& title) = 0;
};

// Shows the locate dialog modally and returns when it has closed.
class LocateDialogHost {
  public:
    virtual ~LocateDialogHost() = default;
    // Shows `dialog`, already loaded, until closed() is true. A window that cannot be shown
    // throws Failure.
    virtual void showModal(frmLocateCHdata& dialog) = 0;
};

// Shows the name-choice dialog ("Map to a QuickBooks name…") modally and returns when it has
// closed. The dialog shows choice.prompt(), a filter box passed to setFilter() as it is typed,
// the list of choiceTexts() with selectedChoice() selected (select() on a click), and OK (Enter;
// enabled while okEnabled()) and Cancel (Esc, the close box) calling okClicked() and
// cancelClicked().
class NameChoiceHost {
  public:
    virtual ~NameChoiceHost() = default;
    // Shows `choice` until choice.closed() is true. A window that cannot be shown throws
    // Failure.
    virtual void showModal(NameChoice& choice) = 0;
};

// The per-user settings store, addressed by application name, section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored text, or `defaultValue` when there is none.
    virtual std::string GetSetting(const std::string& appName, const std::string& section,
                                   const std::string& key, const std::string& defaultValue) = 0;
    // Stores `value` under the key, replacing what was there. A store that cannot be written
    // may throw Failure.
    virtual void SaveSetting(const std::string& appName, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
};

}  // namespace vantrell
