#include "shell/win32/Win32LocateHost.h"

#include <iterator>

#include "diag/Utf16.h"
#include "shell/win32/ActivationTracker.h"
#include "shell/win32/DialogLayout.h"
#include "shell/win32/Twips.h"
#include "shell/win32/resource.h"

namespace vantrell::win32 {

namespace {

// Client area and controls of frmLocateCHdata, in twips.
constexpr int kClientWidth = 3915;
constexpr int kClientHeight = 2280;
constexpr TwipsRect kControls[] = {
    {IDC_LBLLOCATE, 240, 240, 3375, 1215},
    {IDC_CMDOK, 120, 1560, 975, 495},
    {IDC_LOCATECLOSE, 2760, 1560, 975, 495},
};

struct DialogContext {
    frmLocateCHdata& logic;
    Win32LocateHost& host;
    void (*openedHook)(HWND, void*);
    void* hookContext;
    HFONT labelFont = nullptr;
};

}  // namespace

void Win32LocateHost::showModal(frmLocateCHdata& dialog) {
    DialogContext context{dialog, *this, openedHook_, hookContext_};
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_FRMLOCATECHDATA), owner_,
                    &Win32LocateHost::dialogProc, reinterpret_cast<LPARAM>(&context));
    if (context.labelFont != nullptr) {
        DeleteObject(context.labelFont);
    }
}

INT_PTR CALLBACK Win32LocateHost::dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            context = reinterpret_cast<DialogContext*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            const int dpi = screenDotsPerInch();
            layOutInTwips(dialog, kClientWidth, kClientHeight, kControls,
                          static_cast<int>(std::size(kControls)), dpi);
            // "MS Sans Serif" at 12 points, regular weight.
            context->labelFont =
                CreateFontW(-MulDiv(12, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
            const HWND label = GetDlgItem(dialog, IDC_LBLLOCATE);
            SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(context->labelFont), FALSE);
            SetWindowTextW(label, widen(context->logic.lblLocate()).c_str());
            if (context->openedHook != nullptr) {
                context->openedHook(dialog, context->hookContext);
            }
            return TRUE;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) {
                ActivationTracker::instance().becameActive(dialog);
            }
            return FALSE;
        case WM_COMMAND:
            if (context == nullptr || HIWORD(wParam) != BN_CLICKED) {
                return FALSE;
            }
            switch (LOWORD(wParam)) {
                case IDC_CMDOK:
                case IDOK:  // Enter
                    context->logic.cmdOK_Click();
                    if (context->logic.closed()) {
                        EndDialog(dialog, IDOK);
                    }
                    return TRUE;
                case IDC_LOCATECLOSE:
                case IDCANCEL:  // Esc and the frame's close box
                    context->logic.cmdClose_Click();
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace vantrell::win32
