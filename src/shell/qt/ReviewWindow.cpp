#include "shell/qt/ReviewWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "shell/qt/DialogFont.h"
#include "shell/qt/KeyboardContextMenu.h"
#include "shell/qt/TableView.h"
#include "shell/qt/TicketTableModel.h"
#include "shell/qt/Twips.h"

namespace vantrell {

ReviewWindow::ReviewWindow(std::unique_ptr<StageReview> review, modErrorLog& log,
                           FileSaveDialog& saveDialog, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      review_(std::move(review)),
      log_(log),
      saveDialog_(saveDialog),
      ticketsModel_(new TicketTableModel(review_->table(), this)),
      totalsModel_(new TotalsTableModel(totalsRows(review_->totals()), this)) {
    setObjectName("frmReview");
    setWindowTitle(StageReview::kCaption);
    setFont(dialogFont());
    // Returning from the review to the main window does not stage the hours again.
    setProperty("returnsQuietly", true);

    auto* summary = new QLabel(this);
    summary->setObjectName("lblSummary");
    QStringList lines;
    for (const std::string& line : review_->summaryLines()) {
        lines << QString::fromStdString(line);
    }
    summary->setText(lines.join('\n'));
    summary->setWordWrap(true);

    auto* ticketsLabel = new QLabel("&Tickets:", this);
    QTableView* tickets = makeTableView(this, "tblTickets", {2400, 1200, 1800, 900});
    setTableModel(tickets, ticketsModel_);
    tickets->setSortingEnabled(false);  // no sort before the clerk asks for one
    tickets->horizontalHeader()->setSortIndicatorShown(true);
    tickets->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    tickets->horizontalHeader()->setSectionsClickable(true);
    connect(tickets->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) { ticketsModel_->sort(column, order); });
    ticketsLabel->setBuddy(tickets);
    // The keyboard's way to sort: the table's context menu names a command for each column.
    new KeyboardContextMenu(tickets, [this, tickets](const QPoint& position) {
        QMenu menu(this);
        menu.setObjectName("mnuSort");
        const TicketTable& table = review_->table();
        for (std::size_t c = 0; c < table.columnCount(); ++c) {
            QAction* sort = menu.addAction(QString::fromStdString(table.sortCommand(c)));
            connect(sort, &QAction::triggered, this, [this, tickets, c] {
                const TicketTable& shown = review_->table();
                const bool ascending = !(shown.sortColumn() == c && shown.sortAscending());
                // Through the header, so that its arrow shows the order.
                tickets->horizontalHeader()->setSortIndicator(
                    static_cast<int>(c), ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
            });
        }
        menu.exec(tickets->viewport()->mapToGlobal(position));
    });

    auto* totalsLabel = new QLabel("T&otals:", this);
    QTableView* totals = makeTableView(this, "tblTotals", {1200, 2400, 900, 1200});
    setTableModel(totals, totalsModel_);
    totalsLabel->setBuddy(totals);

    auto* save = new QPushButton("&Save as CSV\u2026", this);
    save->setObjectName("cmdSaveCsv");
    auto* close = new QPushButton("&Close", this);
    close->setObjectName("cmdClose");
    for (auto* button : {save, close}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(twipsToPixels(1095, *this));
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(ticketsLabel);
    layout->addWidget(tickets, 2);
    layout->addWidget(totalsLabel);
    layout->addWidget(totals, 1);
    layout->addLayout(buttons);

    setTabOrder(tickets, totals);
    setTabOrder(totals, save);
    setTabOrder(save, close);
    tickets->setFocus();

    connect(save, &QPushButton::clicked, this, [this] { review_->saveAsCsv(log_, saveDialog_); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    resize(twipsToPixels(7800, *this), twipsToPixels(6300, *this));
    if (owner != nullptr) {
        move(owner->window()->geometry().center() - rect().center());
    }
}

ReviewWindow::~ReviewWindow() {
    // The views and their models read the review's table: they go first, not in QDialog's own
    // destructor, which hides them (and asks the headers for their titles) after review_ is gone.
    hide();
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    delete ticketsModel_;
    delete totalsModel_;
}

}  // namespace vantrell
