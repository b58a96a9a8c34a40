// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "console.h"

#include "utf16.h"
#include "win32.h"

namespace rt::win32 {

namespace {

bool isUsable(HANDLE handle)
{
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// The parent's console, opened once; null where the parent has none.
HANDLE parentConsole()
{
    static const HANDLE console = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return HANDLE(nullptr);
        const HANDLE output = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
            nullptr, OPEN_EXISTING, 0, nullptr);
        return output == INVALID_HANDLE_VALUE ? HANDLE(nullptr) : output;
    }();
    return console;
}

bool write(HANDLE handle, const std::string& text)
{
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = widen(text);
        DWORD written = 0;
        return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) != FALSE;
    }
    DWORD written = 0;
    return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE
        && written == text.size();
}

void print(DWORD standardHandle, const std::string& text, const std::string& title, UINT icon)
{
    if (const HANDLE redirected = GetStdHandle(standardHandle); isUsable(redirected) && write(redirected, text))
        return;
    if (const HANDLE console = parentConsole(); console && write(console, text))
        return;
    MessageBoxW(nullptr, widen(text).c_str(), widen(title).c_str(), MB_OK | icon);
}

} // namespace

void printOut(const std::string& text, const std::string& title)
{
    print(STD_OUTPUT_HANDLE, text, title, MB_ICONINFORMATION);
}

void printError(const std::string& text, const std::string& title)
{
    print(STD_ERROR_HANDLE, text, title, MB_ICONERROR);
}

} // namespace rt::win32
