// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The one way this platform includes the Windows API: the wide (UTF-16) functions and no min/max
// macros.

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif

#include <windows.h>

namespace rt::win32 {

// A function of a system DLL that older versions of Windows may lack: null where it is missing.
// A DLL not loaded yet is loaded from the system folder only.
template <class Function>
Function systemFunction(const wchar_t* dll, const char* name)
{
    HMODULE module = GetModuleHandleW(dll);
    if (!module)
        module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows 7 without its 2011 loader update refuses that flag. The DLLs asked for here are
    // known DLLs, which the system loads from its own folder whatever the search order.
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER)
        module = LoadLibraryW(dll);
    const FARPROC address = module ? GetProcAddress(module, name) : nullptr;
    // Through the generic function type, which converts to and from any other without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

} // namespace rt::win32
