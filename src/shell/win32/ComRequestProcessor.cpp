#include "shell/win32/ComRequestProcessor.h"

#include <objbase.h>

#include "diag/Failure.h"
#include "diag/Utf16.h"
#include "shell/win32/DispatchObject.h"

namespace vantrell::win32 {

ComRequestProcessor::ComRequestProcessor(const std::vector<std::wstring>& progIds) {
    // S_FALSE: already in an apartment of this kind; both need a matching CoUninitialize.
    const HRESULT joined = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    uninitialize_ = SUCCEEDED(joined);
    std::string reasons;
    for (const std::wstring& progId : progIds) {
        try {
            object_ = std::make_unique<DispatchObject>(progId);
            return;
        } catch (const Failure& failure) {
            reasons += (reasons.empty() ? "" : "; ") + std::string(failure.what());
        }
    }
    if (uninitialize_) {
        CoUninitialize();
    }
    throw Failure("The accounting system's request processor could not be created: " + reasons);
}

ComRequestProcessor::~ComRequestProcessor() {
    object_.reset();
    if (uninitialize_) {
        CoUninitialize();
    }
}

void ComRequestProcessor::OpenConnection(const std::string& appID, const std::string& appName) {
    object_->call(L"OpenConnection", {widen(appID), widen(appName)});
}

std::string ComRequestProcessor::BeginSession(const std::string& qbFileName, int fileMode) {
    return narrow(object_->call(L"BeginSession", {widen(qbFileName), static_cast<long>(fileMode)}));
}

std::string ComRequestProcessor::ProcessRequest(const std::string& ticket,
                                                const std::string& request) {
    return narrow(object_->call(L"ProcessRequest", {widen(ticket), widen(request)}));
}

void ComRequestProcessor::EndSession(const std::string& ticket) {
    object_->call(L"EndSession", {widen(ticket)});
}

void ComRequestProcessor::CloseConnection() {
    object_->call(L"CloseConnection", {});
}

}  // namespace vantrell::win32
