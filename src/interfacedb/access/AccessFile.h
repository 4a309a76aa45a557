#pragma once

// One Access file opened through libmdb; only the access reader includes this.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "interfacedb/access/JetText.h"
#include "interfacedb/access/Libmdb.h"

namespace vantrell::db::access {

// An object of the file's catalog that a statement may name.
struct CatalogObject {
    enum Type { kTable = 1, kOdbcLinkedTable = 4, kSavedQuery = 5, kLinkedTable = 6 };
    std::string name;
    int type = 0;
    MdbCatalogEntry entry{};  // what libmdb needs to read it as a table
};

class AccessFile {
  public:
    // Opens the Access file at `path` for reading only and reads its catalog. Throws DbError,
    // naming the file, when it cannot be read, is truncated or damaged, or is encrypted.
    explicit AccessFile(std::string path);
    ~AccessFile();
    AccessFile(const AccessFile&) = delete;
    AccessFile& operator=(const AccessFile&) = delete;

    // The path the file was opened with.
    const std::string& path() const { return path_; }
    // libmdb's handle of the open file, for the readers of its pages; never null.
    MdbHandle* handle() const { return mdb_.get(); }

    // True when `page` lies wholly inside the file.
    bool holdsPage(std::uint32_t page) const;

    // The table, saved query or linked table named `name`, found as Access finds it, without
    // regard to case; an exact match comes first. Null when there is none.
    CatalogObject* findObject(std::string_view name);

    // Stored text as UTF-8: Jet 4 and ACE text is Unicode, Jet 3 text is in the code page of
    // the file.
    std::string text(const unsigned char* bytes, std::size_t size) const;

  private:
    void readCatalog();

    struct HandleClose {
        void operator()(MdbHandle* mdb) const;
    };

    std::string path_;
    std::uintmax_t size_ = 0;
    std::unique_ptr<MdbHandle, HandleClose> mdb_;
    std::unique_ptr<CodePageText> codePage_;  // Jet 3 files only
    std::vector<CatalogObject> catalog_;
};

}  // namespace vantrell::db::access
