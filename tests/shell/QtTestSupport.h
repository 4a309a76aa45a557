#pragma once

#include <QStringList>
#include <QTableView>
#include <QWidget>
#include <string>

namespace vantrell::testing {

// An answer of the accounting system around `body`, as the fake request processor hands it out.
std::string qbxmlResponse(const std::string& body);
// The resolution's answer when the company file knows Worker One and Hourly.
extern const std::string kWorkerOneAndHourlyKnown;

// The main window's close ends the event loop with QCoreApplication::exit(), which outside a
// running loop leaves every later local loop (a menu's, a box's) returning at once, until the
// application's own loop runs once. A test of the windows starts and ends with this.
void clearPendingExit();

// Lets the events queued now (and those they queue) run.
void settle();

// The texts of a table view's column, top to bottom.
QStringList columnTexts(QTableView* view, int column);

// The main window's list menu: the windows, then the name map's commands.
extern const QStringList kListMenuTexts;

// Opens the context menu of the main window's list with `key` (the menu key, Shift+F10) and
// picks a command by its `accessKey`; returns the menu's texts.
QStringList pickFromListMenu(QWidget& mainWindow, Qt::Key accessKey, Qt::Key key = Qt::Key_Menu,
                             Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace vantrell::testing
