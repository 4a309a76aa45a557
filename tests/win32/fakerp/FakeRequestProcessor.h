#pragma once

#include <oaidl.h>

#include <memory>

#include "qblink/RequestProcessor.h"

namespace vantrell::fakerp {

// {FEADDC67-906B-4177-A4B0-488C1CFAD822}: the fake's own class, registered under the accounting
// system's ProgID in a throwaway Wine prefix.
inline constexpr CLSID kFakeClassId = {
    0xfeaddc67, 0x906b, 0x4177, {0xa4, 0xb0, 0x48, 0x8c, 0x1c, 0xfa, 0xd8, 0x22}};

// Objects alive in this DLL, for DllCanUnloadNow.
extern long objectCount;

// A request processor reached only through IDispatch, with no type library, as a late-bound
// client sees the real one: the five operations by name, answered by the simulated accounting
// system. A failure is raised as the real component raises it: DISP_E_EXCEPTION with the
// HRESULT in EXCEPINFO's scode and the component's text as its description.
//
// For tests, two environment variables of the calling process: VANTRELL_FAKERP_LOG names a file
// that gets one line per call ("Operation arg|arg"); VANTRELL_FAKERP_FAIL names an operation
// that fails with 0x80040408 "Could not start QuickBooks.".
// COM objects are destroyed by their own Release, never through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class FakeRequestProcessor final : public IDispatch {
  public:
    FakeRequestProcessor();
    ~FakeRequestProcessor();
    FakeRequestProcessor(const FakeRequestProcessor&) = delete;
    FakeRequestProcessor& operator=(const FakeRequestProcessor&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override;

  private:
    long references_ = 1;
    std::unique_ptr<RequestProcessor> simulator_;
};
#pragma GCC diagnostic pop

}  // namespace vantrell::fakerp
