#include "FaultFixture.h"

#include <sqlite3.h>

#include "interfacedb/InterfaceDatabase.h"
#include "shell/window/LocationStep.h"
#include "support/XmlText.h"

namespace vantrell::testing {

namespace {

constexpr const char* kHead = "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n";
constexpr const char* kTail = "</QBXMLMsgsRs>\n</QBXML>\n";

}  // namespace

std::vector<sampledata::Day> usualDays() {
    return {{"Worker One", "2026-03-02", 8.0, 1.5, 0.0, {}, 0},
            {"Worker Two", "2026-03-02", 7.5, 0.0, 0.0, {}, 0},
            {"Worker Two", "2026-03-03", 8.0, 0.0, 0.0, {}, 0}};
}

std::string resolutionResponse(const Strings& employees, const Strings& payTypes) {
    std::string text = kHead;
    text +=
        "<EmployeeQueryRs requestID=\"Employee\" statusCode=\"0\" statusSeverity=\"Info\" "
        "statusMessage=\"Status OK\">\n";
    for (const auto& name : employees) {
        text += "<EmployeeRet>\n<Name>" + xmlEscaped(name) + "</Name>\n</EmployeeRet>\n";
    }
    text +=
        "</EmployeeQueryRs>\n<PayrollItemWageQueryRs requestID=\"PayTypes\" "
        "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">\n";
    for (const auto& name : payTypes) {
        text +=
            "<PayrollItemWageRet>\n<Name>" + xmlEscaped(name) + "</Name>\n</PayrollItemWageRet>\n";
    }
    return text + "</PayrollItemWageQueryRs>\n" + kTail;
}

std::string exportResponse(const std::vector<std::pair<std::string, int>>& answers,
                           const std::string& message) {
    std::string text = kHead;
    for (const auto& [requestID, code] : answers) {
        text += "<TimeTrackingAddRs requestID=\"" + xmlEscaped(requestID) + "\" statusCode=\"" +
                std::to_string(code) + "\" statusSeverity=\"" + (code == 0 ? "Info" : "Error") +
                "\" statusMessage=\"" + (code == 0 ? "Status OK" : xmlEscaped(message)) + "\" />\n";
    }
    return text + kTail;
}

Strings fileRows(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    Strings rows;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return {"<cannot open " + path + ">"};
    }
    sqlite3_busy_timeout(db, 5000);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        rows.push_back(std::string("<") + sqlite3_errmsg(db) + ">");
    }
    while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const auto* text = sqlite3_column_text(statement, i);
            row += (i == 0 ? "" : "|") +
                   (text != nullptr ? std::string(reinterpret_cast<const char*>(text)) : "<null>");
        }
        rows.push_back(row);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

std::string integrityOf(const std::string& path) {
    const Strings rows = fileRows(path, "PRAGMA integrity_check");
    std::string text;
    for (const auto& row : rows) {
        text += (text.empty() ? "" : "\n") + row;
    }
    return text;
}

ProgramFixture::ProgramFixture()
    : factory(qb.factory()),
      chronelPath(t.sandbox.file("ChronelV7.mde").string()),
      companyPath(t.sandbox.file("Company.qbw").string()) {
    t.sandbox.write("Company.qbw", "company");
    settings.values[std::string(kSettingsApp) + "/" + kSettingsSection + "/CHprog"] = chronelPath;
    settings.values[std::string(kSettingsApp) + "/" + kSettingsSection + "/QBdata"] = companyPath;
    qb.responses = {usualResolution(), usualExport()};
}

void ProgramFixture::writeChronel(const std::vector<sampledata::Day>& days) {
    sampledata::ChronelWriter writer(chronelPath);
    sampledata::ExportDefinition definition;
    definition.payTypes = {{"RGSTD", "Hourly"}, {"RGOT1", "Overtime"}};
    writer.add(definition);
    writer.add(sampledata::AccrualTitles{"Vacation", "Sick", "Personal"});
    for (const auto& day : days) {
        writer.add(day);
    }
    writer.commit();
}

bool ProgramFixture::load() {
    if (!blnConfigureInterfaceDatabase(t.log, state.interfaceDb)) {
        return false;
    }
    window = std::make_unique<frmVantrell>(
        t.log, state, MainWindowServices{controls, settings, user, user, printer, factory});
    window->Form_Load();
    return !window->isUnloaded();
}

Strings ProgramFixture::punch() const {
    return fileRows(interfaceDb(),
                    "select Sequence, Name, PayType, Error from Punch order by Sequence");
}

Strings ProgramFixture::employees() const {
    return fileRows(interfaceDb(), "select Name from Employee order by Name");
}

Strings ProgramFixture::payTypes() const {
    return fileRows(interfaceDb(), "select Name from PayType order by Name");
}

bool ProgramFixture::logged(const std::string& entry) const {
    return logText().find(kStamp + entry) != std::string::npos;
}

Strings ProgramFixture::usualPunch() {
    return {"1|Worker One|Hourly|", "2|Worker One|Overtime|", "3|Worker Two|Hourly|",
            "4|Worker Two|Hourly|"};
}

std::string ProgramFixture::usualResolution() {
    return resolutionResponse({"Worker One", "Worker Two"}, {"Hourly", "Overtime"});
}

std::string ProgramFixture::usualExport() {
    return exportResponse({{"1", 0}, {"2", 0}, {"3", 0}, {"4", 0}});
}

}  // namespace vantrell::testing
