#include "shell/qt/NameChoiceDialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/qt/DialogFont.h"
#include "shell/qt/Twips.h"

namespace vantrell {

NameChoiceDialog::NameChoiceDialog(NameChoice& choice, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      choice_(choice) {
    setObjectName("frmNameChoice");
    setWindowTitle(NameChoice::kCaption);
    setModal(true);
    setFont(dialogFont());
    // OK runs the activation itself; the return to the main window must not run it again.
    setProperty("returnsQuietly", true);

    auto* prompt = new QLabel(QString::fromStdString(choice_.prompt()), this);
    prompt->setObjectName("lblPrompt");
    prompt->setWordWrap(true);
    auto* filterLabel = new QLabel("&Filter:", this);
    filter_ = new QLineEdit(QString::fromStdString(choice_.filter()), this);
    filter_->setObjectName("txtFilter");
    filterLabel->setBuddy(filter_);
    filter_->installEventFilter(this);
    auto* namesLabel = new QLabel("&QuickBooks names:", this);
    names_ = new QListWidget(this);
    names_->setObjectName("lstNames");
    namesLabel->setBuddy(names_);

    ok_ = new QPushButton("OK", this);
    ok_->setObjectName("cmdOK");
    ok_->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cmdCancel");
    for (auto* button : {ok_, cancel}) {
        button->setMinimumWidth(twipsToPixels(1095, *this));
    }

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filter_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(filterRow);
    layout->addWidget(namesLabel);
    layout->addWidget(names_, 1);
    layout->addLayout(buttons);
    setTabOrder(filter_, names_);
    setTabOrder(names_, ok_);
    setTabOrder(ok_, cancel);

    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        choice_.setFilter(text.toStdString());
        showChoices();
    });
    connect(names_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (filling_) {
            return;
        }
        choice_.select(row < 0 ? std::nullopt : std::optional<std::size_t>(row));
        ok_->setEnabled(choice_.okEnabled());
    });
    connect(names_, &QListWidget::itemDoubleClicked, this, [this] { okClicked(); });
    connect(ok_, &QPushButton::clicked, this, [this] { okClicked(); });
    connect(cancel, &QPushButton::clicked, this, &NameChoiceDialog::reject);

    showChoices();
    filter_->setFocus();
    resize(twipsToPixels(4800, *this), twipsToPixels(4200, *this));
    if (owner != nullptr) {
        move(owner->window()->geometry().center() - rect().center());
    }
}

void NameChoiceDialog::showChoices() {
    filling_ = true;
    names_->clear();
    for (const std::string& text : choice_.choiceTexts()) {
        auto* item = new QListWidgetItem(QString::fromStdString(text), names_);
        item->setToolTip(item->text());
    }
    const std::optional<std::size_t> selected = choice_.selectedChoice();
    names_->setCurrentRow(selected ? static_cast<int>(*selected) : -1);
    filling_ = false;
    ok_->setEnabled(choice_.okEnabled());
}

void NameChoiceDialog::okClicked() {
    choice_.okClicked();
    if (choice_.closed()) {
        accept();
    }
}

void NameChoiceDialog::reject() {
    choice_.cancelClicked();
    QDialog::reject();
}

bool NameChoiceDialog::eventFilter(QObject* watched, QEvent* event) {
    // The names are chosen from the filter box without leaving it.
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
            key == Qt::Key_PageDown) {
            QKeyEvent copy(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(names_, &copy);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void QtNameChoiceHost::showModal(NameChoice& choice) {
    NameChoiceDialog dialog(choice, owner_);
    dialog.exec();
}

}  // namespace vantrell
