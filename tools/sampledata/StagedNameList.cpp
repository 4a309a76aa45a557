#include "sampledata/StagedNameList.h"

#include <random>
#include <sstream>
#include <string>

#include "diag/Clock.h"
#include "diag/Failure.h"
#include "diag/FileSystem.h"
#include "diag/Prompter.h"
#include "diag/modErrorLog.h"
#include "extract/Extraction.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/modDataDef.h"

namespace vantrell::sampledata {

namespace fs = std::filesystem;

namespace {

// Shows the run's message boxes as lines on a stream and counts them.
class StreamPrompter final : public Prompter {
  public:
    explicit StreamPrompter(std::ostream& err) : err_(err) {}

    void show(const std::string& text, const std::string& title, MessageIcon) override {
        std::string oneLine = text;
        for (std::size_t at = 0; (at = oneLine.find("\r\n", at)) != std::string::npos;) {
            oneLine.replace(at, 2, " | ");
        }
        err_ << "chronel-sample: " << title << ": " << oneLine << '\n';
        ++shown;
    }

    int shown = 0;

  private:
    std::ostream& err_;
};

// A folder of its own under the system's temporary folder, removed with its content.
class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::random_device device;
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = fs::temp_directory_path() / ("chronel-sample-" + std::to_string(device()));
            if (fs::create_directory(path_)) {
                return;
            }
        }
        throw fs::filesystem_error("no free temporary folder", path_,
                                   std::make_error_code(std::errc::file_exists));
    }
    ~TemporaryFolder() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

void listTable(InterfaceDatabase& interfaceDb, const char* sql, const char* label,
               std::ostream& out) {
    db::Recordset names;
    names.open(sql, *interfaceDb.cnInterface, db::CursorType::Static, db::LockType::ReadOnly);
    for (; !names.eof(); names.moveNext()) {
        out << label << '\t' << names.field("Name").toText() << '\n';
    }
    names.close();
}

}  // namespace

int listStagedNames(const fs::path& chronelFile, std::ostream& out, std::ostream& err) {
    if (!fileExists(chronelFile)) {
        err << "chronel-sample: " << chronelFile.string() << ": no such file\n";
        return 1;
    }
    try {
        TemporaryFolder folder;
        StreamPrompter prompter(err);
        SystemClock clock;
        modErrorLog log(ProgramFolder(folder.path()), prompter, clock);
        InterfaceDatabase interfaceDb;
        ExtractionState extraction;
        if (!blnConfigureInterfaceDatabase(log, interfaceDb) ||
            !blnOpenConnection(log, interfaceDb.cnInterface, interfaceDb.strInterfaceDB) ||
            !blnOpenConnection(log, extraction.cnChronel, pathToUtf8(fs::absolute(chronelFile)))) {
            return 1;
        }
        try {
            GetChronelData(log, interfaceDb, extraction);
        } catch (const EndProgram&) {
            return 1;
        }
        if (prompter.shown > 0) {
            return 1;
        }
        std::ostringstream lines;
        listTable(interfaceDb, "select Name from Employee", "employee", lines);
        listTable(interfaceDb, "select Name from PayType", "wage-item", lines);
        out << lines.str();
        return 0;
    } catch (const std::exception& e) {
        err << "chronel-sample: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace vantrell::sampledata
