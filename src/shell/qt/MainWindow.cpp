#include "shell/qt/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "diag/Failure.h"
#include "shell/qt/DialogFont.h"
#include "shell/qt/HistoryWindow.h"
#include "shell/qt/KeyboardContextMenu.h"
#include "shell/qt/NameMapWindow.h"
#include "shell/qt/ReviewWindow.h"
#include "shell/qt/Twips.h"
#include "shell/window/MapNameCommand.h"
#include "shell/window/UndoExportCommand.h"
#include "shell/window/modVantrellMain.h"

namespace vantrell {

void QtWindowPrinter::printWindowImage() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        throw Failure("No default printer is installed.");
    }
    if (window_ == nullptr) {
        throw Failure("There is no window to print.");
    }
    const QPixmap image = window_->grab();
    QPrinter printer(info, QPrinter::HighResolution);
    QPainter painter;
    if (!painter.begin(&printer)) {
        throw Failure("The printer " + info.printerName().toStdString() + " could not be used.");
    }
    const QRect page = painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(page.topLeft(), size), image);
    if (!painter.end()) {
        throw Failure("Printing on " + info.printerName().toStdString() + " failed.");
    }
}

ActivationTracker& ActivationTracker::instance() {
    static ActivationTracker* tracker = [] {
        auto* t = new ActivationTracker;
        qApp->installEventFilter(t);
        return t;
    }();
    return *tracker;
}

bool ActivationTracker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowActivate && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && qobject_cast<QMessageBox*>(widget) == nullptr &&
            qobject_cast<QMenu*>(widget) == nullptr &&
            !widget->property("returnsQuietly").toBool() &&
            dynamic_cast<MainWindow*>(widget) == nullptr) {
            lastActive_ = widget;
        }
    }
    return false;
}

MainWindow::MainWindow(modErrorLog& log, ProgramState& state, SettingsStore& settings,
                       RequestProcessorFactory processorFactory)
    // A tool window, which the window system leaves off the task bar, as the Win32 window
    // with its hidden owner.
    : QDialog(nullptr, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      lstShow_(new QListWidget(this)),
      cmdClose_(new QPushButton("&Close", this)),
      cmdExport_(new QPushButton("&Export", this)),
      cmdPrint_(new QPushButton("&Print Screen", this)),
      // The locate dialogs of the load belong to this window although it is not shown yet:
      // no task-bar entry of their own, centred on it.
      locateHost_(this),
      log_(log),
      state_(state) {
    setObjectName("frmVantrell");
    setWindowTitle(frmVantrell::kCaption);
    setFont(dialogFont());
    setFixedSize(twipsToPixels(4770, *this), twipsToPixels(5115, *this));
    setAttribute(Qt::WA_DeleteOnClose, false);

    lstShow_->setObjectName("lstShow");
    lstShow_->setGeometry(twipsRect(120, 120, 4455, 4155, *this));
    cmdClose_->setObjectName("cmdClose");
    cmdClose_->setGeometry(twipsRect(120, 4440, 1095, 495, *this));
    cmdExport_->setObjectName("cmdExport");
    cmdExport_->setGeometry(twipsRect(1800, 4440, 1095, 495, *this));
    cmdPrint_->setObjectName("cmdPrint");
    cmdPrint_->setGeometry(twipsRect(3480, 4440, 1095, 495, *this));
    setTabOrder(lstShow_, cmdClose_);
    setTabOrder(cmdClose_, cmdExport_);
    setTabOrder(cmdExport_, cmdPrint_);
    for (auto* button : {cmdClose_, cmdExport_, cmdPrint_}) {
        button->setAutoDefault(false);
    }

    printer_.setWindow(this);
    steps_ = std::make_unique<MainWindowSteps>(
        log, state,
        MainWindowServices{*this, settings, locateHost_, fileDialog_, printer_,
                           std::move(processorFactory)},
        [this](int status) {
            hide();
            QCoreApplication::exit(status);
        });

    // The list's context menu (right click, the menu key, Shift+F10) holds the commands that
    // have no button of their own.
    new KeyboardContextMenu(lstShow_, [this](const QPoint& position) { showListMenu(position); });
    connect(cmdClose_, &QPushButton::clicked, this, [this] { close(); });
    connect(cmdExport_, &QPushButton::clicked, this, [this] { steps_->exportClicked(); });
    connect(cmdPrint_, &QPushButton::clicked, this, [this] { steps_->printClicked(); });
    ActivationTracker::instance();
}

MainWindow::~MainWindow() = default;

bool MainWindow::load() {
    // Placed before the load, so that a locate dialog centred on it is centred on the screen.
    centreOnScreen();
    return steps_->load();
}

void MainWindow::centreOnScreen() {
    const QRect screen = this->screen()->availableGeometry();
    move(screen.center() - QPoint(width() / 2, height() / 2));
}

void MainWindow::showCentred() {
    centreOnScreen();
    show();
    raise();
    activateWindow();
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        // Deferred, so that the window is painted before the extraction runs.
        QTimer::singleShot(0, this, [this] { activateIfDue(); });
    }
    return QDialog::event(event);
}

