#include "interfacedb/modDataDef.h"

#include "diag/Guard.h"
#include "diag/RequireObject.h"
#include "interfacedb/ConnectionString.h"
#include "interfacedb/DbError.h"
#include "interfacedb/ObjectState.h"

namespace vantrell {

namespace {

bool isCloseableState(int state) {
    return state == db::kStateOpen || state == db::kStateConnecting ||
           state == db::kStateExecuting || state == db::kStateFetching;
}

}  // namespace

bool blnOpenConnection(modErrorLog& log, ConnectionRef& cn, const std::string& path) {
    bool result = false;
    guard(log, "blnOpenConnection", path, [&] {
        if (!cn) {
            cn = std::make_unique<db::Connection>();
        }
        if (cn->connectionString().empty()) {
            cn->open(db::connectionStringFor(path), "", "", -1);
        }
        result = true;
    });
    return result;
}

bool blnCloseConnection(modErrorLog& log, ConnectionRef& cn) {
    bool result = false;
    guard(log, "blnCloseConnection", [&] {
        if (cn && isCloseableState(cn->state())) {
            cn->close();
            cn.reset();
        }
        result = true;
    });
    return result;
}

bool blnCloseRecordset(modErrorLog& log, RecordsetRef& rs) {
    bool result = false;
    guard(log, "blnCloseRecordset", [&] {
        if (rs && isCloseableState(rs->state())) {
            rs->close();
            rs.reset();
        }
        result = true;
    });
    return result;
}

bool blnHasRecords(modErrorLog& log, RecordsetRef& rs) {
    bool result = false;
    guard(log, "blnHasRecords", [&] {
        const db::Recordset& set = requireObject<db::DbError>(rs);
        result = !(set.bof() && set.eof());
    });
    return result;
}

}  // namespace vantrell
