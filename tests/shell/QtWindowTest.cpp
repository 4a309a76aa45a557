#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "interfacedb/InterfaceDatabase.h"
#include "qblink/FakeRequestProcessor.h"
#include "shell/ChronelFixture.h"
#include "shell/ShellFakes.h"
#include "shell/qt/LocateDialog.h"
#include "shell/qt/MainWindow.h"
#include "shell/qt/Twips.h"
#include "shell/settings/QtSettingsStore.h"
#include "support/TestLog.h"

namespace vantrell {
namespace {

std::string response(const std::string& body) {
    return "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n" + body +
           "</QBXMLMsgsRs>\n</QBXML>\n";
}

const std::string kBothKnown = response(
    "<EmployeeQueryRs requestID=\"Employee\" statusCode=\"0\" statusSeverity=\"Info\" "
    "statusMessage=\"Status OK\"><EmployeeRet><Name>Worker One</Name></EmployeeRet>"
    "</EmployeeQueryRs>\n<PayrollItemWageQueryRs requestID=\"PayTypes\" statusCode=\"0\" "
    "statusSeverity=\"Info\" statusMessage=\"Status OK\"><PayrollItemWageRet><Name>Hourly</Name>"
    "</PayrollItemWageRet></PayrollItemWageQueryRs>\n");

const std::string kAccepted = response(
    "<TimeTrackingAddRs requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\" "
    "statusMessage=\"Status OK\"></TimeTrackingAddRs>\n");

struct QtWindowFixture : ::testing::Test {
    testing::TestLog t;
    ProgramState state;
    testing::MemorySettings settings;
    testing::ProcessorScript processor;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state));
        const std::string chronel = t.sandbox.file("ChronelV7.mde").string();
        testing::writeSmallChronelFile(chronel, "Worker One");
        t.sandbox.write("Company.qbw", "company");
        settings.SaveSetting("CH7", "QuickBooks", "CHprog", chronel);
        settings.SaveSetting("CH7", "QuickBooks", "QBdata", t.sandbox.file("Company.qbw").string());
        window = std::make_unique<MainWindow>(t.log, state, settings, processor.factory());
    }

    void TearDown() override {
        if (window) {
            window->close();
        }
    }

    QPushButton* button(const char* name) { return window->findChild<QPushButton*>(name); }
    QStringList listLines() {
        QStringList lines;
        auto* list = window->findChild<QListWidget*>("lstShow");
        for (int i = 0; i < list->count(); ++i) {
            lines << list->item(i)->text();
        }
        return lines;
    }
    int requestsSent() { return static_cast<int>(processor.requests.size()); }
    void settle() {
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
            QTest::qWait(20);
        }
    }
};

TEST_F(QtWindowFixture, CaptionFrameAndLayoutInTwips) {
    EXPECT_EQ(window->windowTitle(), "RerovIrida Zoz Uvodi (Payroll Export)");
    EXPECT_EQ(window->size(), QSize(twipsToPixels(4770, *window), twipsToPixels(5115, *window)));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);

    struct Control {
        const char* name;
        int left, top, width, height;
        const char* caption;
    };
    const Control controls[] = {{"lstShow", 120, 120, 4455, 4155, nullptr},
                                {"cmdClose", 120, 4440, 1095, 495, "&Close"},
                                {"cmdExport", 1800, 4440, 1095, 495, "&Export"},
                                {"cmdPrint", 3480, 4440, 1095, 495, "&Print Screen"}};
    for (const auto& c : controls) {
        auto* widget = window->findChild<QWidget*>(c.name);
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->geometry(), twipsRect(c.left, c.top, c.width, c.height, *window))
            << c.name;
        if (c.caption != nullptr) {
            EXPECT_EQ(static_cast<QPushButton*>(widget)->text(), c.caption);
        }
    }

    // Tab order: the named controls in the order met along the focus chain from the list.
    QStringList order;
    QWidget* w = window->findChild<QWidget*>("lstShow");
    for (int i = 0; i < 50 && order.size() < 4; ++i, w = w->nextInFocusChain()) {
        if (!w->objectName().isEmpty() && !order.contains(w->objectName()) &&
            w->parentWidget() == window.get()) {
            order << w->objectName();
        }
    }
    EXPECT_EQ(order, (QStringList{"lstShow", "cmdClose", "cmdExport", "cmdPrint"}));
}

