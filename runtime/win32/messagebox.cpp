// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A message as the system's MessageBox: the title, the prompt (plain text, "&" as it is), one
// OK button, no icon and no sound of its own, drawn in the desktop's theme. Modal for the whole
// program: the box disables its owner, and every other shown window of the thread is disabled
// with it, so that none takes input, an open about window included. Returns once it is closed.

#include "utf16.h"
#include "win32driver.h"

#include <vector>

namespace rt::win32 {

namespace {

// Version 6 of the common controls, which draws the box's button in the desktop's theme, asked
// for by a manifest of the program's own (program.rc.in) for the boxes alone: the forms need none
// of its controls, and a start that loads comctl32 takes about a quarter longer under Wine.
HANDLE commonControls()
{
    static const HANDLE context = [] {
        ACTCTXW request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.hModule = GetModuleHandleW(nullptr);
        request.lpResourceName = ISOLATIONAWARE_MANIFEST_RESOURCE_ID;
        return CreateActCtxW(&request);
    }();
    return context;
}

std::vector<HWND> enabledThreadWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            if (IsWindowVisible(window) && IsWindowEnabled(window))
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

} // namespace

} // namespace rt::win32

void rt::openMessageBox(FormDriver& owner, const std::string& prompt, const std::string& title, std::function<void()> closed)
{
    const HWND ownerWindow = static_cast<win32::FormWindow&>(owner).handle();
    std::vector<HWND> others = win32::enabledThreadWindows();
    std::erase(others, ownerWindow);
    for (const HWND window : others)
        EnableWindow(window, FALSE);
    ULONG_PTR activation = 0;
    const HANDLE controls = win32::commonControls();
    const bool themed = controls != INVALID_HANDLE_VALUE && ActivateActCtx(controls, &activation);
    MessageBoxW(ownerWindow, win32::widen(prompt).c_str(), win32::widen(title).c_str(), MB_OK);
    if (themed)
        DeactivateActCtx(0, activation);
    for (const HWND window : others)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    closed();
}
