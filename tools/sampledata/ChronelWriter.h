#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vantrell::sampledata {

// A failure to write a sample file; what() says which file and why.
class GeneratorError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One cell as the file stores it: Null, an integer, a real number or text.
struct Cell {
    std::variant<std::monostate, long long, double, std::string> value;

    Cell() = default;
    Cell(int v) : value(static_cast<long long>(v)) {}
    Cell(long long v) : value(v) {}
    Cell(double v) : value(v) {}
    Cell(const char* v) : value(std::string(v)) {}
    Cell(std::string v) : value(std::move(v)) {}
};

// The name the extraction selects its export definition by.
inline constexpr const char* kExportName = "RerovIrida Zoz Uvodi";

// The eighteen pay-type columns of an export definition, in the table's order.
inline constexpr std::array<const char*, 18> kPayTypeColumns{
    "RGSTD", "RGOT1", "RGOT2", "DFSTD", "DFOT1", "DFOT2", "HOSTD", "HOOT1", "HOOT2",
    "A1STD", "A1OT1", "A1OT2", "A2STD", "A2OT1", "A2OT2", "A3STD", "A3OT1", "A3OT2"};

// One EXPORTDFN row; a pay-type column missing from the map is Null.
struct ExportDefinition {
    Cell exportName = kExportName;
    std::map<std::string, Cell, std::less<>> payTypes;
};

// One TCRULES row: the titles of accrual categories 1 to 3.
struct AccrualTitles {
    Cell a1;
    Cell a2;
    Cell a3;
};

// One REPORTDATA row: an employee's computed hours for one day. Dates are ISO 8601 text;
// USEDIFF is 0 or -1 as Access writes a Yes/No value.
struct Day {
    Cell fullName;
    Cell adjustedDate;
    Cell pst;
    Cell pot1;
    Cell pot2;
    Cell nonWorked;
    Cell useDiff;
};

// Writes a time-and-attendance file in the SQLite form the extraction reads: EXPORTDFN,
// TCRULES and REPORTDATA. Rows are added inside one transaction that commit() makes final;
// whatever is not committed when the writer goes away is rolled back.
class ChronelWriter {
  public:
    // Creates the file and its three tables. Throws GeneratorError when anything is already
    // at `path` or the file cannot be made.
    explicit ChronelWriter(const std::filesystem::path& path);
    ~ChronelWriter();
    ChronelWriter(const ChronelWriter&) = delete;
    ChronelWriter& operator=(const ChronelWriter&) = delete;

    void add(const ExportDefinition& definition);
    void add(const AccrualTitles& titles);
    void add(const Day& day);

    // Runs one statement of the caller's own, such as an extra table or an altered one.
    void execute(std::string_view sql);

    // Makes everything added so far final. Throws GeneratorError.
    void commit();

  private:
    struct Handles;
    void begin();
    void insertRow(const std::string& sql, const std::vector<const Cell*>& cells);
    [[noreturn]] void fail(std::string_view what) const;

    std::filesystem::path path_;
    std::unique_ptr<Handles> handles_;
    bool inTransaction_ = false;
};

}  // namespace vantrell::sampledata
