#pragma once

// The statements of the extraction run on the time-and-attendance database, exactly as they
// are sent, and the texts it reports. Its statements on the stage are the stage's own.

namespace vantrell::extraction {

// The export definition whose pay-type columns the run posts under.
inline constexpr const char* kExportDefinitionQuery =
    "SELECT RGSTD, RGOT1, RGOT2, "
    "DFSTD, DFOT1, DFOT2, "
    "HOSTD, HOOT1, HOOT2, "
    "A1STD, A1OT1, A1OT2, "
    "A2STD, A2OT1, A2OT2, "
    "A3STD, A3OT1, A3OT2 "
    "From EXPORTDFN WHERE ExportName='RerovIrida Zoz Uvodi'";

// The accrual titles: the first row the database returns is the one used.
inline constexpr const char* kAccrualTitlesQuery = "select A1TITLE, A2TITLE, A3TITLE FROM TCRULES";

// The days, ordered by employee and date, under the aliases the builders read.
inline constexpr const char* kDaysQuery =
    "SELECT [FULL NAME] as FullName, "
    "ADJUSTEDDATE as AdjustedDate, "
    "PST as Reg, POT1 as OT1, POT2 as OT2, "
    "NONWORKED as NonWkdHrs, USEDIFF as UseDiff "
    "FROM REPORTDATA ORDER BY [FULL NAME], ADJUSTEDDATE";

inline constexpr const char* kNoExportDefinition =
    "The export definitions have not been established in Chronel.";

}  // namespace vantrell::extraction
