#include "standins/TxnDeletion.h"

namespace vantrell::standins {

ResponseStatus deleteTransaction(const TxnDelRequest& request, CompanyFile& file) {
    if (request.txnDelType != "TimeTracking" || !file.deleteTicket(request.txnId)) {
        return objectNotFound(request.txnId);
    }
    return statusOk();
}

}  // namespace vantrell::standins
