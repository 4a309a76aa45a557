#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "diag/modErrorLog.h"
#include "extract/ExtractionState.h"
#include "interfacedb/EngineRefs.h"
#include "interfacedb/InterfaceDatabase.h"
#include "interfacedb/stage/CheckInputs.h"
#include "interfacedb/stage/NameMap.h"
#include "interfacedb/stage/PostingJournal.h"
#include "interfacedb/stage/Stage.h"
#include "qblink/NameHints.h"
#include "qblink/RequestProcessor.h"

namespace pugi {
class xml_document;
class xml_node;
}  // namespace pugi

namespace vantrell {

class AnswerElements;
class ResponseWalk;
struct TicketAnswer;
struct PostedTimeTicket;

// The main window's link to the accounting system: the request-processor session, the
// resolution of names, the issues found, the response parser and the export. The window owns
// one and calls these from its load, activate, unload and Export button; it shows what they
// report in its list and sets its buttons. Every procedure logs its own failures and returns
// normally (OpenQBConnection passes one failure on, see there).
class QuickBooksLink {
  public:
    // The link works on the interface database `interfaceDb` (its connection opened by the
    // window), lists what `extraction` says of the stage, and opens its sessions on the company
    // file that `strQBdata` names when a session begins. All of them must outlive the link.
    QuickBooksLink(modErrorLog& log, InterfaceDatabase& interfaceDb,
                   const ExtractionOutcome& extraction, const std::string& strQBdata,
                   RequestProcessorFactory factory);

    // Session state, for the window's whole life.
    std::unique_ptr<RequestProcessor> qbXMLRP;  // created through the factory on first use
    bool blnQBConnected = false;
    std::string ticket;       // the last session ticket received, never cleared
    std::string requestXML;   // the last request sent
    std::string responseXML;  // the last response received
    RecordsetRef rsPunch;     // the staged tickets, while an export sends them
    // The lines the answers read since the window last took them give for its list: a query
    // that found nothing ("No <element> found by Quickbooks") or reported an error ("<element>
    // ERROR <message>"). The window takes them (and empties this) after a resolution.
    std::vector<std::string> answerNotes;

    // The tickets the check asks for in one page of qbXML 5.0. Measured with 201,038 tickets
    // all posted (a repeat run): from 500 to 50,000 a page the run took the same time within
    // the machine's noise (3.7 to 4.2 s of CPU) and the same peak memory, the pages' round
    // trips and the records gathered costing alike; a page of 5,000 keeps its text under 2 MB
    // and its tree far below the records held.
    static constexpr int kCheckPageSize = 5000;
    int checkPageSize = kCheckPageSize;

    // Opens the connection and begins a session on strQBdata; True when a session is open
    // at return. A failure is logged with the step that failed and gives False; when the
    // connection had opened it is closed again, and a failure of that close is thrown on to the
    // caller unlogged.
    bool OpenQBConnection();

    // Ends the session and closes the connection when a session is open. A failure is logged
    // and leaves blnQBConnected True.
    void CloseQBConnection();

    // Asks the accounting system for all employees and wage payroll items and deletes every
    // name it returns from Employee and PayType. Traced to "ResolveReq.txt"/"ResolveResp.txt".
    // When the question cannot be asked or the answer does not say (it does not load, lacks
    // either list or reports an error), the failure is logged and the issue list says that the
    // names could not be checked instead of naming each one missing.
    void ResolveWithQB();

    // After a resolution that was answered, when names are still missing, asks the accounting
    // system in a message of its own for its employees and payroll items of any status, so
    // that the issue list can say under a missing name why it is missing (inactive there, a
    // close name, a payroll item that is not a wage item). Nothing there is changed. A failure
    // is logged under "ExplainMissingNames" and costs only the hints. Traced to
    // "HintReq.txt"/"HintResp.txt"; requestXML and responseXML are left as they were.
    void ExplainMissingNames();

    // Asks the accounting system, through the hint query, for every name it holds of `kind`
    // (employees; pay type: wage items), active or not, in its own order. The session must be
    // open. Throws Failure when the question cannot be asked or that list's answer does not read;
    // nothing is changed either way. Traced to "HintReq.txt"/"HintResp.txt".
    std::vector<hints::HeldName> AskHeldNames(stage::NameKind kind);

    // What the last check of the stage against the accounting system found.
    struct PostedCheck {
        bool made = false;                    // the check's answer was read and applied
        std::int64_t alreadyPosted = 0;       // staged tickets found posted, gone from Punch
        std::vector<std::string> issueLines;  // changed tickets, or the check's own failure
    };

