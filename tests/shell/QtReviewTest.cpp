#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <iostream>

#include "diag/FileSystem.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/modDataDef.h"
#include "qblink/FakeRequestProcessor.h"
#include "shell/ChronelFixture.h"
#include "shell/QtTestSupport.h"
#include "shell/ShellFakes.h"
#include "shell/qt/DialogFont.h"
#include "shell/qt/MainWindow.h"
#include "shell/qt/ReviewWindow.h"
#include "shell/qt/TicketTableModel.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

using testing::clearPendingExit;
using testing::settle;
constexpr auto column = testing::columnTexts;
const std::string& kBothKnown = testing::kWorkerOneAndHourlyKnown;
using testing::kListMenuTexts;

struct QtReviewFixture : ::testing::Test {
    testing::TestLog t;
    ProgramState state;
    testing::MemorySettings settings;
    testing::ProcessorScript processor;
    testing::SaveAnswers saveAnswers;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        clearPendingExit();
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state.interfaceDb));
        const std::string chronel = t.sandbox.file("ChronelV7.mde").string();
        testing::writeSmallChronelFile(chronel, "Worker One");
        t.sandbox.write("Company.qbw", "company");
        settings.SaveSetting("CH7", "QuickBooks", "CHprog", chronel);
        settings.SaveSetting("CH7", "QuickBooks", "QBdata", t.sandbox.file("Company.qbw").string());
        window = std::make_unique<MainWindow>(t.log, state, settings, processor.factory());
        window->setFileSaveDialog(saveAnswers);
    }

    void TearDown() override {
        if (window) {
            window->close();
        }
        clearPendingExit();
    }

    // Opens the list's context menu with `key` and picks "Review staged tickets…" by its
    // access key; the menu's texts are collected.
    QStringList reviewFromListMenu(Qt::Key key = Qt::Key_Menu,
                                   Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        return testing::pickFromListMenu(*window, Qt::Key_R, key, modifiers);
    }
};

// A click on a column's title, as the mouse makes it.
void clickTitle(QTableView* view, int section) {
    QHeaderView* header = view->horizontalHeader();
    const int x = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

TEST_F(QtReviewFixture, TheListsMenuOpensTheReviewWhichSortsSavesAndClosesOnEsc) {
    {
        db::Connection cn;
        cn.open(db::connectionStringFor(t.sandbox.file("ChronelV7.mde").string()));
        cn.execute(
            "INSERT INTO REPORTDATA VALUES ('Zo\xC3\xAB \xC3\x82"
            "bel', '2026-03-02', 7.5, 1.25, 0, NULL, 0)");
    }
    processor.responses = {kBothKnown};
    ASSERT_TRUE(window->load());
    window->showCentred();
    settle();
    const int requests = static_cast<int>(processor.requests.size());
    // The main window's list is as it was; each line is its own tooltip.
    auto* list = window->findChild<QListWidget*>("lstShow");
    ASSERT_GT(list->count(), 0);
    for (int i = 0; i < list->count(); ++i) {
        const QString text = list->item(i)->text();
        EXPECT_EQ(list->item(i)->toolTip(), text);
    }

    EXPECT_EQ(reviewFromListMenu(), kListMenuTexts);
    auto* review = window->findChild<ReviewWindow*>("frmReview");
    ASSERT_NE(review, nullptr);
    EXPECT_TRUE(review->isVisible());
    EXPECT_EQ(review->windowTitle(), "Review staged tickets");
    EXPECT_EQ(review->font(), dialogFont());
    const QString summary = review->findChild<QLabel*>("lblSummary")->text();
    EXPECT_TRUE(summary.startsWith("3 time tickets are staged, 16.75 hours in all.\nThe check "))
        << summary.toStdString();

    auto* tickets = review->findChild<QTableView*>("tblTickets");
    ASSERT_NE(tickets, nullptr);
    const QString zoe = QString::fromUtf8("Zo\xC3\xAB \xC3\x82") + "bel";
    EXPECT_EQ(column(tickets, 0), (QStringList{"Worker One", zoe, zoe}));
    EXPECT_EQ(column(tickets, 1), (QStringList{"2026-03-02", "2026-03-02", "2026-03-02"}));
    EXPECT_EQ(column(tickets, 3), (QStringList{"8", "7.5", "1.25"}));
    auto* totals = review->findChild<QTableView*>("tblTotals");
    EXPECT_EQ(column(totals, 0),
              (QStringList{"Employee", "Employee", "Wage item", "Wage item", "All tickets"}));
    EXPECT_EQ(column(totals, 3), (QStringList{"8.00", "8.75", "15.50", "1.25", "16.75"}));

    // A click on the title Hours sorts by it; the next, the other way.
    clickTitle(tickets, 3);
    const QStringList once = column(tickets, 3);
    clickTitle(tickets, 3);
    EXPECT_TRUE((once == QStringList{"1.25", "7.5", "8"} &&
                 column(tickets, 3) == QStringList{"8", "7.5", "1.25"}) ||
                (once == QStringList{"8", "7.5", "1.25"} &&
                 column(tickets, 3) == QStringList{"1.25", "7.5", "8"}))
        << once.join(",").toStdString();
    if (column(tickets, 3).front() != "1.25") {
        clickTitle(tickets, 3);
    }

    // Tab order: tickets, totals, Save as CSV…, Close.
    QStringList order;
    QWidget* w = tickets;
    for (int i = 0; i < 200 && order.size() < 4; ++i, w = w->nextInFocusChain()) {
        const QString name = w->objectName();
        if ((name.startsWith("tbl") || name.startsWith("cmd")) && !order.contains(name) &&
            w->window() == review) {
            order << w->objectName();
        }
    }
    EXPECT_EQ(order.join(",").toStdString(), "tblTickets,tblTotals,cmdSaveCsv,cmdClose");

    // scripts/screenshots.sh keeps an image of the review for the README.
    if (const char* folder = std::getenv("VANTRELL_SCREENSHOT_DIR")) {
        review->grab().save(QString::fromLocal8Bit(folder) + "/review-qt.png");
    }

    // Save as CSV…, through the file-save dialog.
    const std::string path = pathToUtf8(t.sandbox.file("Staged.csv"));
    saveAnswers.answers.push_back(path);
    review->findChild<QPushButton*>("cmdSaveCsv")->click();
    EXPECT_EQ(t.sandbox.read("Staged.csv"),
              "\xEF\xBB\xBF"
              "Employee,Date,Wage item,Hours\r\n"
              "Zo\xC3\xAB \xC3\x82"
              "bel,2026-03-02,Overtime,1.25\r\n"
              "Zo\xC3\xAB \xC3\x82"
              "bel,2026-03-02,Hourly,7.5\r\n"
              "Worker One,2026-03-02,Hourly,8\r\n");

    // From the keyboard: the table's menu sorts by a column (E: Employee).
    QTimer::singleShot(50, [] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            QTest::keyClick(menu, Qt::Key_E);
        }
    });
    tickets->setFocus();
    QTest::keyClick(tickets, Qt::Key_Menu);
    settle();
    EXPECT_EQ(column(tickets, 0), (QStringList{"Worker One", zoe, zoe}));
    EXPECT_EQ(tickets->horizontalHeader()->sortIndicatorSection(), 0);

    // Esc closes the review; going back to the main window stages nothing again.
    QTest::keyClick(tickets, Qt::Key_Escape);
    settle();
    EXPECT_EQ(window->findChild<ReviewWindow*>("frmReview"), nullptr);
    window->activateWindow();
    settle();
    EXPECT_EQ(static_cast<int>(processor.requests.size()), requests);
    EXPECT_TRUE(t.prompter.shown.empty());

    // Shift+F10 opens the same menu.
    EXPECT_EQ(reviewFromListMenu(Qt::Key_F10, Qt::ShiftModifier), kListMenuTexts);
    review = window->findChild<ReviewWindow*>("frmReview");
    ASSERT_NE(review, nullptr);
    review->findChild<QPushButton*>("cmdClose")->click();
    settle();
    EXPECT_EQ(window->findChild<ReviewWindow*>("frmReview"), nullptr);
}

