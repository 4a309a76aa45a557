#include "shell/cli/NameMapCommands.h"

#include <exception>
#include <optional>
#include <string>

#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/stage/NameMap.h"
#include "shell/window/modVantrellMain.h"

namespace vantrell {

namespace {

int listMaps(db::Connection& cn, std::ostream& out, std::ostream& err) {
    bool damaged = false;
    for (const stage::NameMapEntry& entry : stage::readNameMap(cn)) {
        if (!entry.damage.empty()) {
            err << "The name map is damaged: " << entry.damage << "; it is not applied.\n";
            damaged = true;
            continue;
        }
        out << stage::nameKindText(entry.kind) << '\t' << entry.chronelName << '\t'
            << entry.quickBooksName << '\n';
    }
    out.flush();
    return damaged ? kExitEndedEarly : kExitNormal;
}

}  // namespace

int runNameMapCommand(const CliOptions& options, const ProgramState& state, std::ostream& out,
                      std::ostream& err) {
    // What went wrong, on `err` (as the exports' commands say it).
    const auto refuse = [&](const std::string& message) {
        err << message << '\n';
        return kExitEndedEarly;
    };
    const stage::NameKind kind =
        options.mapEmployee ? stage::NameKind::Employee : stage::NameKind::PayType;
    const std::string kindText = stage::nameKindText(kind);
    try {
        if (options.mapCommand == CliOptions::MapCommand::Map) {
            if (const std::optional<std::string> refused =
                    stage::refusedMapping(options.mapFrom, options.mapTo)) {
                return refuse("The " + kindText + " was not mapped: " + *refused);
            }
        }
        db::Connection cn;
        cn.open(db::connectionStringFor(state.interfaceDb.strInterfaceDB));
        switch (options.mapCommand) {
            case CliOptions::MapCommand::Map:
                stage::storeNameMapping(cn, kind, options.mapFrom, options.mapTo);
                out << "The " << kindText << " " << options.mapFrom << " is staged as "
                    << options.mapTo << " from the next run on.\n";
                return kExitNormal;
            case CliOptions::MapCommand::Unmap:
                if (!stage::removeNameMapping(cn, kind, options.mapFrom)) {
                    return refuse("The name map has no entry for the " + kindText + " " +
                                  options.mapFrom + "; --list-maps shows the entries.");
                }
                out << "The " << kindText << " " << options.mapFrom
                    << " is staged under its own name from the next run on.\n";
                return kExitNormal;
            case CliOptions::MapCommand::List:
                return listMaps(cn, out, err);
            case CliOptions::MapCommand::None:
                break;
        }
        return kExitNormal;
    } catch (const std::exception& e) {
        return refuse(std::string("The name map could not be ") +
                      (options.mapCommand == CliOptions::MapCommand::List ? "read" : "changed") +
                      ": " + e.what());
    }
}

}  // namespace vantrell
