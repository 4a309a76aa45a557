#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "diag/FileSystem.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/modDataDef.h"
#include "shell/ChronelFixture.h"
#include "shell/QtTestSupport.h"
#include "shell/ShellFakes.h"
#include "shell/qt/HistoryWindow.h"
#include "shell/qt/MainWindow.h"
#include "standins/ProcessorChoice.h"
#include "support/DemoCompany.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

using testing::clearPendingExit;
using testing::settle;
constexpr auto column = testing::columnTexts;
using testing::kListMenuTexts;

// Answers the undo's question from a list, No once the list is empty; keeps what was asked.
struct ScriptedAnswers final : YesNoQuestion {
    std::vector<bool> answers;
    std::vector<std::string> asked;
    bool ask(const std::string& text, const std::string& title) override {
        asked.push_back(title + ": " + text);
        if (answers.empty()) {
            return false;
        }
        const bool yes = answers.front();
        answers.erase(answers.begin());
        return yes;
    }
};

QStringList lines(QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

// The history in the Qt window, over a company file of the stand-in accounting system: an
// export is shown with its tickets, saved as a receipt and undone there.
struct QtHistoryFixture : ::testing::Test {
    testing::TestLog t;
    ProgramState state;
    testing::MemorySettings settings;
    testing::SaveAnswers saveAnswers;
    ScriptedAnswers question;
    std::string company;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        clearPendingExit();
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state.interfaceDb));
        const std::string chronel = pathToUtf8(t.sandbox.file("ChronelV7.mde"));
        testing::writeSmallChronelFile(chronel, "Worker One");
        {
            db::Connection cn;
            cn.open(db::connectionStringFor(chronel));
            cn.execute(
                "INSERT INTO REPORTDATA VALUES ('=Zo\xC3\xAB, Abel', '2026-03-02', 7.5, "
                "1.25, 0, NULL, 0)");
        }
        company = pathToUtf8(t.sandbox.file("Company.qbw"));
        testing::runQbsimChecked({"create", company});
        testing::runQbsimChecked({"add-employee", company, "Worker One", "=Zo\xC3\xAB, Abel"});
        testing::runQbsimChecked({"add-wage-item", company, "Hourly", "Overtime"});
        settings.SaveSetting("CH7", "QuickBooks", "CHprog", chronel);
        settings.SaveSetting("CH7", "QuickBooks", "QBdata", company);
        window = std::make_unique<MainWindow>(t.log, state, settings, processorFactoryFor("sim"));
        window->setFileSaveDialog(saveAnswers);
        window->setYesNoQuestion(question);
    }

    void TearDown() override {
        if (window) {
            window->close();
        }
        clearPendingExit();
    }

    // Opens the list's context menu with the menu key and picks "Export history…" by its
    // access key; the menu's texts are collected.
    QStringList historyFromListMenu() { return testing::pickFromListMenu(*window, Qt::Key_H); }
};

