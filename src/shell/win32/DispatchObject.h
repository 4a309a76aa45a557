#pragma once

#include <oaidl.h>

#include <map>
#include <string>
#include <vector>

namespace vantrell::win32 {

// A COM object reached through IDispatch late binding: its methods are called by name, so no
// type library or vendor header is needed.
class DispatchObject {
  public:
    // Creates the object registered under `progId` (in-process or local server). Throws Failure
    // with comFailureText when the ProgID is not registered or the object cannot be created.
    explicit DispatchObject(const std::wstring& progId);
    ~DispatchObject();
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    // One argument of a call: text (a BSTR) or a number (a long).
    struct Argument {
        // Implicit, so that a call lists its arguments as they are.
        Argument(std::wstring value) : isText(true), text(std::move(value)) {}
        Argument(long value) : isText(false), number(value) {}
        bool isText;
        std::wstring text;
        long number = 0;
    };
    // Calls the method `name` with text and number arguments, in order, and returns its result
    // as text ("" when it returns nothing). A failure, including an error raised by the
    // component, throws Failure with the component's description and the HRESULT.
    std::wstring call(const std::wstring& name, const std::vector<Argument>& arguments);

  private:
    DISPID dispatchId(const std::wstring& name);

    IDispatch* object_ = nullptr;
    std::map<std::wstring, DISPID> ids_;
};

}  // namespace vantrell::win32