    // Asks the accounting system, in a message of its own, which time tickets it holds for the
    // staged dates (and those of tickets an earlier export to this company file sent without
    // learning their fate); staged tickets it already holds leave Punch, ones it holds with
    // other hours become issues. In the same transaction the journal's unconfirmed tickets are
    // confirmed with the ids read (or recorded as not posted), and a staged ticket found posted
    // that no export recorded gets a row settled by the check. When the check cannot be made
    // nothing leaves Punch: the failure is logged under "CheckPostedTickets" and becomes an
    // issue, so that nothing is posted blind. Traced to "CheckReq.txt"/"CheckResp.txt";
    // requestXML and responseXML are left as they were.
    void CheckPostedTickets();
    const PostedCheck& postedCheck() const { return postedCheck_; }

    // A line of an issue report about a name the accounting system lacks: the name's own line,
    // a map entry's line under it or its hint. A window offers to map the name from it.
    struct MissingNameLine {
        std::size_t line = 0;  // its index in IssueReport::lines
        stage::NameKind kind = stage::NameKind::Employee;
        std::string name;  // as staged: the name the accounting system lacks
        // The time-and-attendance names a map entry made from this line maps: the staged name
        // itself, or the names the map gave it (a map entry's line: that entry's name alone).
        std::vector<std::string> chronelNames;
    };

    // What stands between the stage and an export, for the window's list.
    struct IssueReport {
        // The issues in listing order: each name left in Employee ("Missing Employee <name>",
        // followed by its hint when there is one, indented), then each left in PayType, or
        // instead one line saying the names could not be checked; then each day the extraction
        // could not stage (or that it failed); then the check's own issues.
        std::vector<std::string> lines;
        std::int64_t issues = 0;         // how many issues the lines name; hints are not issues
        std::int64_t alreadyPosted = 0;  // staged tickets the last check found posted already
        bool complete = false;           // False when reading the names failed (logged under
                                         // "ShowIssues"); `lines` then holds those read before
        // The lines about a missing name, in the order of `lines`; an empty name has none.
        std::vector<MissingNameLine> nameLines;
    };
    // Reads the names left in Employee and PayType and gathers them with the extraction's and
    // the check's issues. Changes nothing.
    IssueReport FindIssues();

    // Applies each `responseElement` of responseXML to the interface database: accepted tickets
    // deleted, rejected ones given their status message, returned `returnElement` names deleted
    // from Employee or PayType. A failed step is logged and the walk goes on. True when the
    // walk reached the end (failed steps included); False when the document does not load or a
    // query answer reports a non-zero status, which also adds a line to the list.
    bool ParseResponseXML(const std::string& responseElement, const std::string& returnElement);

    // The time-tracking request for every row of rsPunch, which must be open; leaves it
    // past its last row. Writes "RawData.txt" with the request sent before. On failure logs and
    // returns what it holds: "" before the request is complete.
    std::string BuildRequestString();

    // How an export ended, for the window's list and buttons.
    struct ExportOutcome {
        enum class Ending {
            Failed,          // a failure ended it, logged under "cmdExport_Click"
            StoppedByCheck,  // the check before it failed or found changed tickets: none sent
            Finished,        // every staged ticket was sent (or none was staged)
        } ending = Ending::Failed;
        IssueReport issues;  // StoppedByCheck: what the check found
        // Finished: one line per ticket the accounting system refused ("Refused: ..."), then
        // one for how many it did not process, when any.
        std::vector<std::string> ticketsLeft;
    };
    // Posts every staged ticket in one request and applies the response. The check runs first,
    // in the same session, so that tickets the accounting system holds are never sent again;
    // nothing is sent when it fails or finds changed tickets. Before the message goes out the
    // journal records the export (with the session's company file) and every ticket in it as
    // sent; the answer confirms each accepted one as it leaves the stage.
    ExportOutcome ExportStagedTickets();

    // What the last export knows of a ticket that it left staged.
    enum class TicketFate {
        Refused,             // the answer refused it
        NotProcessed,        // the answer says it was not processed (stopped at a refusal)
        AcceptedUnrecorded,  // the answer accepted it, but Vantrell.mdb could not record that
        Unknown,             // sent, but no answer about it was read
        NotSent,             // the export ended before its message went out
    };
    struct TicketLeft {
        TicketFate fate;
        std::string reason;  // for a line about the ticket; never empty
    };
    TicketLeft ticketLeftReason(const stage::StagedTicket& left) const;

    // How an undo of an export ended.
    struct UndoOutcome {
        enum class Kind { UnknownExport, NothingLeft, AllGone, SomeRemain } kind;
        std::int64_t deleted = 0;       // tickets deleted by this undo
        std::int64_t alreadyGone = 0;   // tickets the accounting system no longer held
        std::int64_t unconfirmed = 0;   // tickets sent whose fate is unknown: not undone
        std::vector<std::string> kept;  // one line per ticket left in place, saying why: kept
                                        // by the accounting system (with its message), held
                                        // there with other values, or a damaged journal row
        // The journal could not record what was deleted or found gone (logged): the next undo
        // finds those tickets gone and records them.
        bool notRecorded = false;
    };

