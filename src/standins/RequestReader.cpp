#include "standins/RequestReader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "qblink/AnswerElements.h"
#include "qblink/StrictXmlLoader.h"
#include "qblink/XmlReading.h"
#include "standins/ProcessorError.h"
#include "standins/QbxmlProlog.h"
#include "standins/QbxmlValues.h"

namespace vantrell::standins {

namespace {

[[noreturn]] void parseError() {
    throw ProcessorError(ProcessorCode::ParseError);
}

bool named(const pugi::xml_node& node, std::string_view name) {
    return node && std::string_view(node.name()) == name;
}

void allowAttributes(const pugi::xml_node& node, std::initializer_list<std::string_view> allowed) {
    for (const auto& attribute : node.attributes()) {
        bool known = false;
        for (const auto name : allowed) {
            known = known || name == attribute.name();
        }
        if (!known) {
            parseError();
        }
    }
}

// The text of an element that may hold only text; the element holds its first text itself.
std::string leafText(const pugi::xml_node& node) {
    allowAttributes(node, {});
    std::string text = node.value();
    for (const auto& child : node.children()) {
        if (!isTextNode(child)) {
            parseError();
        }
        text += child.value();
    }
    return text;
}

// Walks the child elements of an aggregate in order; each expected element is taken when it is
// next, so an element out of its place or unknown is left over and refused by end().
class ChildReader {
  public:
    explicit ChildReader(const pugi::xml_node& parent) {
        // Text where only elements belong: held by the element itself when it comes first.
        if (*parent.value() != '\0') {
            parseError();
        }
        for (const auto& child : parent.children()) {
            if (child.type() == pugi::node_element) {
                children_.push_back(child);
            } else if (child.type() != pugi::node_pi) {
                // Text where only elements belong.
                parseError();
            }
        }
    }

    bool nextIs(std::string_view name) const {
        return next_ < children_.size() && named(children_[next_], name);
    }

    pugi::xml_node optional(std::string_view name) {
        return nextIs(name) ? children_[next_++] : pugi::xml_node();
    }

    pugi::xml_node required(std::string_view name) {
        if (!nextIs(name)) {
            parseError();
        }
        return children_[next_++];
    }

    std::vector<std::string> repeatedLeaves(std::string_view name) {
        std::vector<std::string> values;
        while (nextIs(name)) {
            values.push_back(leafText(children_[next_++]));
        }
        return values;
    }

    void end() const {
        if (next_ != children_.size()) {
            parseError();
        }
    }

