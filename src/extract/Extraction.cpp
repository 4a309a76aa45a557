#include "extract/Extraction.h"

#include <memory>

#include "diag/Failure.h"
#include "diag/Guard.h"
#include "diag/RequireObject.h"
#include "extract/DayDescription.h"
#include "extract/DayDispatch.h"
#include "extract/ExtractionStatements.h"
#include "extract/StagedNames.h"
#include "interfacedb/DbError.h"
#include "interfacedb/modDataDef.h"
#include "interfacedb/stage/StageStatements.h"

namespace vantrell {

namespace {

// Opens `rs` anew on `sql`, read-only, dropping whatever it held.
void openSnapshot(RecordsetRef& rs, const char* sql, db::Connection& cn) {
    rs = std::make_unique<db::Recordset>();
    rs->open(sql, cn, db::CursorType::Static, db::LockType::ReadOnly);
}

// Stages the day in hand; when that ends the run, the day is remembered so that the issue
// list can say where the stage stops.
void stageDayNamingIt(modErrorLog& log, ExtractionState& state) {
    try {
        stageDay(log, state);
    } catch (...) {
        state.outcome.stoppedAt = dayOf(*state.rsReportData);
        throw;
    }
}

// Records the names of the tickets a map entry renamed, once their rows are stored.
void keepRenamed(db::Connection& interface, const ExtractionState& state) {
    for (const ExtractionState::Renamed& ticket : state.renamed) {
        interface.execute(stage::kInsertPunchSource,
                          {db::Value(ticket.sequence), db::Value(ticket.chronelName),
                           db::Value(ticket.chronelPayType)});
    }
}

}  // namespace

void GetChronelData(modErrorLog& log, InterfaceDatabase& interfaceDb, ExtractionState& state) {
    using namespace extraction;
    state.outcome = ExtractionOutcome{};
    state.outcome.extractionFailed = !guard(log, "GetChronelData", [&] {
        db::Connection& chronel = requireObject<db::DbError>(state.cnChronel);
        db::Connection& interface = requireObject<db::DbError>(interfaceDb.cnInterface);

        // An earlier run in this program run left these open: read them again, so that the
        // run starts from what the time-and-attendance database holds now.
        blnCloseRecordset(log, state.rsExportDfn);
        blnCloseRecordset(log, state.rsRules);

        openSnapshot(state.rsExportDfn, kExportDefinitionQuery, chronel);
        if (!blnHasRecords(log, state.rsExportDfn)) {
            log.WriteLogEntry("NOTE", "GetChronelData", kNoExportDefinition);
            throw EndProgram{1};
        }
        openSnapshot(state.rsRules, kAccrualTitlesQuery, chronel);
        // The days are read one at a time, in order: a large file's days are never all held.
        state.rsReportData = std::make_unique<db::Recordset>();
        state.rsReportData->open(kDaysQuery, chronel, db::CursorType::ForwardOnly,
                                 db::LockType::ReadOnly);

        // A damaged row of the name map is not applied, and says so: the name it would have
        // replaced may be one the accounting system holds for somebody else.
        const std::vector<stage::NameMapEntry> map = stage::readNameMap(interface);
        for (const stage::NameMapEntry& entry : map) {
            if (!entry.damage.empty()) {
                log.WriteLogEntry("WARNING", "GetChronelData",
                                  "Name map not applied: " + entry.damage);
                state.outcome.mapDamage.push_back(entry.damage);
            }
        }
        state.names = stage::NameMapping(map);
        state.renamed.clear();

        // The stage is rebuilt under one commit, made however the run ends: what a failure
        // leaves is what it would leave with each row committed on its own, and a run that is
        // killed leaves the stage as it was.
        interface.inOneCommit([&] {
            interface.execute(stage::kDeletePostedPunch);
            interface.execute(stage::kDeleteUnpostedPunch);
            interface.execute(stage::kDeletePunchSources);
            state.rsPunch = std::make_unique<db::Recordset>();
            state.rsPunch->open(stage::kPunchTable, interface, db::CursorType::Dynamic,
                                db::LockType::Optimistic);

            try {
                if (blnHasRecords(log, state.rsReportData)) {
                    state.rsReportData->moveFirst();
                    state.lngSequence = 0;
                    while (!state.rsReportData->eof()) {
                        stageDayNamingIt(log, state);
                        state.rsReportData->moveNext();
                    }
                }
            } catch (...) {
                // The tickets staged before the failure are kept, and so are their names.
                try {
                    keepRenamed(interface, state);
                } catch (...) {
                }
                throw;
            }
            blnCloseRecordset(log, state.rsPunch);
            blnCloseRecordset(log, state.rsReportData);
            keepRenamed(interface, state);

            rebuildStagedNames(log, interface, state);
        });
    });
}

}  // namespace vantrell