TEST_F(QtReviewFixture, AClickOnAColumnsTitleSortsAndAgainReversesTheOrder) {
    std::vector<TicketRow> rows;
    for (const char* name : {"b", "C", "a"}) {
        TicketRow row;
        row.employee = name;
        rows.push_back(row);
    }
    TicketTable table(kStagedTicketColumns, rows);
    TicketTableModel model(table);
    QTableView view;
    view.setModel(&model);
    view.horizontalHeader()->setSortIndicatorShown(true);
    view.horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    QObject::connect(view.horizontalHeader(), &QHeaderView::sortIndicatorChanged, &model,
                     [&](int c, Qt::SortOrder order) { model.sort(c, order); });
    view.resize(600, 300);
    view.show();
    settle();
    clickTitle(&view, 0);
    const QStringList first = column(&view, 0);
    clickTitle(&view, 0);
    const QStringList second = column(&view, 0);
    // One click sorts one way, the next the other, whichever way the style starts.
    EXPECT_TRUE((first == QStringList{"a", "b", "C"} && second == QStringList{"C", "b", "a"}) ||
                (first == QStringList{"C", "b", "a"} && second == QStringList{"a", "b", "C"}))
        << first.join(",").toStdString() << " / " << second.join(",").toStdString();
}

// A figure, not a limit: how long the review of 200,000 staged tickets takes to build and show.
TEST(QtReviewBenchmark, TwoHundredThousandTicketsOpenAtOnce) {
    testing::TestLog t;
    InterfaceDatabase interfaceDb;
    ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, interfaceDb));
    ASSERT_TRUE(blnOpenConnection(t.log, interfaceDb.cnInterface, interfaceDb.strInterfaceDB));
    db::Connection& cn = *interfaceDb.cnInterface;
    cn.execute("begin");
    cn.execute(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 200000) "
        "insert into Punch (Sequence, Name, Date, Hours, PayType, Posted) select i, "
        "'Worker ' || (i % 500), '2026-03-02 00:00:00', 7.5, 'Hourly', 0 from n");
    cn.execute("commit");

    testing::SaveAnswers saveAnswers;
    QElapsedTimer timer;
    timer.start();
    auto review = std::make_unique<StageReview>(cn, QuickBooksLink::PostedCheck{true, 0, {}});
    const qint64 read = timer.elapsed();
    ReviewWindow window(std::move(review), t.log, saveAnswers, nullptr);
    window.show();
    QApplication::processEvents();
    const qint64 shown = timer.elapsed();
    auto* tickets = window.findChild<QTableView*>("tblTickets");
    tickets->sortByColumn(0, Qt::AscendingOrder);
    QApplication::processEvents();
    const qint64 sorted = timer.elapsed();
    EXPECT_EQ(tickets->model()->rowCount(), 200000);
    std::cout << "[ FIGURE   ] review of 200,000 tickets: read " << read << " ms, shown " << shown
              << " ms, sorted by employee " << sorted - shown << " ms\n";
}

}  // namespace
}  // namespace vantrell
