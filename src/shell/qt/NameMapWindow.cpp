#include "shell/qt/NameMapWindow.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "shell/qt/DialogFont.h"
#include "shell/qt/NameMapModel.h"
#include "shell/qt/TableView.h"
#include "shell/qt/Twips.h"

namespace vantrell {

NameMapWindow::NameMapWindow(std::unique_ptr<NameMapList> list, RowCommand change,
                             RowCommand remove, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      list_(std::move(list)),
      change_(std::move(change)),
      remove_(std::move(remove)),
      model_(new NameMapModel(*list_, this)) {
    setObjectName("frmNameMap");
    setWindowTitle(NameMapList::kCaption);
    setFont(dialogFont());
    // A change runs the activation itself; closing the window does not stage the hours again.
    setProperty("returnsQuietly", true);

    summary_ = new QLabel(this);
    summary_->setObjectName("lblSummary");
    summary_->setWordWrap(true);
    auto* entriesLabel = new QLabel("&Entries:", this);
    table_ = makeTableView(this, "tblNameMap", {1000, 2600, 2600, 3400});
    setTableModel(table_, model_);
    entriesLabel->setBuddy(table_);

    changeButton_ = new QPushButton("C&hange\u2026", this);
    changeButton_->setObjectName("cmdChange");
    removeButton_ = new QPushButton("&Remove\u2026", this);
    removeButton_->setObjectName("cmdRemove");
    auto* close = new QPushButton("&Close", this);
    close->setObjectName("cmdClose");
    for (auto* button : {changeButton_, removeButton_, close}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(twipsToPixels(1095, *this));
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(changeButton_);
    buttons->addWidget(removeButton_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(entriesLabel);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    setTabOrder(table_, changeButton_);
    setTabOrder(changeButton_, removeButton_);
    setTabOrder(removeButton_, close);

    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showButtons(); });
    connect(table_, &QTableView::doubleClicked, this, [this] { run(change_); });
    connect(changeButton_, &QPushButton::clicked, this, [this] { run(change_); });
    connect(removeButton_, &QPushButton::clicked, this, [this] { run(remove_); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    listReread();
    table_->setFocus();
    resize(twipsToPixels(9600, *this), twipsToPixels(5400, *this));
    if (owner != nullptr) {
        move(owner->window()->geometry().center() - rect().center());
    }
}

NameMapWindow::~NameMapWindow() {
    // The view reads the list through its model: it goes first, before list_.
    hide();
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    delete model_;
}

void NameMapWindow::run(const RowCommand& command) {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid()) {
        return;
    }
    if (command(*list_, static_cast<std::size_t>(current.row()))) {
        listReread();
    }
}

void NameMapWindow::listReread() {
    const int row = table_->currentIndex().isValid() ? table_->currentIndex().row() : 0;
    model_->reset();
    summary_->setText(QString::fromStdString(list_->summaryLine()));
    if (model_->rowCount() > 0) {
        table_->setCurrentIndex(model_->index(std::min(row, model_->rowCount() - 1), 0));
    }
    showButtons();
}

void NameMapWindow::showButtons() {
    const QModelIndex current = table_->currentIndex();
    const auto row = static_cast<std::size_t>(current.isValid() ? current.row() : 0);
    changeButton_->setEnabled(current.isValid() && list_->canChange(row));
    removeButton_->setEnabled(current.isValid() && row < list_->rowCount());
}

}  // namespace vantrell
