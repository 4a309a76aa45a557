#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <ostream>

#include "diag/Failure.h"
#include "interfacedb/InterfaceDatabase.h"
#include "qblink/FakeRequestProcessor.h"
#include "shell/ChronelFixture.h"
#include "shell/QtTestSupport.h"
#include "shell/ShellFakes.h"
#include "shell/qt/LocateDialog.h"
#include "shell/qt/MainWindow.h"
#include "shell/qt/Twips.h"
#include "shell/settings/QtSettingsStore.h"
#include "support/TestLog.h"

// Qt strings in failure messages as text.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '{' << list.join("\", \"").prepend('"').append('"').toStdString() << '}';
}

namespace vantrell {
namespace {

using testing::settle;

constexpr auto response = testing::qbxmlResponse;
const std::string& kBothKnown = testing::kWorkerOneAndHourlyKnown;

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
        ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state.interfaceDb));
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

// A caption as the button shows it: the access-key ampersands left out, "&&" shown as "&".
QString shownCaption(const QString& caption) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                shown += '&';
                ++i;
            }
            continue;
        }
        shown += caption[i];
    }
    return shown;
}

struct ButtonPlace {
    const char* name;
    int width;  // twips
    int height;
};

// Each button's caption, in the button's own font at `dotsPerInch`, with the style's margin
// and frame on both sides, fits the button laid out in twips at that resolution. The style's
// margins are in pixels at 96 dots per inch and grow with the resolution.
void expectCaptionsFit(QWidget& window, std::initializer_list<ButtonPlace> buttons,
                       int dotsPerInch) {
    QImage device(1, 1, QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(dotsPerInch / 0.0254));
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    ASSERT_EQ(device.logicalDpiX(), dotsPerInch);
    const double scale = dotsPerInch / 96.0;
    for (const ButtonPlace& place : buttons) {
        auto* button = window.findChild<QPushButton*>(place.name);
        ASSERT_NE(button, nullptr) << place.name;
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        QStyle* style = button->style();
        const double margins =
            scale * (style->pixelMetric(QStyle::PM_ButtonMargin, &option, button) +
                     2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button));
        const QFontMetricsF metrics(button->font(), &device);
        const QString caption = shownCaption(button->text());
        const double needed = std::ceil(metrics.horizontalAdvance(caption)) + margins;
        const double neededHeight = std::ceil(metrics.height()) + margins;
        const int width = twipsToPixels(place.width, dotsPerInch);
        const int height = twipsToPixels(place.height, dotsPerInch);
        EXPECT_LE(needed, width) << place.name << " \"" << caption.toStdString() << "\" at "
                                 << dotsPerInch << " dpi";
        EXPECT_LE(neededHeight, height) << place.name << " at " << dotsPerInch << " dpi";
    }
}

void expectDialogFont(const QWidget& widget) {
    const QFontInfo info(widget.font());
    EXPECT_TRUE(info.family() == "Liberation Sans" || info.family() == "Arimo")
        << widget.objectName().toStdString() << ": " << info.family().toStdString()
        << " (fonts-liberation2 is installed by scripts/install-deps.sh)";
    EXPECT_EQ(widget.font().pointSize(), 8) << widget.objectName().toStdString();
}

TEST_F(QtWindowFixture, CaptionsFitTheirButtonsInTheDialogFontAt96And144Dpi) {
    expectDialogFont(*window);
    for (const char* name : {"cmdClose", "cmdExport", "cmdPrint", "lstShow"}) {
        expectDialogFont(*window->findChild<QWidget*>(name));
    }
    for (const int dpi : {96, 144}) {
        expectCaptionsFit(
            *window, {{"cmdClose", 1095, 495}, {"cmdExport", 1095, 495}, {"cmdPrint", 1095, 495}},
            dpi);
    }
    // The buttons as laid out on this screen hold their captions too.
    for (const char* name : {"cmdClose", "cmdExport", "cmdPrint"}) {
        auto* b = button(name);
        QStyleOptionButton option;
        option.initFrom(b);
        const QRect contents =
            b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b);
        EXPECT_LE(b->fontMetrics().horizontalAdvance(shownCaption(b->text())), contents.width())
            << name;
    }
}

TEST_F(QtWindowFixture, EscDoesNothingAndCloseRunsTheUnloadOnce) {
    processor.responses = {kBothKnown};
    ASSERT_TRUE(window->load());
    window->showCentred();
    settle();
    const auto count = [this](const std::string& operation) {
        return std::count_if(
            processor.calls.begin(), processor.calls.end(),
            [&](const std::string& call) { return call.rfind(operation, 0) == 0; });
    };
    ASSERT_EQ(count("BeginSession"), 1);

    // Esc as the keyboard sends it, to the control with the focus and to the window itself.
    QWidget* focus = window->focusWidget();
    QTest::keyClick(focus != nullptr ? focus : window.get(), Qt::Key_Escape);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    settle();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->logic().isUnloaded());
    EXPECT_EQ(count("EndSession"), 0);
    EXPECT_EQ(count("CloseConnection"), 0);
    EXPECT_NE(state.interfaceDb.cnInterface, nullptr);

    button("cmdClose")->click();
    settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->logic().isUnloaded());
    EXPECT_EQ(count("EndSession"), 1);
    EXPECT_EQ(count("CloseConnection"), 1);
    EXPECT_EQ(state.interfaceDb.cnInterface, nullptr);
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
    EXPECT_EQ(qtNameFilter(kCompanyFilter), "QuickBooks Data (*.qbw)");
    EXPECT_EQ(qtNameFilter(kChronelFilter), "Chronel Application (ChronelV7.mde)");
    EXPECT_EQ(qtNameFilter("Text files|*.txt"), "Text files (*.txt)");
}

