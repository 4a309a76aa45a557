#include "interfacedb/access/AccessFile.h"

#include <cstring>
#include <filesystem>

#include "diag/FileSystem.h"
#include "interfacedb/DbError.h"
#include "interfacedb/access/AccessNames.h"
#include "interfacedb/access/JetValues.h"
#include "interfacedb/access/StderrSilencer.h"
#include "interfacedb/access/TableScan.h"

namespace vantrell::db::access {

namespace {

// The catalog, MSysObjects, is the table whose definition is on page 2.
constexpr unsigned long kCatalogPage = 2;

bool namesData(int type) {
    return type == CatalogObject::kTable || type == CatalogObject::kOdbcLinkedTable ||
           type == CatalogObject::kSavedQuery || type == CatalogObject::kLinkedTable;
}

}  // namespace

AccessFile::AccessFile(std::string path) : path_(std::move(path)) {
    std::error_code error;
    size_ = std::filesystem::file_size(utf8ToPath(path_), error);
    if (error) {
        throw DbError("Could not read '" + path_ + "': " + error.message() + ".");
    }
    const StderrSilencer quiet;
    mdb_.reset(mdb_open(path_.c_str(), MDB_NOFLAGS));
    // Jet writes whole pages, and the catalog's definition is on the third.
    const auto pageSize = mdb_ != nullptr ? static_cast<std::uintmax_t>(mdb_->fmt->pg_size) : 0;
    if (mdb_ == nullptr || size_ % pageSize != 0 || size_ <= kCatalogPage * pageSize) {
        throw DbError("Could not read the Access database '" + path_ +
                      "': the file is truncated or damaged.");
    }
    if (IS_JET3(mdb_.get())) {
        codePage_ = std::make_unique<CodePageText>(mdb_->f->code_page);
    }
    try {
        readCatalog();
    } catch (const DbError&) {
        // The catalog is where an encrypted file first shows ciphertext.
        throw DbError("Could not read the tables of the Access database '" + path_ +
                      "': the file is encrypted with a password, or it is truncated or damaged.");
    }
}

AccessFile::~AccessFile() = default;

void AccessFile::HandleClose::operator()(MdbHandle* mdb) const {
    const StderrSilencer quiet;
    mdb_close(mdb);
}

// Reads the catalog's Id, Name and Type columns with the same checks as any table; libmdb's
// own catalog reader also parses the objects' properties, and loops on a truncated file.
void AccessFile::readCatalog() {
    MdbCatalogEntry systemObjects{};
    systemObjects.mdb = mdb_.get();
    systemObjects.object_type = MDB_TABLE;
    systemObjects.table_pg = kCatalogPage;
    std::strcpy(systemObjects.object_name, "MSysObjects");
    TableScan scan(*this, systemObjects);
    const auto id = scan.columnNamed("Id");
    const auto name = scan.columnNamed("Name");
    const auto type = scan.columnNamed("Type");
    if (!id || !name || !type) {
        scan.fail("it lacks the columns Id, Name and Type.");
    }
    scan.forEachRow([&](const MdbField* fields) {
        const MdbField& idField = fields[*id];
        const MdbField& nameField = fields[*name];
        const MdbField& typeField = fields[*type];
        if (idField.is_null || nameField.is_null || typeField.is_null || idField.siz < 4 ||
            typeField.siz < 2) {
            return;
        }
        CatalogObject object;
        object.name = text(static_cast<const unsigned char*>(nameField.value),
                           static_cast<std::size_t>(nameField.siz));
        object.type = static_cast<std::int16_t>(
            readUInt16(static_cast<const unsigned char*>(typeField.value)));
        if (!namesData(object.type) || object.name.size() > MDB_MAX_OBJ_NAME) {
            return;
        }
        object.entry.mdb = mdb_.get();
        object.entry.object_type = MDB_TABLE;
        object.entry.table_pg =
            readUInt32(static_cast<const unsigned char*>(idField.value)) & 0x00FFFFFF;
        std::strcpy(object.entry.object_name, object.name.c_str());
        catalog_.push_back(std::move(object));
    });
}

bool AccessFile::holdsPage(std::uint32_t page) const {
    const auto pageSize = static_cast<std::uintmax_t>(mdb_->fmt->pg_size);
    return (static_cast<std::uintmax_t>(page) + 1) * pageSize <= size_;
}

CatalogObject* AccessFile::findObject(std::string_view name) {
    for (auto& object : catalog_) {
        if (object.name == name) {
            return &object;
        }
    }
    const std::string folded = foldCase(name);
    for (auto& object : catalog_) {
        if (foldCase(object.name) == folded) {
            return &object;
        }
    }
    return nullptr;
}

std::string AccessFile::text(const unsigned char* bytes, std::size_t size) const {
    return codePage_ ? codePage_->toUtf8(bytes, size) : jetUnicodeToUtf8(bytes, size);
}

}  // namespace vantrell::db::access