TEST_F(QtWindowFixture, ButtonStatesThroughLoadActivationAndExport) {
    processor.responses = {kBothKnown, kAccepted};
    ASSERT_TRUE(window->load());
    EXPECT_FALSE(button("cmdExport")->isEnabled());
    EXPECT_TRUE(button("cmdClose")->isEnabled());
    EXPECT_FALSE(button("cmdPrint")->isEnabled());

    window->showCentred();
    settle();
    EXPECT_EQ(requestsSent(), 1);
    EXPECT_EQ(listLines(), QStringList{"Click Export to post your time tickets in QuickBooks."});
    EXPECT_TRUE(button("cmdExport")->isEnabled());
    EXPECT_FALSE(button("cmdPrint")->isEnabled());

    button("cmdExport")->click();
    settle();
    EXPECT_EQ(requestsSent(), 2);
    EXPECT_FALSE(button("cmdExport")->isEnabled());
    EXPECT_EQ(listLines().mid(1), (QStringList{"", "Export complete."}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(QtWindowFixture, ActivationRunsOnceOnShowAndAgainOnlyAfterAnotherProgramWindow) {
    processor.responses = {kBothKnown, kBothKnown, kBothKnown};
    ASSERT_TRUE(window->load());
    window->showCentred();
    settle();
    ASSERT_EQ(requestsSent(), 1);

    // A message box coming and going is no new activation.
    auto* box =
        new QMessageBox(QMessageBox::Information, "NOTE", "note", QMessageBox::Ok, window.get());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    box->activateWindow();
    settle();
    box->close();
    window->activateWindow();
    settle();
    EXPECT_EQ(requestsSent(), 1);

    // Another window of the program, then back: activation repeats.
    QWidget other;
    other.show();
    other.activateWindow();
    settle();
    window->activateWindow();
    settle();
    EXPECT_EQ(requestsSent(), 2);
}

TEST(QtLocateDialog, LabelCaptionAndButtonsForEachFile) {
    testing::TestLog t;
    ProgramState state;
    testing::ScriptedUser user;
    for (const auto& [filter, label] : std::vector<std::pair<std::string, std::string>>{
             {kChronelFilter,
              "It is necessary to specify your Chronel application.  Click OK to locate "
              "ChronelV7.mde."},
             {kCompanyFilter,
              "It is necessary to specify your QuickBooks data.  Click OK to locate your "
              "data."}}) {
        frmLocateCHdata logic(t.log, state, user);
        logic.strFilter = filter;
        logic.Form_Load();
        LocateDialog dialog(logic, nullptr);
        EXPECT_EQ(dialog.windowTitle(), "LOCATE CHDATA");
        EXPECT_EQ(dialog.findChild<QLabel*>("lblLocate")->text().toStdString(), label);
        EXPECT_EQ(dialog.findChild<QPushButton*>("cmdOK")->text(), "&OK");
        EXPECT_EQ(dialog.findChild<QPushButton*>("cmdClose")->geometry(),
                  twipsRect(2760, 1560, 975, 495, dialog));
        EXPECT_TRUE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
    }
    EXPECT_EQ(qtNameFilter(kCompanyFilter), "QuickBooks Data (*.qbw) (*.qbw)");
}

TEST(QtSettings, StoredUnderTheApplicationAndSection) {
    testing::Sandbox sandbox;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(sandbox.path().string()));
    QtSettingsStore store;
    EXPECT_EQ(store.GetSetting("CH7", "QuickBooks", "CHprog", "none"), "none");
    store.SaveSetting("CH7", "QuickBooks", "CHprog", "/data/ChronelV7.mde");
    EXPECT_EQ(store.GetSetting("CH7", "QuickBooks", "CHprog", ""), "/data/ChronelV7.mde");
    QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "VB and VBA Program Settings",
                  "CH7");
    EXPECT_EQ(raw.value("QuickBooks/CHprog").toString(), "/data/ChronelV7.mde");
}

}  // namespace
}  // namespace vantrell

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
