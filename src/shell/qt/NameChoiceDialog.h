#pragma once

#include <QDialog>

#include "shell/window/FrontEnd.h"
#include "shell/window/NameChoice.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace vantrell {

// The dialog "Map to a QuickBooks name" around its logic: the prompt, a filter box, the list of
// names and OK (Enter) and Cancel (Esc, the close box). Up and Down in the filter box move in
// the list.
class NameChoiceDialog final : public QDialog {
  public:
    // The dialog over `choice`, which must outlive it, centred on `owner`.
    NameChoiceDialog(NameChoice& choice, QWidget* owner);

    // Esc, Cancel and the close box: the choice is cancelled.
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showChoices();
    void okClicked();

    NameChoice& choice_;
    QLineEdit* filter_;
    QListWidget* names_;
    QPushButton* ok_;
    bool filling_ = false;
};

// Shows NameChoiceDialog modally over the main window.
class QtNameChoiceHost final : public NameChoiceHost {
  public:
    explicit QtNameChoiceHost(QWidget* owner) : owner_(owner) {}
    // Runs the dialog modally until OK stores the choice or it is cancelled.
    void showModal(NameChoice& choice) override;

  private:
    QWidget* owner_;
};

}  // namespace vantrell
