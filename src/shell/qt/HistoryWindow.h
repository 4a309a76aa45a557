#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "diag/modErrorLog.h"
#include "shell/window/ExportHistory.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/TicketTable.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTableView;

namespace vantrell {

class ExportHistoryModel;
class TicketTableModel;
class TotalsTableModel;

// The history of exports in a window of its own: the exports, newest first; the tickets of the
// one selected with their totals; "Undo export…", "Save as CSV…" (the receipt) and Close, and
// the lines an undo leaves. Esc closes it.
class HistoryWindow final : public QDialog {
  public:
    // Runs the undo of the history's selected export (asking first) and returns its lines, or
    // nothing when nothing was done.
    using UndoRunner = std::function<std::optional<std::vector<UndoLine>>(ExportHistory&)>;

    // The window over `history`; `log` and `saveDialog` must outlive it. Its owner is `owner`,
    // over which it is centred.
    HistoryWindow(std::unique_ptr<ExportHistory> history, modErrorLog& log,
                  FileSaveDialog& saveDialog, UndoRunner undo, QWidget* owner);
    ~HistoryWindow() override;

    ExportHistory& history() { return *history_; }

  private:
    void showSelected();
    void undoClicked();
    void historyReread();

    std::unique_ptr<ExportHistory> history_;
    modErrorLog& log_;
    FileSaveDialog& saveDialog_;
    UndoRunner undo_;
    TicketTable noTickets_;
    ExportHistoryModel* exportsModel_;
    TicketTableModel* ticketsModel_ = nullptr;
    TotalsTableModel* totalsModel_ = nullptr;
    QTableView* exports_;
    QTableView* tickets_;
    QTableView* totals_;
    QLabel* receiptLines_;
    QListWidget* outcome_;
    QPushButton* undoButton_;
    QPushButton* saveButton_;
};

}  // namespace vantrell