    // Deletes in the accounting system every confirmed ticket of export `exportId` not yet
    // undone. The session must be open on the company file the export was posted to. First
    // asks for those transaction ids and deletes only the tickets whose employee, date, wage
    // item and minutes match the journal row; then deletes them in one message that goes on
    // past a refused delete, and marks each one deleted or found gone undone in the journal.
    // Traced to "UndoCheckReq.txt"/"UndoCheckResp.txt" and "UndoReq.txt"/"UndoResp.txt".
    // Throws Failure when a message cannot be sent or its answer cannot be read; nothing is
    // marked then.
    UndoOutcome UndoExport(std::int64_t exportId);

    // The company file the open session was begun on (empty without a session).
    const std::string& sessionCompanyFile() const { return sessionCompanyFile_; }

    // Starts a new activation's view of the stage: the previous check and export are
    // forgotten. The window calls it before it rebuilds the stage.
    void beginActivation();

  private:
    RequestProcessor& processor();
    std::int64_t currentExportId();
    std::vector<std::string> ticketsLeftLines();
    void rememberPairedAnswers();
    std::vector<std::string> lockedOutLines() const;
    // Calls `ticketsFound` when the first page holding a ticket has come (as often as such a
    // page comes).
    std::vector<PostedTimeTicket> askPostedTickets(const std::string& fromDate,
                                                   const std::string& toDate,
                                                   const std::function<void()>& ticketsFound);
    // Nothing when the accounting system does not take the paged query's version.
    std::optional<std::vector<PostedTimeTicket>> askPostedTicketPages(
        const std::string& fromDate, const std::string& toDate,
        const std::function<void()>& ticketsFound);
    void stopIterator(const std::string& iteratorId);
    void settlePostedTickets(std::vector<PostedTimeTicket> posted,
                             const std::vector<stage::JournalTicket>& unconfirmed,
                             stage::CheckInputs inputs);
    db::Connection& interfaceConnection();
    // Staged name -> the line that explains why it is missing.
    using NameHints = std::map<std::string, std::string>;
    void listNames(IssueReport& report, const char* query, const char* linePrefix,
                   const NameHints& hints, stage::NameKind kind);
    // The steps of ParseResponseXML: responseXML loaded (nothing when it does not load, which
    // is logged), and the loaded answer applied, which returns ParseResponseXML's result.
    std::unique_ptr<pugi::xml_document> loadResponse(ResponseWalk& walk);
    bool applyAnswer(ResponseWalk& walk, const pugi::xml_document& xmlDoc,
                     const std::string& responseElement, const std::string& returnElement);
    // Runs `apply` under one commit of the interface database; a failure of the commit is
    // logged as the walk's step.
    void applyInOneCommit(ResponseWalk& walk, const std::function<void()>& apply);
    // The answer's walk for an export's answer and for a resolution's. The latter returns
    // false when an answer's status ends the walk.
    void applyTicketStatuses(ResponseWalk& walk, const std::vector<TicketAnswer>& answers,
                             const std::string& responseElement);
    bool deleteReturnedNames(ResponseWalk& walk, AnswerElements& elements,
                             const std::string& responseElement, const std::string& returnElement);

    modErrorLog& log_;
    InterfaceDatabase& interfaceDb_;
    const ExtractionOutcome& extraction_;
    const std::string& strQBdata_;
    RequestProcessorFactory factory_;

    PostedCheck postedCheck_;
    // The journal's record of the export in progress, made before its message goes out.
    std::optional<std::int64_t> exportId_;
    std::string sessionCompanyFile_;
    // The accounting system of this session refused the paged check's version.
    bool pagedCheckRefused_ = false;
    // Whether the last resolution's answer said which names QuickBooks holds; nothing before
    // a resolution in this activation.
    std::optional<bool> namesChecked_;
    // What the last ExplainMissingNames found, for the names of Employee and PayType.
    NameHints employeeHints_;
    NameHints payTypeHints_;
    // The last ParseResponseXML found an answer of the kind asked for that it could use.
    bool lastAnswerUsable_ = false;
    // What the last export's answer said of each ticket it named, and whether its message
    // went out; both are forgotten when the next export begins.
    struct Answered {
        TicketFate fate;
        std::string message;  // Refused, NotProcessed: the accounting system's message
        std::string txnId;    // AcceptedUnrecorded: the id it gave
    };
    std::map<std::int32_t, Answered> answered_;
    bool messageSent_ = false;
    // The last answer's application met Vantrell.mdb locked by another program and gave up.
    bool applyLocked_ = false;
    // The posted tickets that stand for a staged ticket which left the stage in this
    // activation (found by a check, or accepted by an export): a later check of the same
    // stage must not pair them again with the tickets still staged, one for one.
    std::unordered_set<std::string> pairedTxnIds_;
};

}  // namespace vantrell
