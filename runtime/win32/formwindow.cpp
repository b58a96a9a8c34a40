// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formwindow.h"

#include "dpi.h"
#include "form.h"
#include "utf16.h"

namespace rt::win32 {

namespace {

constexpr wchar_t formClassName[] = L"Bargeling.Form";
// The program's icon, as runtime_add_program_icon() builds it in.
constexpr WORD programIconId = 1;

HICON programIcon(int side)
{
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(programIconId), IMAGE_ICON, side, side, LR_SHARED));
}

void registerFormClass(WNDPROC windowProc)
{
    static const bool registered = [windowProc] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hIcon = programIcon(GetSystemMetrics(SM_CXICON));
        windowClass.hIconSm = programIcon(GetSystemMetrics(SM_CXSMICON));
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        windowClass.lpszClassName = formClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

DWORD styleOf(BorderStyle border)
{
    switch (border) {
    case BorderStyle::FixedSingle:
        return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    case BorderStyle::None:
        return WS_POPUP | WS_CLIPCHILDREN;
    }
    return WS_OVERLAPPEDWINDOW;
}

Rect toRect(const RECT& rect)
{
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

RECT windowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// The frame as the user sees it: without the invisible border that Windows 10 and later add
// around it. dwmapi is a system DLL, loaded only where it is there.
Rect visibleFrame(HWND window)
{
    using DwmGetWindowAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
    static const auto getAttribute = systemFunction<DwmGetWindowAttributeFunction>(L"dwmapi.dll", "DwmGetWindowAttribute");
    constexpr DWORD extendedFrameBounds = 9; // DWMWA_EXTENDED_FRAME_BOUNDS
    RECT visible{};
    if (getAttribute && getAttribute(window, extendedFrameBounds, &visible, sizeof visible) == S_OK
        && visible.right > visible.left && visible.bottom > visible.top)
        return toRect(visible);
    return toRect(windowRect(window));
}

// Measured on the screen: a font's metrics in pixels do not depend on the window it draws in.
FontMetrics metricsOf(HFONT font)
{
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    const bool measured = GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return measured ? FontMetrics{static_cast<double>(metrics.tmAveCharWidth), static_cast<double>(metrics.tmHeight)} : FontMetrics{};
}

} // namespace

// Made at its size at the system's DPI, where a new window stands; measured again only where it
// landed at another, and laid out then by the form.
FormWindow::FormWindow(Form& form, BorderStyle border, const FormWindow* owner)
    : FormDriver(form)
    , style_(styleOf(border))
    , exStyle_(owner ? WS_EX_TOOLWINDOW : 0)
{
    registerFormClass(windowProc);
    measure(dpiOfWindow(nullptr));
    const Size client = clientSizeFor(metrics_);
    const RECT frame = frameAround({client.width, client.height}, style_, exStyle_, dpi_);
    const int where = owner ? 0 : CW_USEDEFAULT;
    window_.reset(CreateWindowExW(exStyle_, formClassName, L"", style_, where, where, frame.right - frame.left,
        frame.bottom - frame.top, owner ? owner->handle() : nullptr, nullptr, GetModuleHandleW(nullptr), this));
    if (const UINT dpi = handle() ? dpiOfWindow(handle()) : dpi_; dpi != dpi_)
        measure(dpi);
}

void FormWindow::setTitle(const std::string& title)
{
    SetWindowTextW(handle(), widen(title).c_str());
}

void FormWindow::setShown(bool shown)
{
    if (!shown) {
        ShowWindow(handle(), SW_HIDE);
        return;
    }
    // The first show of the start-up form takes the state it was started in (a shortcut set to
    // run minimized, say).
    ShowWindow(handle(), !shownBefore() && !owned() ? SW_SHOWDEFAULT : SW_SHOW);
    UpdateWindow(handle());
    // A hidden form is measured when it is shown: an owned form may have been moved beside an
    // owner on a monitor of another DPI.
    if (const UINT dpi = dpiOfWindow(handle()); dpi != dpi_)
        remeasure(dpi);
}

bool FormWindow::isShown() const
{
    return IsWindowVisible(handle()) != FALSE;
}

void FormWindow::setClientSize(Size size)
{
    const RECT frame = frameAround({size.width, size.height}, style_, exStyle_, dpi_);
    const RECT now = windowRect(handle());
    if (frame.right - frame.left != now.right - now.left || frame.bottom - frame.top != now.bottom - now.top)
        SetWindowPos(handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect FormWindow::frame() const
{
    return visibleFrame(handle());
}

Point FormWindow::clientOrigin() const
{
    POINT origin{0, 0};
    ClientToScreen(handle(), &origin);
    return {origin.x, origin.y};
}

Rect FormWindow::workArea() const
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    return toRect(monitor.rcWork);
}

// The visible frame's corner to the place: the window's own lies that much further out.
void FormWindow::moveFrameTo(Point topLeft)
{
    const RECT window = windowRect(handle());
    const Rect visible = frame();
    SetWindowPos(handle(), nullptr, topLeft.x - (visible.left - window.left), topLeft.y - (visible.top - window.top), 0, 0,
        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::focusOn(ControlDriver& control)
{
    if (const auto* child = dynamic_cast<const ChildWindow*>(&control))
        focus_ = child->handle();
    if (focus_ && GetActiveWindow() == handle())
        SetFocus(focus_);
}

LRESULT CALLBACK FormWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* form = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->handle_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return form ? form->handleMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT FormWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (const HWND focused = GetFocus(); focused && IsChild(handle_, focused))
                focus_ = focused;
        } else if (focus_ && !HIWORD(wParam)) { // not while minimized
            SetFocus(focus_);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (focus_) {
            SetFocus(focus_);
            return 0;
        }
        break;
    case WM_CLOSE:
        setShown(false);
        if (closed_)
            closed_();
        return 0;
    case WM_DPICHANGED:
        // Where the system suggests, at the size of the form's own layout.
        if (const auto* suggested = reinterpret_cast<const RECT*>(lParam); isShown()) {
            SetWindowPos(handle_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            remeasure(HIWORD(wParam));
        }
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETNONCLIENTMETRICS)
            remeasure(dpi_);
        break;
    case WM_SYSCOLORCHANGE:
        InvalidateRect(handle_, nullptr, TRUE);
        break;
    default:
        break;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

void FormWindow::measure(UINT dpi)
{
    dpi_ = dpi ? dpi : defaultDpi;
    const LOGFONTW logFont = messageFont(dpi_);
    font_.reset(CreateFontIndirectW(&logFont));
    metrics_ = {static_cast<double>(dpi_) / defaultDpi, metricsOf(font_.get())};
}

void FormWindow::remeasure(UINT dpi)
{
    // The old font goes only once every control has the new one.
    const UniqueFont previous = std::move(font_);
    measure(dpi);
    metricsChanged();
}

ChildWindow::ChildWindow(const FormWindow& form, const wchar_t* className, DWORD style, DWORD exStyle, const Rect& area)
    : form_(form)
    , window_(CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, area.left, area.top, area.width,
          area.height, form.handle(), nullptr, GetModuleHandleW(nullptr), nullptr))
{
    // Made in its place; it has not been drawn yet, in any font.
    SendMessageW(handle(), WM_SETFONT, reinterpret_cast<WPARAM>(form_.font()), FALSE);
}

// The class's own procedure back before the window goes, with this object: none of the window's
// last messages reaches the control.
ChildWindow::~ChildWindow()
{
    if (classProcedure_)
        SetWindowLongPtrW(handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProcedure_));
}

void ChildWindow::subclass(WNDPROC procedure)
{
    SetWindowLongPtrW(handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    classProcedure_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

LRESULT ChildWindow::callClass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return CallWindowProcW(classProcedure_, window, message, wParam, lParam);
}

void ChildWindow::moveTo(const Rect& area) const
{
    SetWindowPos(handle(), nullptr, area.left, area.top, area.width, area.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(handle(), WM_SETFONT, reinterpret_cast<WPARAM>(form_.font()), TRUE);
}

} // namespace rt::win32

std::unique_ptr<rt::FormDriver> rt::makeFormDriver(Form& form, BorderStyle border, FormDriver* owner)
{
    return std::make_unique<win32::FormWindow>(form, border, static_cast<const win32::FormWindow*>(owner));
}
