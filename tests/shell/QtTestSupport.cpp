#include "shell/QtTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace vantrell::testing {

std::string qbxmlResponse(const std::string& body) {
    return "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n" + body +
           "</QBXMLMsgsRs>\n</QBXML>\n";
}

const std::string kWorkerOneAndHourlyKnown = qbxmlResponse(
    "<EmployeeQueryRs requestID=\"Employee\" statusCode=\"0\" statusSeverity=\"Info\" "
    "statusMessage=\"Status OK\"><EmployeeRet><Name>Worker One</Name></EmployeeRet>"
    "</EmployeeQueryRs>\n<PayrollItemWageQueryRs requestID=\"PayTypes\" statusCode=\"0\" "
    "statusSeverity=\"Info\" statusMessage=\"Status OK\"><PayrollItemWageRet><Name>Hourly</Name>"
    "</PayrollItemWageRet></PayrollItemWageQueryRs>\n");

void clearPendingExit() {
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

void settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QTest::qWait(20);
    }
}

QStringList columnTexts(QTableView* view, int column) {
    QStringList texts;
    for (int r = 0; r < view->model()->rowCount(); ++r) {
        texts << view->model()->index(r, column).data().toString();
    }
    return texts;
}

const QStringList kListMenuTexts{"&Review staged tickets\u2026", "Export &history\u2026", "",
                                 "&Map to a QuickBooks name\u2026", "&Name map\u2026"};

QStringList pickFromListMenu(QWidget& mainWindow, Qt::Key accessKey, Qt::Key key,
                             Qt::KeyboardModifiers modifiers) {
    QStringList texts;
    auto* list = mainWindow.findChild<QListWidget*>("lstShow");
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        for (QAction* action : menu->actions()) {
            texts << action->text();
        }
        QTest::keyClick(menu, accessKey);
    });
    list->setFocus();
    QTest::keyClick(list, key, modifiers);
    settle();
    return texts;
}

}  // namespace vantrell::testing