  private:
    std::vector<pugi::xml_node> children_;
    std::size_t next_ = 0;
};

std::optional<std::string> optionalLeaf(ChildReader& reader, std::string_view name) {
    const auto node = reader.optional(name);
    return node ? std::optional<std::string>(leafText(node)) : std::nullopt;
}

ListReference readReference(const pugi::xml_node& node) {
    allowAttributes(node, {});
    ChildReader reader(node);
    ListReference reference;
    reference.listId = optionalLeaf(reader, "ListID");
    reference.fullName = optionalLeaf(reader, "FullName");
    reader.end();
    return reference;
}

std::optional<ListReference> optionalReference(ChildReader& reader, std::string_view name) {
    const auto node = reader.optional(name);
    return node ? std::optional<ListReference>(readReference(node)) : std::nullopt;
}

template <class Enum>
Enum enumValue(const std::string& text,
               std::initializer_list<std::pair<std::string_view, Enum>> values) {
    for (const auto& [name, value] : values) {
        if (text == name) {
            return value;
        }
    }
    parseError();
}

std::optional<std::string> requestIdOf(const pugi::xml_node& node) {
    const auto attribute = node.attribute("requestID");
    return attribute ? std::optional<std::string>(attribute.value()) : std::nullopt;
}

void readListFilter(ChildReader& reader, ListQueryRequest& query) {
    if (auto text = optionalLeaf(reader, "MaxReturned")) {
        query.maxReturned = parseCount(*text);
        if (!query.maxReturned || *query.maxReturned < 1) {
            parseError();
        }
    }
    if (auto text = optionalLeaf(reader, "ActiveStatus")) {
        query.activeStatus =
            enumValue<ActiveStatus>(*text, {{"ActiveOnly", ActiveStatus::ActiveOnly},
                                            {"InactiveOnly", ActiveStatus::InactiveOnly},
                                            {"All", ActiveStatus::All}});
    }
    query.fromModifiedDate = optionalLeaf(reader, "FromModifiedDate");
    query.toModifiedDate = optionalLeaf(reader, "ToModifiedDate");
    if (const auto node = reader.optional("NameFilter")) {
        allowAttributes(node, {});
        ChildReader filter(node);
        NameFilter nameFilter;
        nameFilter.criterion =
            enumValue<MatchCriterion>(leafText(filter.required("MatchCriterion")),
                                      {{"StartsWith", MatchCriterion::StartsWith},
                                       {"Contains", MatchCriterion::Contains},
                                       {"EndsWith", MatchCriterion::EndsWith}});
        nameFilter.name = leafText(filter.required("Name"));
        filter.end();
        query.nameFilter = nameFilter;
    } else if (const auto range = reader.optional("NameRangeFilter")) {
        allowAttributes(range, {});
        ChildReader filter(range);
        NameRange nameRange;
        nameRange.fromName = optionalLeaf(filter, "FromName");
        nameRange.toName = optionalLeaf(filter, "ToName");
        filter.end();
        query.nameRange = nameRange;
    }
}

ListQueryRequest readListQuery(const pugi::xml_node& node, ListKind kind,
                               const std::string& version) {
    allowAttributes(node, {"requestID"});
    ListQueryRequest query;
    query.kind = kind;
    query.requestId = requestIdOf(node);
    ChildReader reader(node);
    if (reader.nextIs("ListID")) {
        query.listIds = reader.repeatedLeaves("ListID");
    } else if (reader.nextIs("FullName")) {
        query.fullNames = reader.repeatedLeaves("FullName");
    } else {
        readListFilter(reader, query);
    }
    if (versionAtLeast(version, 4, 0)) {
        query.includeRetElements = reader.repeatedLeaves("IncludeRetElement");
    }
    if (kind == ListKind::Employee && versionAtLeast(version, 2, 0)) {
        // Data extensions: this company file defines none, so they select nothing to add.
        reader.repeatedLeaves("OwnerID");
    }
    reader.end();
    return query;
}

TimeTrackingAddRequest readTimeTrackingAdd(const pugi::xml_node& node, const std::string& version) {
    allowAttributes(node, {"requestID"});
    TimeTrackingAddRequest request;
    request.requestId = requestIdOf(node);
    ChildReader outer(node);
    const auto add = outer.required("TimeTrackingAdd");
    allowAttributes(add, {"defMacro"});
    ChildReader reader(add);
    request.txnDate = optionalLeaf(reader, "TxnDate");
    request.entity = readReference(reader.required("EntityRef"));
    request.customer = optionalReference(reader, "CustomerRef");
    request.itemService = optionalReference(reader, "ItemServiceRef");
    request.duration = leafText(reader.required("Duration"));
    request.classRef = optionalReference(reader, "ClassRef");
    request.wageItem = optionalReference(reader, "PayrollItemWageRef");
    request.notes = optionalLeaf(reader, "Notes");
    // Billable status was a boolean until 6.0 and an enumeration from then on.
    if (versionAtLeast(version, 6, 0)) {
        request.billableStatus = optionalLeaf(reader, "BillableStatus");
        if (request.billableStatus) {
            enumValue<int>(*request.billableStatus,
                           {{"Billable", 0}, {"NotBillable", 1}, {"HasBeenBilled", 2}});
        }
    } else {
        request.isBillable = optionalLeaf(reader, "IsBillable");
    }
    reader.end();
    if (versionAtLeast(version, 4, 0)) {
        request.includeRetElements = outer.repeatedLeaves("IncludeRetElement");
    }
    outer.end();
    return request;
}

// Both bounds of a range filter, each optional, in their order.
void readRange(const pugi::xml_node& node, std::string_view fromName, std::string_view toName,
               std::optional<std::string>& from, std::optional<std::string>& to) {
    allowAttributes(node, {});
    ChildReader range(node);
    from = optionalLeaf(range, fromName);
    to = optionalLeaf(range, toName);
    range.end();
}

TimeTrackingQueryRequest readTimeTrackingQuery(const pugi::xml_node& node,
                                               const std::string& version) {
    // Iterators hand out a long answer over several messages, from 5.0 on.
    const bool iterators = versionAtLeast(version, 5, 0);
    if (iterators) {
        allowAttributes(node, {"requestID", "metaData", "iterator", "iteratorID"});
    } else {
        allowAttributes(node, {"requestID"});
    }
    TimeTrackingQueryRequest query;
    query.requestId = requestIdOf(node);
    if (const auto metaData = node.attribute("metaData")) {
        query.metaData = enumValue<MetaData>(
            metaData.value(), {{"NoMetaData", MetaData::NoMetaData},
                               {"MetaDataOnly", MetaData::MetaDataOnly},
                               {"MetaDataAndResponseData", MetaData::MetaDataAndResponseData}});
    }
    if (const auto iterator = node.attribute("iterator")) {
        query.iterator =
            enumValue<IteratorMode>(iterator.value(), {{"Start", IteratorMode::Start},
                                                       {"Continue", IteratorMode::Continue},
                                                       {"Stop", IteratorMode::Stop}});
    }
    query.iteratorId = node.attribute("iteratorID").value();
    ChildReader reader(node);
    if (reader.nextIs("TxnID")) {
        query.txnIds = reader.repeatedLeaves("TxnID");
    } else {
        if (auto text = optionalLeaf(reader, "MaxReturned")) {
            query.maxReturned = parseCount(*text);
            if (!query.maxReturned || *query.maxReturned < 1) {
                parseError();
            }
        }
        if (const auto modified = reader.optional("ModifiedDateRangeFilter")) {
            readRange(modified, "FromModifiedDate", "ToModifiedDate", query.fromModifiedDate,
                      query.toModifiedDate);
        } else if (const auto dates = reader.optional("TxnDateRangeFilter")) {
            // A date macro (Today, LastMonth, ...) is not offered here: refused as unsupported.
            readRange(dates, "FromTxnDate", "ToTxnDate", query.fromTxnDate, query.toTxnDate);
        }
        if (const auto entity = reader.optional("TimeTrackingEntityFilter")) {
            allowAttributes(entity, {});
            ChildReader filter(entity);
            if (filter.nextIs("ListID")) {
                query.entityListIds = filter.repeatedLeaves("ListID");
            } else {
                query.entityFullNames = filter.repeatedLeaves("FullName");
                if (query.entityFullNames.empty()) {
                    parseError();
                }
            }
            filter.end();
        }
    }
    if (versionAtLeast(version, 4, 0)) {
        query.includeRetElements = reader.repeatedLeaves("IncludeRetElement");
    }
    reader.end();
    return query;
}

// The kinds of transaction a TxnDelRq may name; any other is not a valid request.
constexpr std::string_view kTxnDelTypes[] = {"ARRefundCreditCard",
                                             "Bill",
                                             "BillPaymentCheck",
                                             "BillPaymentCreditCard",
                                             "BuildAssembly",
                                             "Charge",
                                             "Check",
                                             "CreditCardCharge",
                                             "CreditCardCredit",
                                             "CreditMemo",
                                             "Deposit",
                                             "Estimate",
                                             "InventoryAdjustment",
                                             "Invoice",
                                             "ItemReceipt",
                                             "JournalEntry",
                                             "PurchaseOrder",
                                             "ReceivePayment",
                                             "SalesOrder",
                                             "SalesReceipt",
                                             "SalesTaxPaymentCheck",
                                             "TimeTracking",
                                             "TransferInventory",
                                             "VehicleMileage",
                                             "VendorCredit"};

TxnDelRequest readTxnDel(const pugi::xml_node& node) {
    allowAttributes(node, {"requestID"});
    TxnDelRequest request;
    request.requestId = requestIdOf(node);
    ChildReader reader(node);
    request.txnDelType = leafText(reader.required("TxnDelType"));
    request.txnId = leafText(reader.required("TxnID"));
    reader.end();
    if (std::find(std::begin(kTxnDelTypes), std::end(kTxnDelTypes), request.txnDelType) ==
        std::end(kTxnDelTypes)) {
        parseError();
    }
    return request;
}

// A message whose time tickets are read one at a time: the text around them, each ticket's
// request in it an empty element of this name, and each ticket's request as a text of its own.
constexpr const char* kPieceName = "vantrell.piece";

struct PiecedMessage {
    pugi::xml_document frame;
    std::string_view text;
    std::vector<std::pair<std::size_t, std::size_t>> pieces;
};

// The message `text` in pieces, when each of its time tickets' requests is a child of
// QBXMLMsgsRq that the scan found and the text around them loads; nothing otherwise (the message
// is then read whole, which refuses it when it is not well-formed).
std::optional<PiecedMessage> inPieces(std::string_view text) {
    auto found = outermostElements(text, "TimeTrackingAddRq");
    if (!found || found->empty()) {
        return std::nullopt;
    }
    std::optional<PiecedMessage> pieced(std::in_place);
    pieced->text = text;
    pieced->pieces = std::move(*found);
    std::string around;
    std::size_t at = 0;
    for (const auto& [begin, end] : pieced->pieces) {
        around.append(text.substr(at, begin - at));
        around.append("<").append(kPieceName).append("/>");
        at = end;
    }
    around.append(text.substr(at));
    if (loadXmlStrict(pieced->frame, around, XmlChecks::Conforming)) {
        return std::nullopt;
    }
    // Each empty element must stand for a piece, in its place: one that the message itself
    // holds, or one out of place, has the message read whole.
    const std::vector<pugi::xml_node> marks = elementsByTagName(pieced->frame, kPieceName);
    if (marks.size() != pieced->pieces.size()) {
        return std::nullopt;
    }
    for (const pugi::xml_node& mark : marks) {
        if (!named(mark.parent(), "QBXMLMsgsRq") || !named(mark.parent().parent(), "QBXML")) {
            return std::nullopt;
        }
    }
    return pieced;
}

// The options a conforming load parses with, for a piece whose text has passed its checks
// already.
constexpr unsigned kCheckedPieceOptions = kStrictParseOptions | pugi::parse_pi;

// Reads the request of one piece: it must load on its own as a conforming document whose only
// element is a TimeTrackingAddRq. A piece read again when it is answered (`checked`) is the
// same text that passed the checks when the message was read, so it is only parsed.
TimeTrackingAddRequest readPiece(std::string_view text, std::pair<std::size_t, std::size_t> piece,
                                 const std::string& version, bool checked) {
    pugi::xml_document document;
    const std::string_view pieceText = text.substr(piece.first, piece.second - piece.first);
    if (checked ? !document.load_buffer(pieceText.data(), pieceText.size(), kCheckedPieceOptions,
                                        pugi::encoding_utf8)
                : loadXmlStrict(document, pieceText, XmlChecks::Conforming).has_value()) {
        parseError();
    }
    const pugi::xml_node root = document.document_element();
    if (!named(root, "TimeTrackingAddRq") || root != document.first_child() ||
        root.next_sibling()) {
        parseError();
    }
    return readTimeTrackingAdd(root, version);
}

// Reads the message that `document` holds; `pieced`, when given, holds the time tickets'
// requests that `document` (its frame) marks.
QbxmlMessage readMessage(const pugi::xml_document& document, const PiecedMessage* pieced,
                         const std::optional<std::string>& highestVersion) {
    QbxmlMessage message;
    message.version = requestedQbxmlVersion(document);
    if (highestVersion && versionAbove(message.version, *highestVersion)) {
        throw ProcessorError(ProcessorCode::UnsupportedVersion);
    }
    const auto root = document.document_element();
    if (!named(root, "QBXML")) {
        parseError();
    }
    allowAttributes(root, {});
    ChildReader top(root);
    const auto messages = top.required("QBXMLMsgsRq");
    top.end();

    allowAttributes(messages, {"onError", "responseData"});
    const auto onError = messages.attribute("onError");
    if (!onError) {
        parseError();
    }
    if (std::string_view(onError.value()) == "rollbackOnError") {
        throw ProcessorError(ProcessorCode::RollbackNotSupported);
    }
    message.onError = enumValue<OnError>(
        onError.value(),
        {{"stopOnError", OnError::StopOnError}, {"continueOnError", OnError::ContinueOnError}});
    if (const auto responseData = messages.attribute("responseData")) {
        message.includeResponseData =
            enumValue<bool>(responseData.value(), {{"includeAll", true}, {"includeNone", false}});
    }

    const ChildReader onlyElements(messages);
    std::size_t nextPiece = 0;
    for (const auto& node : messages.children()) {
        const std::string_view name = node.name();
        if (name == "EmployeeQueryRq") {
            message.requests.emplace_back(readListQuery(node, ListKind::Employee, message.version));
        } else if (name == "PayrollItemWageQueryRq") {
            message.requests.emplace_back(readListQuery(node, ListKind::WageItem, message.version));
        } else if (name == "PayrollItemNonWageQueryRq" && versionAtLeast(message.version, 5, 0)) {
            // Not a request of the versions before 5.0 that the vendor's reference shows.
            message.requests.emplace_back(
                readListQuery(node, ListKind::NonWageItem, message.version));
        } else if (pieced != nullptr && name == kPieceName) {
            // Read now to check it, and read again when it is answered.
            const auto [begin, end] = pieced->pieces.at(nextPiece++);
            readPiece(pieced->text, {begin, end}, message.version, false);
            message.entries.push_back({true, 0, begin, end});
            continue;
        } else if (name == "TimeTrackingAddRq") {
            message.requests.emplace_back(readTimeTrackingAdd(node, message.version));
        } else if (name == "TimeTrackingQueryRq") {
            message.requests.emplace_back(readTimeTrackingQuery(node, message.version));
        } else if (name == "TxnDelRq") {
            message.requests.emplace_back(readTxnDel(node));
        } else if (node.type() == pugi::node_element) {
            parseError();
        } else {
            continue;
        }
        message.entries.push_back({false, message.requests.size() - 1, 0, 0});
    }
    if (pieced != nullptr) {
        message.text = pieced->text;
    }
    return message;
}

}  // namespace

QbxmlMessage readQbxmlMessage(std::string_view text,
                              const std::optional<std::string>& highestVersion) {
    // A message of many time tickets is read one ticket at a time, so that no tree of the whole
    // message, nor a second copy of its text, is held.
    if (const std::optional<PiecedMessage> pieced = inPieces(text)) {
        return readMessage(pieced->frame, &*pieced, highestVersion);
    }
    pugi::xml_document document;
    if (loadXmlStrict(document, text, XmlChecks::Conforming)) {
        parseError();
    }
    return readMessage(document, nullptr, highestVersion);
}

QbxmlRequest takeRequest(QbxmlMessage& message, std::size_t i) {
    const RequestEntry& entry = message.entries.at(i);
    if (entry.isText) {
        return readPiece(message.text, {entry.begin, entry.end}, message.version, true);
    }
    return std::move(message.requests.at(entry.index));
}

}  // namespace vantrell::standins