TEST_F(QtHistoryFixture, AnExportIsShownSavedAsAReceiptAndUndoneWithTheListMadeCurrent) {
    ASSERT_TRUE(window->load());
    window->showCentred();
    settle();
    auto* list = window->findChild<QListWidget*>("lstShow");
    const QStringList beforeExport = lines(list);
    auto* exportButton = window->findChild<QPushButton*>("cmdExport");
    ASSERT_TRUE(exportButton->isEnabled()) << beforeExport.join("\n").toStdString();
    exportButton->click();
    settle();
    ASSERT_EQ(testing::runQbsimChecked({"list-time", company}).empty(), false);

    EXPECT_EQ(historyFromListMenu(), kListMenuTexts);
    auto* history = window->findChild<HistoryWindow*>("frmHistory");
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(history->isVisible());
    EXPECT_EQ(history->windowTitle(), "Export history");

    auto* exports = history->findChild<QTableView*>("tblExports");
    EXPECT_EQ(column(exports, 0), QStringList{"1"});
    EXPECT_EQ(column(exports, 3), QStringList{QString::fromStdString(company)});
    EXPECT_EQ(column(exports, 4), QStringList{"3"});
    // The newest export is selected: its tickets, their states and totals.
    auto* tickets = history->findChild<QTableView*>("tblTickets");
    const QString zoe = QString::fromUtf8("=Zo\xC3\xAB, Abel");
    EXPECT_EQ(column(tickets, 0), (QStringList{zoe, zoe, "Worker One"}));
    EXPECT_EQ(column(tickets, 5), (QStringList{"posted", "posted", "posted"}));
    for (const QString& txnId : column(tickets, 4)) {
        EXPECT_FALSE(txnId.isEmpty());
    }
    auto* totals = history->findChild<QTableView*>("tblTotals");
    EXPECT_EQ(column(totals, 3).last(), "16.75");
    EXPECT_TRUE(history->findChild<QLabel*>("lblReceipt")
                    ->text()
                    .contains("3 time tickets in QuickBooks now, 16.75 hours."));

    if (const char* folder = std::getenv("VANTRELL_SCREENSHOT_DIR")) {
        history->grab().save(QString::fromLocal8Bit(folder) + "/history-qt.png");
    }

    // Save as CSV…: the receipt, with the name no spreadsheet runs as a formula.
    const std::string path = pathToUtf8(t.sandbox.file("Receipt.csv"));
    saveAnswers.answers.push_back(path);
    history->findChild<QPushButton*>("cmdSaveCsv")->click();
    EXPECT_EQ(saveAnswers.suggested, std::vector<std::string>{"Export 1.csv"});
    const std::string csv = t.sandbox.read("Receipt.csv");
    // The tickets in the order they were sent: the journal's, as the stage had them.
    EXPECT_TRUE(
        csv.starts_with("\xEF\xBB\xBF"
                        "Employee,Date,Wage item,Hours,TxnID,State,Message\r\n"
                        "\"'=Zo\xC3\xAB, Abel\",2026-03-02,Hourly,7.5,"))
        << csv;
    EXPECT_NE(csv.find("\r\nWorker One,2026-03-02,Hourly,8,"), std::string::npos) << csv;

    // Undo export…: No first changes nothing; Yes deletes the tickets with the hourglass, shows
    // what happened and runs the activation, which stages the tickets again.
    auto* undo = history->findChild<QPushButton*>("cmdUndo");
    ASSERT_TRUE(undo->isEnabled());
    undo->click();
    settle();
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(question.asked[0],
              "Export history: Undo export 1? This deletes its 3 time tickets "
              "(16.75 hours) from the company file \"" +
                  company + "\".");
    EXPECT_FALSE(testing::runQbsimChecked({"list-time", company}).empty());

    question.answers = {true};
    undo->click();
    settle();
    EXPECT_EQ(testing::runQbsimChecked({"list-time", company}), "");
    EXPECT_EQ(lines(history->findChild<QListWidget*>("lstOutcome")),
              QStringList{"Export 1: 3 time tickets deleted in QuickBooks."});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(column(exports, 5), QStringList{"3"});  // undone
    EXPECT_EQ(column(tickets, 5), (QStringList{"undone", "undone", "undone"}));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(lines(list), beforeExport);
    EXPECT_TRUE(exportButton->isEnabled());
    EXPECT_TRUE(t.prompter.shown.empty());

    // Esc closes the history.
    QTest::keyClick(exports, Qt::Key_Escape);
    settle();
    EXPECT_EQ(window->findChild<HistoryWindow*>("frmHistory"), nullptr);
}

TEST_F(QtHistoryFixture, AnEmptyJournalOpensAnEmptyHistoryWithNothingToUndo) {
    ASSERT_TRUE(window->load());
    window->showCentred();
    settle();
    HistoryWindow* history = window->showHistory();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->findChild<QTableView*>("tblExports")->model()->rowCount(), 0);
    EXPECT_EQ(history->findChild<QTableView*>("tblTickets")->model()->rowCount(), 0);
    EXPECT_FALSE(history->findChild<QPushButton*>("cmdUndo")->isEnabled());
    EXPECT_FALSE(history->findChild<QPushButton*>("cmdSaveCsv")->isEnabled());
    history->findChild<QPushButton*>("cmdClose")->click();
    settle();
}

}  // namespace
}  // namespace vantrell