void MainWindow::activateIfDue() {
    ActivationTracker& tracker = ActivationTracker::instance();
    if (!steps_->activationDue(tracker.lastActive() != nullptr)) {
        return;  // back from another application or from a message box
    }
    tracker.setLastActive(nullptr);
    steps_->activate();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // QDialog would reject() on Esc and hide the window without the unload sequence; Esc does
    // nothing here, as in the Win32 window. Close and the close box end the program.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    steps_->close();
    event->accept();
    // A tool window's close does not end the program by itself, as the last window's would.
    // (exit, not quit: quit would first try to close this window again.) An end ordered
    // during the close keeps its status, which the front end takes from endStatus().
    QCoreApplication::exit(kExitNormal);
}

void MainWindow::showListMenu(const QPoint& position) {
    QMenu menu(this);
    menu.setObjectName("mnuList");
    QAction* review = menu.addAction("&Review staged tickets\u2026");
    review->setObjectName("mnuReview");
    connect(review, &QAction::triggered, this, [this] { showReview(); });
    QAction* history = menu.addAction("Export &history\u2026");
    history->setObjectName("mnuHistory");
    connect(history, &QAction::triggered, this, [this] { showHistory(); });
    menu.addSeparator();
    // The line the menu is about: the one clicked, or for a key the current one.
    const QModelIndex at = lstShow_->indexAt(position);
    const int line = at.isValid() ? at.row() : lstShow_->currentRow();
    QAction* map = menu.addAction("&Map to a QuickBooks name\u2026");
    map->setObjectName("mnuMapName");
    map->setEnabled(line >= 0 && mapNameApplies(*steps_, static_cast<std::size_t>(line)));
    // After the menu has closed: the dialog is modal, and the menu's own loop must not hold it.
    connect(map, &QAction::triggered, this, [this, line] {
        QTimer::singleShot(0, this, [this, line] { mapName(static_cast<std::size_t>(line)); });
    });
    QAction* nameMap = menu.addAction("&Name map\u2026");
    nameMap->setObjectName("mnuNameMap");
    connect(nameMap, &QAction::triggered, this, [this] { showNameMap(); });
    menu.exec(lstShow_->viewport()->mapToGlobal(position));
}

ReviewWindow* MainWindow::showReview() {
    std::unique_ptr<StageReview> review = openStageReview(log_, state_, logic().link());
    if (!review) {
        return nullptr;
    }
    auto* window = new ReviewWindow(std::move(review), log_, *saveDialog_, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->open();
    return window;
}

HistoryWindow* MainWindow::showHistory() {
    std::unique_ptr<ExportHistory> history = openExportHistory(log_, state_);
    if (!history) {
        return nullptr;
    }
    auto* window = new HistoryWindow(
        std::move(history), log_, *saveDialog_,
        [this](ExportHistory& shown) {
            return runUndoExportCommand(log_, shown, *question_, *steps_, *this);
        },
        this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->open();
    return window;
}

bool MainWindow::mapName(std::size_t line) {
    return runMapNameCommand(log_, state_, *steps_, *this, *choiceHost_, line);
}

NameMapWindow* MainWindow::showNameMap() {
    std::unique_ptr<NameMapList> list = openNameMapList(log_, state_);
    if (!list) {
        return nullptr;
    }
    auto* window = new NameMapWindow(
        std::move(list),
        [this](NameMapList& shown, std::size_t row) {
            return runChangeMapEntryCommand(log_, *steps_, *this, *choiceHost_, shown, row);
        },
        [this](NameMapList& shown, std::size_t row) {
            return runRemoveMapEntryCommand(log_, *steps_, *question_, shown, row);
        },
        this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->open();
    return window;
}

void MainWindow::clearList() {
    lstShow_->clear();
}

void MainWindow::addListLine(const std::string& line) {
    auto* item = new QListWidgetItem(QString::fromStdString(line), lstShow_);
    // A line wider than the list (a hint, the accounting system's message) is read whole here.
    if (!line.empty()) {
        item->setToolTip(item->text());
    }
}

void MainWindow::setButtonEnabled(WindowButton button, bool enabled) {
    switch (button) {
        case WindowButton::Close:
            cmdClose_->setEnabled(enabled);
            break;
        case WindowButton::Export:
            cmdExport_->setEnabled(enabled);
            break;
        case WindowButton::Print:
            cmdPrint_->setEnabled(enabled);
            break;
    }
}

void MainWindow::setMousePointer(MousePointer pointer) {
    if (pointer == MousePointer::Hourglass) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        while (QGuiApplication::overrideCursor() != nullptr) {
            QGuiApplication::restoreOverrideCursor();
        }
    }
}

}  // namespace vantrell
