#include "shell/win32/Win32WindowPrinter.h"

#include <winspool.h>

#include <string>
#include <vector>

#include "diag/Failure.h"
#include "diag/Utf16.h"

namespace vantrell::win32 {

namespace {

std::wstring defaultPrinterName() {
    DWORD length = 0;
    GetDefaultPrinterW(nullptr, &length);
    if (length == 0) {
        throw Failure("No default printer is installed.");
    }
    std::wstring name(length, L'\0');
    if (!GetDefaultPrinterW(name.data(), &length)) {
        throw Failure("No default printer is installed.");
    }
    name.resize(length > 0 ? length - 1 : 0);
    return name;
}

// The window's pixels, frame included, as a 32-bit top-down bitmap.
struct WindowImage {
    BITMAPINFO info{};
    std::vector<std::uint32_t> pixels;
};

WindowImage captureWindow(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) {
        throw Failure("There is no window to print.");
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const BOOL printed = PrintWindow(window, memory, 0);
    SelectObject(memory, old);

    WindowImage image;
    image.info.bmiHeader.biSize = sizeof image.info.bmiHeader;
    image.info.bmiHeader.biWidth = width;
    image.info.bmiHeader.biHeight = -height;
    image.info.bmiHeader.biPlanes = 1;
    image.info.bmiHeader.biBitCount = 32;
    image.info.bmiHeader.biCompression = BI_RGB;
    image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const int lines = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), image.pixels.data(),
                                &image.info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!printed || lines != height) {
        throw Failure("The window's image could not be taken.");
    }
    return image;
}

struct PrinterDc {
    HDC dc = nullptr;
    bool docStarted = false;
    ~PrinterDc() {
        if (docStarted) {
            AbortDoc(dc);
        }
        if (dc != nullptr) {
            DeleteDC(dc);
        }
    }
};

}  // namespace

void Win32WindowPrinter::printWindowImage() {
    if (window_ == nullptr) {
        throw Failure("There is no window to print.");
    }
    const std::wstring printer = defaultPrinterName();
    const std::string printerText = narrow(printer);
    const WindowImage image = captureWindow(window_);

    PrinterDc target;
    target.dc = CreateDCW(L"WINSPOOL", printer.c_str(), nullptr, nullptr);
    if (target.dc == nullptr) {
        throw Failure("The printer " + printerText + " could not be used.");
    }
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = L"Vantrell";
    if (StartDocW(target.dc, &document) <= 0) {
        throw Failure("The printer " + printerText + " could not be used.");
    }
    target.docStarted = true;
    if (StartPage(target.dc) <= 0) {
        throw Failure("Printing on " + printerText + " failed.");
    }
    // The image as large as the page allows, its proportions kept.
    const int pageWidth = GetDeviceCaps(target.dc, HORZRES);
    const int pageHeight = GetDeviceCaps(target.dc, VERTRES);
    const int imageWidth = image.info.bmiHeader.biWidth;
    const int imageHeight = -image.info.bmiHeader.biHeight;
    int width = pageWidth;
    int height = MulDiv(imageHeight, pageWidth, imageWidth);
    if (height > pageHeight) {
        height = pageHeight;
        width = MulDiv(imageWidth, pageHeight, imageHeight);
    }
    const int drawn = StretchDIBits(target.dc, 0, 0, width, height, 0, 0, imageWidth, imageHeight,
                                    image.pixels.data(), &image.info, DIB_RGB_COLORS, SRCCOPY);
    if (drawn == 0 || static_cast<unsigned>(drawn) == GDI_ERROR || EndPage(target.dc) <= 0 ||
        EndDoc(target.dc) <= 0) {
        throw Failure("Printing on " + printerText + " failed.");
    }
    target.docStarted = false;
}

}  // namespace vantrell::win32
