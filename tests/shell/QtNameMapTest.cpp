#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>

#include "diag/FileSystem.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/stage/NameMap.h"
#include "shell/ChronelFixture.h"
#include "shell/QtTestSupport.h"
#include "shell/ShellFakes.h"
#include "shell/qt/DialogFont.h"
#include "shell/qt/MainWindow.h"
#include "shell/qt/NameChoiceDialog.h"
#include "shell/qt/NameMapWindow.h"
#include "standins/ProcessorChoice.h"
#include "support/DemoCompany.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

struct YesAnswers final : YesNoQuestion {
    std::vector<std::string> asked;
    bool ask(const std::string& text, const std::string& title) override {
        asked.push_back(title + ": " + text);
        return true;
    }
};

QStringList lines(QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

using testing::clearPendingExit;
using testing::settle;
constexpr auto column = testing::columnTexts;

// Runs `act` on the name-choice dialog as soon as it is shown (it runs modally).
void whenChoiceShown(std::function<void(NameChoiceDialog*)> act) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = dynamic_cast<NameChoiceDialog*>(widget);
            if (dialog != nullptr && dialog->isVisible()) {
                poll->stop();
                poll->deleteLater();
                act(dialog);
                return;
            }
        }
    });
    poll->start(20);
}

// The name map in the Qt windows, over a company file of the stand-in accounting system that
// lacks the employee "Bob Jones" (it has "Jones, Bob" and "Robert Jones").
struct QtNameMapFixture : ::testing::Test {
    testing::TestLog t;
    ProgramState state;
    testing::MemorySettings settings;
    YesAnswers question;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        clearPendingExit();
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state.interfaceDb));
        const std::string chronel = pathToUtf8(t.sandbox.file("ChronelV7.mde"));
        testing::writeSmallChronelFile(chronel, "Bob Jones");
        const std::string company = pathToUtf8(t.sandbox.file("Company.qbw"));
        testing::writeCloseNamesCompany(company, "Hourly");
        settings.SaveSetting("CH7", "QuickBooks", "CHprog", chronel);
        settings.SaveSetting("CH7", "QuickBooks", "QBdata", company);
        window = std::make_unique<MainWindow>(t.log, state, settings, processorFactoryFor("sim"));
        window->setYesNoQuestion(question);
    }

    void TearDown() override {
        if (window) {
            window->close();
        }
        clearPendingExit();
    }

    void showWindow() {
        ASSERT_TRUE(window->load());
        window->showCentred();
        settle();
    }

    QListWidget* list() { return window->findChild<QListWidget*>("lstShow"); }

    // Opens the list's menu with the menu key on line `row` and, unless `key` is 0, picks the
    // command of that access key; returns whether "Map to a QuickBooks name…" was enabled.
    bool listMenuOn(int row, Qt::Key key) {
        bool mapEnabled = false;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) {
                return;
            }
            mapEnabled = menu->findChild<QAction*>("mnuMapName")->isEnabled();
            QTest::keyClick(menu, key == 0 ? Qt::Key_Escape : key);
        });
        list()->setFocus();
        list()->setCurrentRow(row);
        QTest::keyClick(list(), Qt::Key_Menu);
        settle();
        return mapEnabled;
    }

    std::vector<std::string> mapRows() {
        std::vector<std::string> rows;
        for (const stage::NameMapEntry& entry :
             stage::readNameMap(*state.interfaceDb.cnInterface)) {
            rows.push_back(entry.chronelName + " -> " + entry.quickBooksName);
        }
        return rows;
    }
};

