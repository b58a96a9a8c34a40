// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The least a Windows program can do to show what the game shows at start: a fixed window with a
// list box and two static labels, at the game's sizes at 96 DPI, in the desktop's message font
// as the game draws them, with no manifest, icon or DPI awareness. Start-up of the game is
// measured against it.

#ifndef UNICODE
#define UNICODE
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = L"Minimal";
    RegisterClassW(&windowClass);

    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, 449, 213};
    AdjustWindowRect(&frame, style, FALSE);
    const HWND window = CreateWindowW(L"Minimal", L"Bargeling 2000", style, CW_USEDEFAULT, CW_USEDEFAULT,
        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    const HWND controls[] = {
        CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
            16, 16, 273, 171, window, nullptr, instance, nullptr),
        CreateWindowW(L"STATIC", L"Antall dyr p\u00e5 arken: 0", WS_CHILD | WS_VISIBLE | SS_LEFT, 304, 16, 121, 81,
            window, nullptr, instance, nullptr),
        CreateWindowW(L"STATIC", L"Sleng inn et dyr i Arken!", WS_CHILD | WS_VISIBLE | SS_LEFT, 304, 112, 121, 81,
            window, nullptr, instance, nullptr),
    };
    // The font the game draws in, a TrueType font where the system's default is a bitmap font:
    // without it, the game's start-up would be measured against less text work than its own.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    for (const HWND control : controls)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(font);
    return static_cast<int>(message.wParam);
}
