#include "interfacedb/stage/CheckInputs.h"

#include "interfacedb/ObjectState.h"

#include <system_error>
#include <utility>

namespace vantrell::stage {

CheckInputs readCheckInputs(db::Connection& cn, const std::string& companyFile) {
    CheckInputs inputs;
    inputs.journal = recordedChronelNames(cn, companyFile);
    inputs.staged = readStagedTickets(cn);
    return inputs;
}

CheckInputsReading::CheckInputsReading(db::Connection& cn, std::string companyFile)
    : cn_(cn), companyFile_(std::move(companyFile)) {}

CheckInputsReading::~CheckInputsReading() {
    if (reading_.valid()) {
        reading_.wait();
    }
}

void CheckInputsReading::start() {
    if (started_) {
        return;
    }
    started_ = true;
    if (cn_.state() != db::kStateOpen || cn_.transactionOpen()) {
        return;
    }
    try {
        reading_ = std::async(std::launch::async,
                              [connection = cn_.connectionString(), companyFile = companyFile_] {
                                  db::Connection own;
                                  own.open(connection);
                                  return readCheckInputs(own, companyFile);
                              });
    } catch (const std::system_error&) {
        // No thread to be had: take() reads them.
    }
}

CheckInputs CheckInputsReading::take() {
    if (reading_.valid()) {
        return reading_.get();
    }
    return readCheckInputs(cn_, companyFile_);
}

}  // namespace vantrell::stage
