#include "FakeRequestProcessor.h"

#include <oleauto.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "diag/Utf16.h"
#include "standins/ProcessorError.h"
#include "standins/SimulatedRequestProcessor.h"

namespace vantrell::fakerp {

long objectCount = 0;

namespace {

enum Operation : DISPID {
    kOpenConnection = 1,
    kBeginSession,
    kProcessRequest,
    kEndSession,
    kCloseConnection
};

struct Named {
    const wchar_t* name;
    DISPID id;
};
constexpr Named kOperations[] = {{L"OpenConnection", kOpenConnection},
                                 {L"BeginSession", kBeginSession},
                                 {L"ProcessRequest", kProcessRequest},
                                 {L"EndSession", kEndSession},
                                 {L"CloseConnection", kCloseConnection}};

constexpr HRESULT kCouldNotStart = static_cast<HRESULT>(0x80040408);

// A failure to raise through EXCEPINFO.
struct Raised {
    HRESULT code;
    std::string description;
};

const wchar_t* nameOf(DISPID id) {
    for (const Named& operation : kOperations) {
        if (operation.id == id) {
            return operation.name;
        }
    }
    return L"";
}

// Argument `index` (first = 0) as text; IDispatch passes the arguments last to first.
std::string textArgument(const DISPPARAMS& parameters, UINT index) {
    if (index >= parameters.cArgs) {
        throw Raised{DISP_E_BADPARAMCOUNT, "Too few arguments."};
    }
    VARIANT copy;
    VariantInit(&copy);
    VARIANT& given = parameters.rgvarg[parameters.cArgs - 1 - index];
    if (FAILED(VariantChangeType(&copy, &given, 0, VT_BSTR))) {
        throw Raised{DISP_E_TYPEMISMATCH, "An argument is not text."};
    }
    const std::string text = narrow(std::wstring_view(copy.bstrVal, SysStringLen(copy.bstrVal)));
    VariantClear(&copy);
    return text;
}

int numberArgument(const DISPPARAMS& parameters, UINT index) {
    return std::stoi(textArgument(parameters, index));
}

void logCall(DISPID id, const std::vector<std::string>& arguments) {
    const char* path = std::getenv("VANTRELL_FAKERP_LOG");
    if (path == nullptr || *path == '\0') {
        return;
    }
    std::ofstream log(path, std::ios::app | std::ios::binary);
    log << narrow(nameOf(id));
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        log << (i == 0 ? " " : "|") << arguments[i];
    }
    log << '\n';
}

}  // namespace

FakeRequestProcessor::FakeRequestProcessor()
    : simulator_(std::make_unique<SimulatedRequestProcessor>()) {
    InterlockedIncrement(&objectCount);
}

FakeRequestProcessor::~FakeRequestProcessor() {
    InterlockedDecrement(&objectCount);
}

HRESULT STDMETHODCALLTYPE FakeRequestProcessor::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE FakeRequestProcessor::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG STDMETHODCALLTYPE FakeRequestProcessor::Release() {
    const long left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE FakeRequestProcessor::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeRequestProcessor::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    *info = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE FakeRequestProcessor::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count,
                                                              LCID, DISPID* ids) {
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        for (const Named& operation : kOperations) {
            // Late binding matches names without regard to case.
            if (i == 0 && _wcsicmp(names[i], operation.name) == 0) {
                ids[i] = operation.id;
            }
        }
        if (ids[i] == DISPID_UNKNOWN) {
            result = DISP_E_UNKNOWNNAME;
        }
    }
    return result;
}

HRESULT STDMETHODCALLTYPE FakeRequestProcessor::Invoke(DISPID id, REFIID, LCID, WORD flags,
                                                       DISPPARAMS* parameters, VARIANT* result,
                                                       EXCEPINFO* exception, UINT*) {
    if ((flags & DISPATCH_METHOD) == 0) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (result != nullptr) {
        VariantInit(result);
    }
    try {
        std::vector<std::string> arguments;
        const UINT count = id == kCloseConnection ? 0 : id == kEndSession ? 1 : 2;
        for (UINT i = 0; i < count; ++i) {
            arguments.push_back(textArgument(*parameters, i));
        }
        logCall(id, arguments);
        const char* failing = std::getenv("VANTRELL_FAKERP_FAIL");
        if (failing != nullptr && narrow(nameOf(id)) == failing) {
            throw Raised{kCouldNotStart, "Could not start QuickBooks."};
        }
        std::string answer;
        switch (id) {
            case kOpenConnection:
                simulator_->OpenConnection(arguments[0], arguments[1]);
                break;
            case kBeginSession:
                answer = simulator_->BeginSession(arguments[0], numberArgument(*parameters, 1));
                break;
            case kProcessRequest:
                answer = simulator_->ProcessRequest(arguments[0], arguments[1]);
                break;
            case kEndSession:
                simulator_->EndSession(arguments[0]);
                break;
            case kCloseConnection:
                simulator_->CloseConnection();
                break;
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
        if (result != nullptr && (id == kBeginSession || id == kProcessRequest)) {
            const std::wstring text = widen(answer);
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        }
        return S_OK;
    } catch (const Raised& raised) {
        if (raised.code == DISP_E_BADPARAMCOUNT || raised.code == DISP_E_TYPEMISMATCH) {
            return raised.code;
        }
        if (exception != nullptr) {
            *exception = EXCEPINFO{};
            exception->bstrSource = SysAllocString(L"QBXMLRP2.RequestProcessor");
            exception->bstrDescription = SysAllocString(widen(raised.description).c_str());
            exception->scode = raised.code;
        }
        return DISP_E_EXCEPTION;
    } catch (const standins::ProcessorError& error) {
        if (exception != nullptr) {
            *exception = EXCEPINFO{};
            exception->bstrSource = SysAllocString(L"QBXMLRP2.RequestProcessor");
            exception->bstrDescription = SysAllocString(widen(error.what()).c_str());
            exception->scode = static_cast<HRESULT>(error.code());
        }
        return DISP_E_EXCEPTION;
    } catch (const std::exception& error) {
        if (exception != nullptr) {
            *exception = EXCEPINFO{};
            exception->bstrDescription = SysAllocString(widen(error.what()).c_str());
            exception->scode = E_FAIL;
        }
        return DISP_E_EXCEPTION;
    }
}

}  // namespace vantrell::fakerp
