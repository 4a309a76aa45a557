#pragma once

// Every statement on the stage, exactly as it is sent, in one place: the extraction rebuilds
// the stage, the resolution removes known names, the issue list reads what is left, the
// export sends the tickets and applies the answer.

namespace vantrell::stage {

// Extraction: the stage emptied, tickets added, the names they use collected.
inline constexpr const char* kDeletePostedPunch = "delete from Punch where Posted=true";
inline constexpr const char* kDeleteUnpostedPunch = "delete from Punch where Posted=false";
inline constexpr const char* kPunchTable = "select * from Punch";
// The names the renamed tickets were staged from.
inline constexpr const char* kDeletePunchSources = "delete from PunchSource";
inline constexpr const char* kInsertPunchSource =
    "insert into PunchSource (Sequence, ChronelName, ChronelPayType) values (?, ?, ?)";

inline constexpr const char* kDeleteEmployees = "delete from Employee";
inline constexpr const char* kPunchEmployeeNames = "select Name from Punch group by Name";
inline constexpr const char* kEmployeeTable = "select * from Employee";

inline constexpr const char* kDeletePayTypes = "delete from PayType";
inline constexpr const char* kPunchPayTypes = "select PayType from Punch group by PayType";
inline constexpr const char* kPayTypeTable = "select * from Paytype";

// Resolution: a name the accounting system knows leaves the list (the name bound: the statement
// is prepared once for the whole answer).
inline constexpr const char* kDeleteEmployeeNamed = "delete from Employee where Name=?";
inline constexpr const char* kDeletePayTypeNamed = "delete from PayType where Name=?";

// The already-posted check: a name none of whose tickets is still staged is no longer in the
// way of an export.
inline constexpr const char* kDeleteEmployeesWithoutTickets =
    "delete from Employee where Name not in (select Name from Punch)";
inline constexpr const char* kDeletePayTypesWithoutTickets =
    "delete from PayType where Name not in (select PayType from Punch)";

// The issue list.
inline constexpr const char* kEmployeesByName = "select Name from Employee order by Name";
inline constexpr const char* kPayTypesByName = "select Name from PayType order by Name";

// The export: the tickets in order; an accepted one deleted (its Sequence bound: the statement
// is prepared once for the whole answer), a rejected one marked (the statement followed by the
// ticket's Sequence).
inline constexpr const char* kPunchBySequence = "select * from Punch order by Sequence";
inline constexpr const char* kDeletePunchSequence = "delete from Punch where Sequence=?";
inline constexpr const char* kMarkPunchError = "update Punch set Error='";
inline constexpr const char* kMarkPunchErrorWhere = "' where Sequence=";

}  // namespace vantrell::stage
