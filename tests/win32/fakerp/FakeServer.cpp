// The in-process server around FakeRequestProcessor: class factory, registration under the
// accounting system's ProgIDs, and the four exports regsvr32 and COM call.
#include <windows.h>

#include <objbase.h>
#include <olectl.h>

#include <new>
#include <string>

#include "FakeRequestProcessor.h"

namespace {

using vantrell::fakerp::FakeRequestProcessor;
using vantrell::fakerp::kFakeClassId;

HMODULE thisModule = nullptr;
long lockCount = 0;

constexpr const wchar_t* kProgIds[] = {L"QBXMLRP2.RequestProcessor", L"QBXMLRP.RequestProcessor"};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"  // destroyed by Release only
class ClassFactory final : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is static: it lives as long as the DLL.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        auto* created = new (std::nothrow) FakeRequestProcessor;
        if (created == nullptr) {
            return E_OUTOFMEMORY;
        }
        const HRESULT result = created->QueryInterface(riid, object);
        created->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        lock ? InterlockedIncrement(&lockCount) : InterlockedDecrement(&lockCount);
        return S_OK;
    }
};
#pragma GCC diagnostic pop

ClassFactory factory;

std::wstring classIdText() {
    wchar_t text[40];
    StringFromGUID2(kFakeClassId, text, 40);
    return text;
}

LSTATUS setText(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        thisModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID riid, void** object) {
    if (!IsEqualCLSID(classId, kFakeClassId)) {
        *object = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return factory.QueryInterface(riid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return vantrell::fakerp::objectCount == 0 && lockCount == 0 ? S_OK : S_FALSE;
}

// Registers in HKEY_CLASSES_ROOT: Wine does not look up ProgIDs registered per user.
extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(thisModule, path, MAX_PATH);
    const std::wstring id = classIdText();
    const std::wstring classKey = L"CLSID\\" + id;
    LSTATUS status = setText(classKey, nullptr, L"Fake qbXML request processor");
    status |= setText(classKey + L"\\InprocServer32", nullptr, path);
    status |= setText(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    status |= setText(classKey + L"\\ProgID", nullptr, kProgIds[0]);
    for (const wchar_t* progId : kProgIds) {
        status |= setText(progId, nullptr, L"Fake qbXML request processor");
        status |= setText(std::wstring(progId) + L"\\CLSID", nullptr, id);
    }
    return status == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    for (const wchar_t* progId : kProgIds) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, progId);
    }
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + classIdText()).c_str());
    return S_OK;
}
