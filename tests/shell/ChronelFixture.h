#pragma once

#include <string>

#include "interfacedb/Catalog.h"
#include "interfacedb/Connection.h"
#include "interfacedb/ConnectionString.h"

namespace vantrell::testing {

// A small time-and-attendance file: one export definition (Hourly, Overtime), titles, and one
// worked day of 8 standard hours for `employee`.
inline void writeSmallChronelFile(const std::string& path, const std::string& employee) {
    db::Catalog catalog;
    catalog.create(db::catalogConnectionStringFor(path));
    db::Connection cn;
    cn.open(db::connectionStringFor(path));
    std::string columns;
    for (const char* band : {"RG", "DF", "HO", "A1", "A2", "A3"}) {
        for (const char* hours : {"STD", "OT1", "OT2"}) {
            columns += std::string(", ") + band + hours + " TEXT";
        }
    }
    cn.execute("CREATE TABLE EXPORTDFN (ExportName TEXT" + columns + ")");
    cn.execute(
        "INSERT INTO EXPORTDFN (ExportName, RGSTD, RGOT1) VALUES ('RerovIrida Zoz Uvodi', "
        "'Hourly', 'Overtime')");
    cn.execute("CREATE TABLE TCRULES (A1TITLE TEXT, A2TITLE TEXT, A3TITLE TEXT)");
    cn.execute("INSERT INTO TCRULES VALUES ('Vacation', 'Sick', 'Personal')");
    cn.execute(
        "CREATE TABLE REPORTDATA (\"FULL NAME\" TEXT, ADJUSTEDDATE DATETIME, PST REAL, POT1 REAL, "
        "POT2 REAL, NONWORKED TEXT, USEDIFF INTEGER)");
    cn.execute("INSERT INTO REPORTDATA VALUES ('" + employee +
               "', '2026-03-02', 8, 0, 0, NULL, 0)");
}

}  // namespace vantrell::testing
