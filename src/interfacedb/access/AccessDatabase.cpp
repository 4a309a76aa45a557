#include "interfacedb/access/AccessDatabase.h"

#include "interfacedb/access/AccessFile.h"
#include "interfacedb/access/AccessImage.h"
#include "interfacedb/access/StderrSilencer.h"
#include "interfacedb/access/TableLoader.h"

namespace vantrell::db::access {

namespace {

// Reads tables from the file's own bytes with libmdb.
class LibmdbTableReader final : public TableReader {
  public:
    explicit LibmdbTableReader(std::unique_ptr<AccessFile> file) : file_(std::move(file)) {}

    FoundObject find(const std::string& name) override {
        const CatalogObject* object = file_->findObject(name);
        if (object == nullptr) {
            return {};
        }
        switch (object->type) {
            case CatalogObject::kTable:
                return {FoundObject::Kind::Table, object->name};
            case CatalogObject::kSavedQuery:
                return {FoundObject::Kind::SavedQuery, object->name};
            default:
                return {FoundObject::Kind::LinkedTable, object->name};
        }
    }

    void load(const std::string& name, sqlite3* db) override {
        const StderrSilencer quiet;
        loadTable(*file_, file_->findObject(name)->entry, db);
    }

  private:
    std::unique_ptr<AccessFile> file_;
};

}  // namespace

std::shared_ptr<detail::Database> openAccessDatabase(const std::string& path) {
    return openAccessImage(path,
                           std::make_unique<LibmdbTableReader>(std::make_unique<AccessFile>(path)));
}

}  // namespace vantrell::db::access
