// vantrell-history-bench: how long the export history takes to open, to show the newest
// export's tickets and to give every row's text (a view scrolled from top to bottom) over a
// journal of many exports. It prints figures; it judges none.
//
// usage: vantrell-history-bench [--exports N] [--tickets N] [--runs N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "diag/Clock.h"
#include "diag/Prompter.h"
#include "diag/modErrorLog.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/modDataDef.h"
#include "shell/window/ExportHistory.h"

namespace {

using namespace vantrell;

struct Options {
    int exports = 1000;
    int tickets = 200;
    int runs = 3;
};

class SilentPrompter final : public Prompter {
  public:
    void show(const std::string& text, const std::string& title, MessageIcon) override {
        std::cerr << title << ": " << text << '\n';
    }
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::cout << "usage: vantrell-history-bench [--exports N] [--tickets N] [--runs N]\n"
                         "  A journal of N exports (default 1000) of N tickets each (200), then\n"
                         "  the export history opened N times (3); prints the median times.\n";
            std::exit(0);
        }
        if (i + 1 >= argc) {
            return false;
        }
        const int value = std::atoi(argv[++i]);
        if (value < 1) {
            return false;
        }
        if (arg == "--exports") {
            options.exports = value;
        } else if (arg == "--tickets") {
            options.tickets = value;
        } else if (arg == "--runs") {
            options.runs = value;
        } else {
            return false;
        }
    }
    return true;
}

// The journal's rows written in one transaction, as so many exports would have left them:
// every ticket confirmed with a transaction id of its own.
void fillJournal(db::Connection& cn, const Options& options) {
    const auto started = db::DateTime::parse("2026-03-02 10:00:00");
    const auto finished = db::DateTime::parse("2026-03-02 10:01:00");
    const auto day = db::DateTime::parse("2026-03-01");
    cn.inTransaction([&] {
        cn.execute(
            "insert into ExportRun (ID, Started, Finished, CompanyFile) with recursive"
            " e(i) as (select 1 union all select i + 1 from e where i < ?)"
            " select i, ?, ?, 'C:\\Payroll\\Company.qbw' from e",
            {db::Value(std::int64_t{options.exports}), db::Value(*started), db::Value(*finished)});
        cn.execute(
            "insert into ExportTicket (ExportID, Sequence, Name, Date, Hours, PayType, TxnID,"
            " Undone, State) with recursive"
            " e(i) as (select 1 union all select i + 1 from e where i < ?),"
            " t(j) as (select 1 union all select j + 1 from t where j < ?)"
            " select i, j, 'Worker ' || (j % 50), ?, 8, 'Hourly',"
            " printf('%X-1767225600', i * 100000 + j), ?, 'confirmed' from e, t",
            {db::Value(std::int64_t{options.exports}), db::Value(std::int64_t{options.tickets}),
             db::Value(*day), db::Value(false)});
    });
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::cerr << "vantrell-history-bench: a command line it does not understand (--help)\n";
        return 64;
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("vantrell-history-bench-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(folder);
    int status = 0;
    {
        SilentPrompter prompter;
        SystemClock clock;
        modErrorLog log{ProgramFolder(folder), prompter, clock};
        ProgramState state;
        if (!blnConfigureInterfaceDatabase(log, state.interfaceDb) ||
            !blnOpenConnection(log, state.interfaceDb.cnInterface,
                               state.interfaceDb.strInterfaceDB)) {
            std::filesystem::remove_all(folder);
            return 1;
        }
        const auto fillStart = std::chrono::steady_clock::now();
        fillJournal(*state.interfaceDb.cnInterface, options);
        const double fill = seconds(std::chrono::steady_clock::now() - fillStart);

        std::vector<double> open;
        std::vector<double> select;
        std::vector<double> scroll;
        std::size_t rows = 0;
        std::size_t shown = 0;
        for (int run = 0; run < options.runs; ++run) {
            auto at = std::chrono::steady_clock::now();
            ExportHistory history(state);
            open.push_back(seconds(std::chrono::steady_clock::now() - at));
            at = std::chrono::steady_clock::now();
            history.select(0);
            select.push_back(seconds(std::chrono::steady_clock::now() - at));
            at = std::chrono::steady_clock::now();
            std::size_t characters = 0;
            for (std::size_t r = 0; r < history.rowCount(); ++r) {
                for (std::size_t c = 0; c < ExportHistory::kColumnCount; ++c) {
                    characters += history.text(r, c).size();
                }
            }
            scroll.push_back(seconds(std::chrono::steady_clock::now() - at));
            rows = history.rowCount();
            shown = history.receipt() != nullptr ? history.receipt()->table().rowCount() : 0;
            status = characters > 0 && rows == static_cast<std::size_t>(options.exports) ? 0 : 1;
        }
        std::printf("export history: %d exports of %d tickets (%lld journal rows), %d runs\n",
                    options.exports, options.tickets,
                    static_cast<long long>(options.exports) * options.tickets, options.runs);
        std::printf("  journal written in                         %8.3f s\n", fill);
        std::printf("  opened (the exports' rows and counts)      %8.3f s median (%zu rows)\n",
                    median(open), rows);
        std::printf("  newest export selected (its tickets)       %8.3f s median (%zu tickets)\n",
                    median(select), shown);
        std::printf("  every row's text (a scroll to the end)     %8.3f s median\n",
                    median(scroll));
    }
    std::filesystem::remove_all(folder);
    return status;
}
