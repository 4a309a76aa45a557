// Access files on Windows: read through ODBC into the same in-memory database as on Linux, so
// that the statements of the extraction run on them unchanged.
#include <optional>
#include <vector>

#include "interfacedb/access/AccessDatabase.h"
#include "interfacedb/access/AccessImage.h"
#include "interfacedb/access/AccessNames.h"
#include "interfacedb/odbc/OdbcAccessFile.h"
#include "interfacedb/odbc/OdbcTableLoader.h"

namespace vantrell::db::access {

namespace {

// Reads tables through the Access driver that ODBC has.
class OdbcTableReader final : public TableReader {
  public:
    explicit OdbcTableReader(std::unique_ptr<odbc::AccessFile> file) : file_(std::move(file)) {}

    FoundObject find(const std::string& name) override {
        if (!catalog_) {
            catalog_ = file_->catalog();
        }
        const odbc::CatalogObject* folded = nullptr;
        for (const auto& object : *catalog_) {
            if (object.name == name) {
                return found(object);
            }
            if (folded == nullptr && foldCase(object.name) == foldCase(name)) {
                folded = &object;
            }
        }
        return folded == nullptr ? FoundObject{} : found(*folded);
    }

    void load(const std::string& name, sqlite3* db) override { odbc::loadTable(*file_, name, db); }

  private:
    static FoundObject found(const odbc::CatalogObject& object) {
        if (object.type == "TABLE") {
            return {FoundObject::Kind::Table, object.name};
        }
        if (object.type == "VIEW") {
            return {FoundObject::Kind::SavedQuery, object.name};
        }
        if (object.type == "SYSTEM TABLE") {
            return {};
        }
        return {FoundObject::Kind::LinkedTable, object.name};
    }

    std::unique_ptr<odbc::AccessFile> file_;
    std::optional<std::vector<odbc::CatalogObject>> catalog_;
};

}  // namespace

std::shared_ptr<detail::Database> openAccessDatabase(const std::string& path) {
    return openAccessImage(
        path, std::make_unique<OdbcTableReader>(std::make_unique<odbc::AccessFile>(path)));
}

}  // namespace vantrell::db::access
