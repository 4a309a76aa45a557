#include "shell/qt/HistoryWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "diag/Guard.h"
#include "shell/qt/DialogFont.h"
#include "shell/qt/ExportHistoryModel.h"
#include "shell/qt/TableView.h"
#include "shell/qt/TicketTableModel.h"
#include "shell/qt/Twips.h"

namespace vantrell {

HistoryWindow::HistoryWindow(std::unique_ptr<ExportHistory> history, modErrorLog& log,
                             FileSaveDialog& saveDialog, UndoRunner undo, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      history_(std::move(history)),
      log_(log),
      saveDialog_(saveDialog),
      undo_(std::move(undo)),
      noTickets_(ExportReceipt::kColumns, {}),
      exportsModel_(new ExportHistoryModel(*history_, this)) {
    setObjectName("frmHistory");
    setWindowTitle(ExportHistory::kCaption);
    setFont(dialogFont());
    // Closing the history does not stage the hours again; an undo runs the activation itself.
    setProperty("returnsQuietly", true);

    auto* exportsLabel = new QLabel("E&xports:", this);
    exports_ = makeTableView(this, "tblExports", {500, 1900, 1900, 2400, 700, 700, 1000, 2400});
    setTableModel(exports_, exportsModel_);
    exportsLabel->setBuddy(exports_);
    auto* settled = new QLabel(QString::fromStdString(history_->settledLine()), this);
    settled->setObjectName("lblSettled");
    settled->setVisible(!history_->settledLine().empty());

    receiptLines_ = new QLabel(this);
    receiptLines_->setObjectName("lblReceipt");
    receiptLines_->setWordWrap(true);
    auto* ticketsLabel = new QLabel("&Tickets:", this);
    tickets_ = makeTableView(this, "tblTickets", {2000, 1100, 1400, 700, 1400, 1000, 3000});
    tickets_->horizontalHeader()->setSortIndicatorShown(true);
    tickets_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    tickets_->horizontalHeader()->setSectionsClickable(true);
    connect(tickets_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                if (ticketsModel_ != nullptr) {
                    ticketsModel_->sort(column, order);
                }
            });
    ticketsLabel->setBuddy(tickets_);
    auto* totalsLabel = new QLabel("T&otals:", this);
    totals_ = makeTableView(this, "tblTotals", {1200, 2400, 900, 1200});
    totalsLabel->setBuddy(totals_);

    outcome_ = new QListWidget(this);
    outcome_->setObjectName("lstOutcome");
    outcome_->setMaximumHeight(fontMetrics().height() * 5);
    outcome_->setVisible(false);

    undoButton_ = new QPushButton("&Undo export\u2026", this);
    undoButton_->setObjectName("cmdUndo");
    saveButton_ = new QPushButton("&Save as CSV\u2026", this);
    saveButton_->setObjectName("cmdSaveCsv");
    auto* close = new QPushButton("&Close", this);
    close->setObjectName("cmdClose");
    for (auto* button : {undoButton_, saveButton_, close}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(twipsToPixels(1095, *this));
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(undoButton_);
    buttons->addWidget(saveButton_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(exportsLabel);
    layout->addWidget(exports_, 2);
    layout->addWidget(settled);
    layout->addWidget(receiptLines_);
    layout->addWidget(ticketsLabel);
    layout->addWidget(tickets_, 3);
    layout->addWidget(totalsLabel);
    layout->addWidget(totals_, 1);
    layout->addWidget(outcome_);
    layout->addLayout(buttons);

    setTabOrder(exports_, tickets_);
    setTabOrder(tickets_, totals_);
    setTabOrder(totals_, outcome_);
    setTabOrder(outcome_, undoButton_);
    setTabOrder(undoButton_, saveButton_);
    setTabOrder(saveButton_, close);

    connect(exports_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                guard(log_, "ExportHistory", [&] {
                    history_->select(current.isValid() ? std::optional<std::size_t>(current.row())
                                                       : std::nullopt);
                });
                showSelected();
            });
    connect(undoButton_, &QPushButton::clicked, this, [this] { undoClicked(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] {
        if (const ExportReceipt* receipt = history_->receipt()) {
            receipt->saveAsCsv(log_, saveDialog_);
        }
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    showSelected();
    if (history_->rowCount() > 0) {
        exports_->setCurrentIndex(exportsModel_->index(0, 0));  // the newest export
    }
    exports_->setFocus();

    resize(twipsToPixels(9600, *this), twipsToPixels(8400, *this));
    if (owner != nullptr) {
        move(owner->window()->geometry().center() - rect().center());
    }
}

HistoryWindow::~HistoryWindow() {
    // The views and their models read the history: they go first, not in QDialog's own
    // destructor, which runs after history_ is gone.
    hide();
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    delete exportsModel_;
    delete ticketsModel_;
    delete totalsModel_;
}

void HistoryWindow::showSelected() {
    ExportReceipt* receipt = history_->receipt();
    // New models for the export shown; the old ones go once the views no longer use them.
    auto* ticketsModel = new TicketTableModel(receipt ? receipt->table() : noTickets_, this);
    auto* totalsModel = new TotalsTableModel(
        receipt ? totalsRows(receipt->totals()) : std::vector<TotalsRow>{}, this);
    setTableModel(tickets_, ticketsModel);
    setTableModel(totals_, totalsModel);
    tickets_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    delete ticketsModel_;
    delete totalsModel_;
    ticketsModel_ = ticketsModel;
    totalsModel_ = totalsModel;

    QStringList lines;
    if (receipt != nullptr) {
        for (const std::string& line : receipt->summaryLines()) {
            lines << QString::fromStdString(line);
        }
    } else if (const auto row = history_->selected()) {
        lines << QString::fromStdString(history_->text(*row, ExportHistory::kColumnCount - 1));
    }
    receiptLines_->setText(lines.join('\n'));
    undoButton_->setEnabled(receipt != nullptr && receipt->canUndo());
    saveButton_->setEnabled(receipt != nullptr);
}

void HistoryWindow::historyReread() {
    const std::optional<std::size_t> selected = history_->selected();
    exportsModel_->reset();
    if (selected) {
        const QSignalBlocker quiet(exports_->selectionModel());
        exports_->setCurrentIndex(exportsModel_->index(static_cast<int>(*selected), 0));
    }
    showSelected();
}

void HistoryWindow::undoClicked() {
    const std::optional<std::vector<UndoLine>> lines = undo_(*history_);
    if (!lines) {
        return;
    }
    historyReread();
    outcome_->clear();
    for (const UndoLine& line : *lines) {
        auto* item = new QListWidgetItem(QString::fromStdString(line.text), outcome_);
        item->setToolTip(item->text());
    }
    outcome_->setVisible(true);
    outcome_->setFocus();
}

}  // namespace vantrell
