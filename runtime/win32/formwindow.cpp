// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formwindow.h"

#include "dpi.h"
#include "utf16.h"

#include <algorithm>
#include <cassert>
#include <commctrl.h>

namespace rt {

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
        win32::makeProcessDpiAware();
        // Version 6 of the common controls, as the manifest asks, draws the list's scroll bar
        // in the desktop's theme.
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
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

// The frame as the user sees it: without the invisible border that Windows 10 and later add
// around it. dwmapi is a system DLL, loaded only where it is there.
Rect visibleFrame(HWND window)
{
    RECT frame{};
    GetWindowRect(window, &frame);
    using DwmGetWindowAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
    static const auto getAttribute = win32::systemFunction<DwmGetWindowAttributeFunction>(L"dwmapi.dll", "DwmGetWindowAttribute");
    constexpr DWORD extendedFrameBounds = 9; // DWMWA_EXTENDED_FRAME_BOUNDS
    RECT visible{};
    if (getAttribute && getAttribute(window, extendedFrameBounds, &visible, sizeof visible) == S_OK
        && visible.right > visible.left && visible.bottom > visible.top)
        return toRect(visible);
    return toRect(frame);
}

} // namespace

Form::Native::Native(TwipSize clientSize, BorderStyle border, DesignFont designFont, Form* owner)
    : clientSize_(clientSize)
    , designFont_(designFont)
    , owner_(owner)
    , style_(styleOf(border))
    // An owned form is a tool window of its owner, as on the other platforms: no task-bar button.
    , exStyle_(owner ? WS_EX_TOOLWINDOW : 0)
{
    registerFormClass(windowProc);
    const HWND ownerWindow = owner ? rt::native(*owner).handle() : nullptr;
    const int where = owner ? 0 : CW_USEDEFAULT;
    // Made at its size at the system's DPI, and laid out again only where it landed at another:
    // each layout moves the window and every control once more.
    const RECT frame = scaleTo(win32::dpiOfWindow(nullptr));
    const HWND created = CreateWindowExW(exStyle_, formClassName, L"", style_, where, where, frame.right - frame.left,
        frame.bottom - frame.top, ownerWindow, nullptr, GetModuleHandleW(nullptr), this);
    window_.reset(created);
    if (const UINT dpi = created ? win32::dpiOfWindow(created) : dpi_; dpi != dpi_)
        layOut(dpi);
    if (owner_)
        rt::native(*owner_).owned_.push_back(this);
}

Form::Native::~Native()
{
    // Windows destroys an owner's owned windows with it: the game's owned forms must go first.
    assert(owned_.empty());
    if (owner_)
        std::erase(rt::native(*owner_).owned_, this);
    if (window_)
        SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

win32::ChildControl::ChildControl(Form& form, const wchar_t* className, DWORD style, DWORD exStyle, TwipRect geometry)
    : form_(form)
{
    Form::Native& native = rt::native(form);
    const int id = native.nextControlId_++;
    const Rect area = geometry.toPixels(native.scale_);
    window_.reset(CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, area.left, area.top, area.width,
        area.height, native.handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr));
    if (!window_)
        return;
    native.controls_.push_back({window_.get(), geometry});
    // Made in its place; it has not been drawn yet, in any font.
    SendMessageW(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(native.font_.get()), FALSE);
}

win32::ChildControl::~ChildControl()
{
    std::erase_if(rt::native(form_).controls_, [this](const Form::Native::Control& entry) { return entry.window == window_.get(); });
}

void Form::Native::show()
{
    if (!isVisible() && owner_)
        placeBesideOwner();
    // The first show of the start-up form takes the state it was started in (a shortcut set to
    // run minimized, say).
    ShowWindow(handle(), !shown_ && !owner_ ? SW_SHOWDEFAULT : SW_SHOW);
    shown_ = true;
    UpdateWindow(handle());
}

void Form::Native::hide()
{
    ShowWindow(handle(), SW_HIDE);
}

