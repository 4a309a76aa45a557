#include "shell/win32/DispatchObject.h"

#include <objbase.h>
#include <oleauto.h>

#include "diag/Failure.h"
#include "diag/Utf16.h"
#include "qblink/RequestProcessor.h"
#include "shell/win32/ComFailure.h"

namespace vantrell::win32 {

namespace {

// Arguments as VARIANTs, freed however the call ends.
struct VariantArguments {
    std::vector<VARIANT> values;
    ~VariantArguments() {
        for (VARIANT& value : values) {
            VariantClear(&value);
        }
    }
};

// The texts of an EXCEPINFO, freed however the call ends.
struct ExceptionInfo {
    EXCEPINFO info{};
    ~ExceptionInfo() {
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
};

std::string bstrText(BSTR text) {
    return text != nullptr ? narrow(std::wstring_view(text, SysStringLen(text))) : std::string();
}

}  // namespace

DispatchObject::DispatchObject(const std::wstring& progId) {
    CLSID classId{};
    HRESULT result = CLSIDFromProgID(progId.c_str(), &classId);
    if (FAILED(result)) {
        throw Failure(narrow(progId) + " is not registered: " + comFailureText(result, ""));
    }
    result = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                              IID_IDispatch, reinterpret_cast<void**>(&object_));
    if (FAILED(result)) {
        object_ = nullptr;
        throw Failure(narrow(progId) + " could not be created: " + comFailureText(result, ""));
    }
}

DispatchObject::~DispatchObject() {
    if (object_ != nullptr) {
        object_->Release();
    }
}

DISPID DispatchObject::dispatchId(const std::wstring& name) {
    if (const auto found = ids_.find(name); found != ids_.end()) {
        return found->second;
    }
    DISPID id = DISPID_UNKNOWN;
    std::wstring text = name;
    LPOLESTR names[] = {text.data()};
    const HRESULT result = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result)) {
        throw Failure("The request processor has no operation " + narrow(name) + ": " +
                      comFailureText(result, ""));
    }
    ids_.emplace(name, id);
    return id;
}

std::wstring DispatchObject::call(const std::wstring& name,
                                  const std::vector<Argument>& arguments) {
    const DISPID id = dispatchId(name);
    // IDispatch takes the arguments last to first.
    VariantArguments values;
    values.values.resize(arguments.size());
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        VARIANT& value = values.values[arguments.size() - 1 - i];
        VariantInit(&value);
        const Argument& argument = arguments[i];
        if (argument.isText) {
            value.vt = VT_BSTR;
            value.bstrVal =
                SysAllocStringLen(argument.text.data(), static_cast<UINT>(argument.text.size()));
            if (value.bstrVal == nullptr) {
                value.vt = VT_EMPTY;
                throw Failure("Out of memory for the arguments of " + narrow(name) + ".");
            }
        } else {
            value.vt = VT_I4;
            value.lVal = argument.number;
        }
    }
    DISPPARAMS parameters{};
    parameters.rgvarg = values.values.empty() ? nullptr : values.values.data();
    parameters.cArgs = static_cast<UINT>(values.values.size());

    VARIANT result;
    VariantInit(&result);
    ExceptionInfo exception;
    UINT badArgument = 0;
    HRESULT status = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                     &parameters, &result, &exception.info, &badArgument);
    if (status == DISP_E_EXCEPTION) {
        if (exception.info.pfnDeferredFillIn != nullptr) {
            exception.info.pfnDeferredFillIn(&exception.info);
        }
        // The component's own code, when it gave one, says more than DISP_E_EXCEPTION.
        const HRESULT code =
            exception.info.scode != 0 ? exception.info.scode
            : exception.info.wCode != 0
                ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, exception.info.wCode)
                : status;
        // With its code, so that the link can word the cases the user must act on.
        throw ProcessorFailure(static_cast<std::uint32_t>(code),
                               comFailureText(code, bstrText(exception.info.bstrDescription)));
    }
    if (FAILED(status)) {
        throw Failure(narrow(name) + " failed: " + comFailureText(status, ""));
    }
    std::wstring text;
    if (result.vt != VT_EMPTY && result.vt != VT_NULL) {
        status = VariantChangeType(&result, &result, 0, VT_BSTR);
        if (FAILED(status)) {
            VariantClear(&result);
            throw Failure(narrow(name) +
                          " returned a value that is not text: " + comFailureText(status, ""));
        }
        text.assign(result.bstrVal, SysStringLen(result.bstrVal));
    }
    VariantClear(&result);
    return text;
}

}  // namespace vantrell::win32
