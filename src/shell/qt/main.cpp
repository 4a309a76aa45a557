// vantrell: the desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <filesystem>
#include <iostream>

#include "diag/Clock.h"
#include "diag/FileSystem.h"
#include "diag/ProgramFolder.h"
#include "shell/qt/MainWindow.h"
#include "shell/qt/QtPrompter.h"
#include "shell/settings/QtSettingsStore.h"
#include "shell/window/modVantrellMain.h"
#include "standins/ProcessorChoice.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption dataDir("data-dir", "Folder for Vantrell.mdb, the log and traces.",
                                     "DIR");
    const QCommandLineOption processor("processor", "Request processor: sim or replay:DIR.", "NAME",
                                       "sim");
    parser.addOption(dataDir);
    parser.addOption(processor);
    parser.process(app);

    // An empty folder would silently become the executable's own.
    if (parser.isSet(dataDir) && parser.value(dataDir).isEmpty()) {
        std::cerr << "vantrell: --data-dir needs a folder, not an empty text\n";
        return 64;
    }
    vantrell::RequestProcessorFactory factory;
    try {
        factory = vantrell::processorFactoryFor(parser.value(processor).toStdString());
    } catch (const std::exception& e) {
        std::cerr << "vantrell: " << e.what() << '\n';
        return 64;
    }
    const auto folder = vantrell::ProgramFolder::resolve(
        parser.isSet(dataDir) ? std::optional<std::filesystem::path>(
                                    vantrell::utf8ToPath(parser.value(dataDir).toStdString()))
                              : std::nullopt);
    std::error_code ignored;
    std::filesystem::create_directories(folder.path(), ignored);

    vantrell::QtPrompter prompter;
    vantrell::SystemClock clock;
    vantrell::modErrorLog log(folder, prompter, clock);
    vantrell::ProgramState state;
    vantrell::QtSettingsStore settings;

    return vantrell::Main(log, state, [&] {
        vantrell::MainWindow window(log, state, settings, factory);
        if (!window.load()) {
            return window.endStatus() >= 0 ? window.endStatus() : vantrell::kExitEndedEarly;
        }
        window.showCentred();
        const int status = QApplication::exec();
        return window.endStatus() >= 0 ? window.endStatus() : status;
    });
}