bool Form::Native::isVisible() const
{
    return handle() && (GetWindowLongPtrW(handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

LRESULT CALLBACK Form::Native::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* native = static_cast<Native*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        native->handle_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(native));
    }
    auto* native = reinterpret_cast<Native*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return native ? native->handleMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Form::Native::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_CLOSE:
        hide();
        if (closed_)
            closed_();
        return 0;
    case WM_DPICHANGED:
        layOut(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        placeOwnedForms();
        return 0;
    case WM_SETTINGCHANGE:
        // Each top-level window hears of a new font, the owner and its owned forms in any order:
        // whichever grows last, the owned forms end up beside their owner.
        if (wParam == SPI_SETNONCLIENTMETRICS) {
            layOut(dpi_);
            if (owner_ && isVisible())
                placeBesideOwner();
            placeOwnedForms();
        }
        break;
    case WM_SYSCOLORCHANGE:
        InvalidateRect(handle_, nullptr, TRUE);
        break;
    default:
        break;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

FontMetrics Form::Native::fontMetrics() const
{
    const win32::WindowDC dc(handle_);
    TEXTMETRICW metrics{};
    if (!dc.get())
        return {};
    const win32::Selection selected(dc.get(), font_.get());
    if (!GetTextMetricsW(dc.get(), &metrics))
        return {};
    return {static_cast<double>(metrics.tmAveCharWidth), static_cast<double>(metrics.tmHeight)};
}

// The designed layout at the DPI, in proportion, grown further where the message font is larger
// than the one it was designed for at that DPI.
void Form::Native::layOut(UINT dpi, const RECT* suggested)
{
    // The old font goes only when no control uses it any longer: after each has the new one.
    win32::UniqueFont previousFont(font_.release());
    const RECT frame = scaleTo(dpi);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!suggested)
        flags |= SWP_NOMOVE;
    SetWindowPos(handle_, nullptr, suggested ? suggested->left : 0, suggested ? suggested->top : 0,
        frame.right - frame.left, frame.bottom - frame.top, flags);
    for (const Control& control : controls_)
        placeControl(control);
}

RECT Form::Native::scaleTo(UINT dpi)
{
    dpi_ = dpi ? dpi : win32::defaultDpi;
    const LOGFONTW logFont = win32::messageFont(dpi_);
    font_.reset(CreateFontIndirectW(&logFont));
    const double ratio = static_cast<double>(dpi_) / win32::defaultDpi;
    const Scale growth = rt::growth(fontMetrics(), {designFont_.averageCharWidth * ratio, designFont_.height * ratio});
    scale_ = {ratio * growth.x, ratio * growth.y};
    const Size client = clientSize_.toPixels(scale_);
    return win32::frameAround({client.width, client.height}, style_, exStyle_, dpi_);
}

void Form::Native::placeOwnedForms()
{
    for (Native* owned : owned_)
        if (owned->isVisible())
            owned->placeBesideOwner();
}

void Form::Native::placeControl(const Control& control) const
{
    const Rect area = control.geometry.toPixels(scale_);
    SetWindowPos(control.window, nullptr, area.left, area.top, area.width, area.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

// Beside the owner's frame, in the work area of the owner's monitor: right, left, below, above,
// or where it hides the fewest of the owner's controls.
void Form::Native::placeBesideOwner()
{
    const Native& owner = rt::native(*owner_);
    const HWND ownerWindow = owner.handle();
    if (const UINT ownerDpi = win32::dpiOfWindow(ownerWindow); ownerDpi != dpi_)
        layOut(ownerDpi);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(ownerWindow, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    std::vector<Rect> ownerControls;
    for (const Control& control : owner.controls_) {
        RECT area{};
        if (IsWindowVisible(control.window) && GetWindowRect(control.window, &area))
            ownerControls.push_back(toRect(area));
    }
    RECT frame{};
    GetWindowRect(handle_, &frame);
    const Point place = placeBeside(visibleFrame(ownerWindow), {frame.right - frame.left, frame.bottom - frame.top},
        toRect(monitor.rcWork), ownerControls);
    SetWindowPos(handle_, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Form::Form(TwipSize clientSize, BorderStyle border, DesignFont designFont, Form* owner)
    : native_(std::make_unique<Native>(clientSize, border, designFont, owner))
{
}

Form::~Form() = default;

void Form::setTitle(const std::string& title)
{
    SetWindowTextW(native_->handle(), win32::widen(title).c_str());
}

void Form::setVisible(bool visible)
{
    if (visible)
        native_->show();
    else
        native_->hide();
}

bool Form::isVisible() const
{
    return native_->isVisible();
}

} // namespace rt
