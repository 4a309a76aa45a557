// vantrell: the desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <iostream>
#include <optional>
#include <string>

#include "VantrellVersion.h"
#include "diag/Clock.h"
#include "diag/ProgramFolder.h"
#include "shell/qt/MainWindow.h"
#include "shell/qt/QtPrompter.h"
#include "shell/settings/QtSettingsStore.h"
#include "shell/window/ProgramStart.h"
#include "shell/window/modVantrellMain.h"
#include "standins/ProcessorChoice.h"

namespace {

// Shows the main window until it closes; returns the exit status.
int runMainWindow(vantrell::modErrorLog& log, vantrell::ProgramState& state,
                  vantrell::SettingsStore& settings,
                  const vantrell::RequestProcessorFactory& factory) {
    vantrell::MainWindow window(log, state, settings, factory);
    if (!window.load()) {
        return window.endStatus() >= 0 ? window.endStatus() : vantrell::kExitEndedEarly;
    }
    window.showCentred();
    const int status = QApplication::exec();
    return window.endStatus() >= 0 ? window.endStatus() : status;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(vantrell::kVantrellVersion);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataDir("data-dir", "Folder for Vantrell.mdb, the log and traces.",
                                     "DIR");
    const QCommandLineOption processor("processor", "Request processor: sim or replay:DIR.", "NAME",
                                       "sim");
    parser.addOption(dataDir);
    parser.addOption(processor);
    parser.process(app);

    const auto refuse = [](const std::string& reason) {
        std::cerr << "vantrell: " << reason << '\n';
    };
    if (parser.isSet(dataDir) && parser.value(dataDir).isEmpty()) {
        refuse(vantrell::kEmptyDataDir);
        return vantrell::kExitUsage;
    }
    vantrell::ProgramStart start;
    if (parser.isSet(dataDir)) {
        start.dataDir = parser.value(dataDir).toStdString();
    }
    start.processor = parser.value(processor).toStdString();
    start.chooseProcessor = vantrell::processorFactoryFor;
    start.resolveFolder = vantrell::ProgramFolder::resolve;
    start.refuse = refuse;

    vantrell::QtPrompter prompter;
    vantrell::SystemClock clock;
    vantrell::QtSettingsStore settings;
    return vantrell::startProgram(start, prompter, clock,
                                  [&](vantrell::modErrorLog& log, vantrell::ProgramState& state,
                                      const vantrell::RequestProcessorFactory& factory) {
                                      return runMainWindow(log, state, settings, factory);
                                  });
}