TEST_F(QtNameMapFixture, TheHintsLineOpensTheChoiceWhichFiltersAndStoresTheNameOnEnter) {
    showWindow();
    EXPECT_EQ(lines(list()), (QStringList{"Missing Employee Bob Jones",
                                          "  QuickBooks has a close name: Jones, Bob", "",
                                          "There are 1 issues requiring resolution."}));
    EXPECT_FALSE(listMenuOn(3, Qt::Key(0)));

    QStringList shown;
    QStringList filtered;
    QString prompt;
    bool sameFont = false;
    whenChoiceShown([&](NameChoiceDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Map to a QuickBooks name");
        sameFont = dialog->font() == dialogFont();
        prompt = dialog->findChild<QLabel*>("lblPrompt")->text();
        auto* names = dialog->findChild<QListWidget*>("lstNames");
        shown = lines(names);
        auto* filter = dialog->findChild<QLineEdit*>("txtFilter");
        EXPECT_TRUE(filter->hasFocus());
        if (const char* folder = std::getenv("VANTRELL_SCREENSHOT_DIR")) {
            dialog->grab().save(QString::fromLocal8Bit(folder) + "/name-map-qt.png");
        }
        QTest::keyClicks(filter, "ROB");
        filtered = lines(names);
        QTest::keyClick(filter, Qt::Key_Return);
    });
    EXPECT_TRUE(listMenuOn(1, Qt::Key_M));
    settle();

    EXPECT_EQ(prompt, "Stage the employee Bob Jones as this QuickBooks employee:");
    EXPECT_TRUE(sameFont);
    EXPECT_EQ(shown, (QStringList{"Jones, Bob (close name)", "Robert Jones", "Worker One",
                                  "Bobby Jones (inactive)"}));
    EXPECT_EQ(filtered, QStringList{"Robert Jones"});
    EXPECT_EQ(mapRows(), std::vector<std::string>{"Bob Jones -> Robert Jones"});
    // The activation ran again: nothing is missing now.
    EXPECT_EQ(lines(list()), QStringList{"Click Export to post your time tickets in QuickBooks."});
    EXPECT_TRUE(window->findChild<QPushButton*>("cmdExport")->isEnabled());
}

TEST_F(QtNameMapFixture, EscInTheChoiceChangesNothing) {
    showWindow();
    whenChoiceShown([](NameChoiceDialog* dialog) {
        QTest::keyClick(dialog->findChild<QLineEdit*>("txtFilter"), Qt::Key_Escape);
    });
    EXPECT_FALSE(window->mapName(0));
    settle();
    EXPECT_TRUE(mapRows().empty());
    EXPECT_EQ(lines(list()).front(), "Missing Employee Bob Jones");
}

TEST_F(QtNameMapFixture, TheNameMapWindowShowsChangesAndRemovesEntriesAndClosesOnEsc) {
    {
        db::Connection cn;
        cn.open(db::connectionStringFor(state.interfaceDb.strInterfaceDB));
        stage::storeNameMapping(cn, stage::NameKind::Employee, "Bob Jones", "Robrt Jones");
        stage::storeNameMapping(cn, stage::NameKind::Employee, "Badge 7", "Robrt Jones");
    }
    showWindow();
    EXPECT_EQ(lines(list()).front(), "Missing Employee Robrt Jones");
    listMenuOn(0, Qt::Key_N);
    QPointer<NameMapWindow> mapWindow = window->findChild<NameMapWindow*>("frmNameMap");
    ASSERT_FALSE(mapWindow.isNull());
    EXPECT_EQ(mapWindow->windowTitle(), "Name map");
    auto* table = mapWindow->findChild<QTableView*>("tblNameMap");
    EXPECT_EQ(column(table, 1), (QStringList{"Badge 7", "Bob Jones"}));
    EXPECT_EQ(column(table, 3), (QStringList{"Shares Robrt Jones with Bob Jones",
                                             "Shares Robrt Jones with Badge 7"}));
    EXPECT_EQ(mapWindow->findChild<QLabel*>("lblSummary")->text(), "2 entries.");

    // Change…: the same choice, starting on the name the entry gives now.
    QStringList shown;
    whenChoiceShown([&](NameChoiceDialog* dialog) {
        auto* names = dialog->findChild<QListWidget*>("lstNames");
        shown = lines(names);
        names->setCurrentItem(names->findItems("Robert Jones", Qt::MatchExactly).front());
        dialog->findChild<QPushButton*>("cmdOK")->click();
    });
    table->setCurrentIndex(table->model()->index(1, 0));
    mapWindow->findChild<QPushButton*>("cmdChange")->click();
    settle();
    EXPECT_EQ(shown.size(), 4);
    EXPECT_EQ(column(table, 2), (QStringList{"Robrt Jones", "Robert Jones"}));
    EXPECT_EQ(column(table, 3), (QStringList{"", ""}));
    EXPECT_EQ(lines(list()).front(), "Click Export to post your time tickets in QuickBooks.");

    // Remove…, after the question naming the entry.
    table->setCurrentIndex(table->model()->index(0, 0));
    mapWindow->findChild<QPushButton*>("cmdRemove")->click();
    settle();
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_NE(question.asked[0].find("the employee Badge 7 (staged as Robrt Jones)"),
              std::string::npos);
    EXPECT_EQ(column(table, 1), QStringList{"Bob Jones"});
    EXPECT_EQ(mapRows(), std::vector<std::string>{"Bob Jones -> Robert Jones"});

    QTest::keyClick(table, Qt::Key_Escape);
    settle();
    EXPECT_TRUE(mapWindow.isNull());
}

}  // namespace
}  // namespace vantrell
