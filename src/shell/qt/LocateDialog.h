#pragma once

#include <QDialog>

#include "shell/window/frmLocateCHdata.h"

class QLabel;
class QPushButton;

namespace vantrell {

// The locate dialog's window around its logic.
class LocateDialog final : public QDialog {
  public:
    // The dialog over `logic` (already loaded), which must outlive it, centred on `owner`.
    LocateDialog(frmLocateCHdata& logic, QWidget* owner);

  private:
    frmLocateCHdata& logic_;
};

// Shows LocateDialog modally over the main window.
class QtLocateHost final : public LocateDialogHost {
  public:
    // Shows the dialog over `owner`, or over no window while there is none.
    explicit QtLocateHost(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }
    // Runs the loaded `dialog` modally until one of its buttons closes it.
    void showModal(frmLocateCHdata& dialog) override;

  private:
    QWidget* owner_;
};

// The file-open dialog: the filter offered, names that do not exist accepted, cancel allowed.
class QtFileOpenDialog final : public FileOpenDialog {
  public:
    // The chosen path as UTF-8, or "" when the clerk cancelled.
    std::string showOpen(const std::string& filter, int flags) override;
};

// "Description|pattern" as a Qt name filter "Description (pattern)", which the file dialog
// shows as it is; the description is shown once, as in the Windows file dialog.
QString qtNameFilter(const std::string& filter);

}  // namespace vantrell
