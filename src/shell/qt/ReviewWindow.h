#pragma once

#include <QDialog>
#include <memory>

#include "diag/modErrorLog.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/StageReview.h"

class QLabel;
class QPushButton;
class QTableView;

namespace vantrell {

class TicketTableModel;
class TotalsTableModel;

// The review of the stage in a window of its own: the summary lines, the tickets in a table
// sorted by a click on a column's title, the totals, "Save as CSV…" and Close. Esc closes it.
class ReviewWindow final : public QDialog {
  public:
    // The window over `review`; `log` and `saveDialog` must outlive it. Its owner is `owner`,
    // over which it is centred.
    ReviewWindow(std::unique_ptr<StageReview> review, modErrorLog& log, FileSaveDialog& saveDialog,
                 QWidget* owner);
    ~ReviewWindow() override;

    StageReview& review() { return *review_; }

  private:
    std::unique_ptr<StageReview> review_;
    modErrorLog& log_;
    FileSaveDialog& saveDialog_;
    TicketTableModel* ticketsModel_;
    TotalsTableModel* totalsModel_;
};

}  // namespace vantrell
