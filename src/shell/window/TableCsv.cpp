#include "shell/window/TableCsv.h"

#include "diag/Guard.h"
#include "shell/window/CsvFile.h"

namespace vantrell {

bool saveTableAsCsv(modErrorLog& log, FileSaveDialog& dialog, const TicketTable& table,
                    const std::string& suggestedName) {
    bool written = false;
    guard(log, "SaveCsv", [&] {
        const std::string path = dialog.showSave(kCsvFilter, suggestedName);
        if (path.empty()) {
            return;
        }
        writeCsvFile(path, table.csvHeader(), table.rowCount(),
                     [&](std::size_t row) { return table.csvRow(row); });
        written = true;
    });
    return written;
}

}  // namespace vantrell
