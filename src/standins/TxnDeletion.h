#pragma once

#include "standins/CompanyFile.h"
#include "standins/QbxmlRequests.h"
#include "standins/ResponseStatus.h"

namespace vantrell::standins {

// Deletes the transaction a TxnDelRq names and returns the status to answer with: 0 when it
// was deleted; 3120 when the file holds no such transaction, which is always so for a kind
// other than TimeTracking, since the file keeps no other transactions. Throws CompanyFileError
// when the file cannot be read or written.
ResponseStatus deleteTransaction(const TxnDelRequest& request, CompanyFile& file);

}  // namespace vantrell::standins
