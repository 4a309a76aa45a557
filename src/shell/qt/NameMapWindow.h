#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "shell/window/NameMapList.h"

class QLabel;
class QPushButton;
class QTableView;

namespace vantrell {

class NameMapModel;

// The name map in a window of its own: a line saying how many entries, the entries in a table,
// "Change…", "Remove…" and Close. Esc closes it.
class NameMapWindow final : public QDialog {
  public:
    // Runs Change… or Remove… on a row of the list; true when the map changed.
    using RowCommand = std::function<bool(NameMapList&, std::size_t row)>;

    // The window over `list`, centred on `owner`.
    NameMapWindow(std::unique_ptr<NameMapList> list, RowCommand change, RowCommand remove,
                  QWidget* owner);
    ~NameMapWindow() override;

    NameMapList& list() { return *list_; }

  private:
    void run(const RowCommand& command);
    void listReread();
    void showButtons();

    std::unique_ptr<NameMapList> list_;
    RowCommand change_;
    RowCommand remove_;
    NameMapModel* model_;
    QLabel* summary_;
    QTableView* table_;
    QPushButton* changeButton_;
    QPushButton* removeButton_;
};

}  // namespace vantrell