TEST(QtLocateDialog, ItsButtonCaptionsFitInTheDialogFont) {
    testing::TestLog t;
    ProgramState state;
    testing::ScriptedUser user;
    frmLocateCHdata logic(t.log, state, user);
    logic.strFilter = kChronelFilter;
    logic.Form_Load();
    LocateDialog dialog(logic, nullptr);
    for (const char* name : {"cmdOK", "cmdClose"}) {
        expectDialogFont(*dialog.findChild<QWidget*>(name));
    }
    for (const int dpi : {96, 144}) {
        expectCaptionsFit(dialog, {{"cmdOK", 975, 495}, {"cmdClose", 975, 495}}, dpi);
    }
}

// Calls `inspect` with the application's modal window once one of type W is open.
template <class W>
void whenModalOpens(QTimer& timer, const std::function<void(W&)>& inspect) {
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&timer, inspect] {
        if (auto* window = qobject_cast<W*>(QApplication::activeModalWidget())) {
            timer.stop();
            inspect(*window);
        }
    });
    timer.start();
}

TEST(QtLocateDialog, TheFileDialogShowsEachFilterOnceAndFiltersByItsPattern) {
    for (const auto& [filter, shown, pattern] :
         std::vector<std::tuple<std::string, QString, QString>>{
             {kChronelFilter, "Chronel Application (ChronelV7.mde)", "ChronelV7.mde"},
             {kCompanyFilter, "QuickBooks Data (*.qbw)", "*.qbw"}}) {
        QStringList types;
        QStringList patterns;
        QTimer timer;
        whenModalOpens<QFileDialog>(timer, [&](QFileDialog& dialog) {
            if (auto* combo = dialog.findChild<QComboBox*>("fileTypeCombo")) {
                for (int i = 0; i < combo->count(); ++i) {
                    types << combo->itemText(i);
                }
            }
            if (auto* model = dialog.findChild<QFileSystemModel*>()) {
                patterns = model->nameFilters();
            }
            dialog.reject();
        });
        EXPECT_EQ(QtFileOpenDialog().showOpen(filter, 4), "");
        EXPECT_EQ(types, QStringList{shown});
        EXPECT_EQ(patterns, QStringList{pattern});
    }
}

TEST(QtLocateDialog, OwnedByTheMainWindowDuringItsLoadAndCentredOnIt) {
    testing::TestLog t;
    ProgramState state;
    testing::MemorySettings settings;  // no locations stored: the load asks for them
    testing::ProcessorScript processor;
    ASSERT_TRUE(blnConfigureInterfaceDatabase(t.log, state.interfaceDb));
    MainWindow window(t.log, state, settings, processor.factory());

    bool opened = false;
    bool ownerVisible = true;
    QWidget* parent = nullptr;
    QWindow* transientParent = nullptr;
    Qt::WindowType type = Qt::Window;
    QPoint centre;
    QTimer timer;
    whenModalOpens<QDialog>(timer, [&](QDialog& dialog) {
        opened = dialog.objectName() == "frmLocateCHdata";
        ownerVisible = window.isVisible();
        parent = dialog.parentWidget();
        transientParent =
            dialog.windowHandle() != nullptr ? dialog.windowHandle()->transientParent() : nullptr;
        type = dialog.windowType();
        centre = dialog.geometry().center();
        dialog.findChild<QPushButton*>("cmdClose")->click();
    });
    EXPECT_FALSE(window.load());  // no file located: the window unloads
    ASSERT_TRUE(opened);
    EXPECT_FALSE(ownerVisible);
    EXPECT_EQ(parent, &window);
    ASSERT_NE(window.windowHandle(), nullptr);
    EXPECT_EQ(transientParent, window.windowHandle());
    EXPECT_EQ(type, Qt::Dialog);  // what the window system keeps with its transient parent
    const QPoint ownerCentre = window.geometry().center();
    EXPECT_LE((centre - ownerCentre).manhattanLength(), 4)
        << centre.x() << "," << centre.y() << " vs " << ownerCentre.x() << "," << ownerCentre.y();
    // The owner itself was placed at the centre of the screen before the load.
    EXPECT_LE((ownerCentre - window.screen()->availableGeometry().center()).manhattanLength(), 2);
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

TEST(QtSettings, AStoreThatCannotBeWrittenFailsNamingIt) {
    testing::TestLog t;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(t.sandbox.path().string()));
    // A folder where the settings file would be: whoever runs the test cannot write it.
    const auto file = t.sandbox.file("VB and VBA Program Settings/CH7.conf");
    std::filesystem::create_directories(file);
    QtSettingsStore store;
    try {
        store.SaveSetting("CH7", "QuickBooks", "CHprog", "/data/ChronelV7.mde");
        ADD_FAILURE() << "the lost value went unnoticed";
    } catch (const Failure& failure) {
        EXPECT_EQ(std::string(failure.what()), "Could not store the setting CHprog in " +
                                                   file.string() + ": the file cannot be written");
    }
}

TEST_F(QtWindowFixture, HasNoTaskBarEntryAndItsCloseEndsTheEventLoop) {
    // A tool window: the window system gives it no task-bar button.
    EXPECT_EQ(window->windowType(), Qt::Tool);
    ASSERT_TRUE(window->load());
    window->showCentred();
    ASSERT_NE(window->windowHandle(), nullptr);
    EXPECT_EQ(window->windowHandle()->type(), Qt::Tool);
    QTimer::singleShot(100, window.get(), [this] { window->close(); });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });  // not ended by the close
    EXPECT_EQ(QApplication::exec(), 0);
}

}  // namespace
}  // namespace vantrell

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
