// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The system's part of the core on Windows: paths stay UTF-16 from the system's functions to the
// file's opening, so that a folder whose name no code page holds still works. The Windows API
// alone does the work; std::filesystem would bring the C++ library's locales along.

#include "system.h"

#include <algorithm>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>

namespace rt {

namespace {

bool isSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// The final path of a file: links and junctions resolved, as the system sees it; the path as
// given where the file cannot be opened.
Path finalPath(const Path& path)
{
    const HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return path;
    Path resolved(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, resolved.data(), static_cast<DWORD>(resolved.size()), FILE_NAME_NORMALIZED);
    if (length >= resolved.size()) {
        resolved.resize(length);
        length = GetFinalPathNameByHandleW(handle, resolved.data(), static_cast<DWORD>(resolved.size()), FILE_NAME_NORMALIZED);
    }
    CloseHandle(handle);
    if (length == 0 || length >= resolved.size())
        return path;
    resolved.resize(length);
    // "\\?\C:\..." for a drive, "\\?\UNC\server\..." for a share: back to the usual forms.
    if (resolved.starts_with(L"\\\\?\\UNC\\") && resolved.size() < MAX_PATH + 6)
        return L"\\\\" + resolved.substr(8);
    if (resolved.starts_with(L"\\\\?\\") && resolved.size() < MAX_PATH + 4)
        return resolved.substr(4);
    return resolved;
}

// The folder that holds a file: everything before the last separator, which a drive's root
// ("C:\") keeps.
Path parentFolder(const Path& path)
{
    const auto last = std::find_if(path.rbegin(), path.rend(), isSeparator);
    if (last == path.rend())
        return {};
    auto end = static_cast<std::size_t>(path.rend() - last) - 1;
    if (end == 0 || path[end - 1] == L':')
        ++end;
    return path.substr(0, end);
}

} // namespace

Path programDirectory()
{
    // Long paths included: the buffer grows until the whole path fits.
    Path path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return parentFolder(finalPath(path));
}

Path fileIn(const Path& folder, std::string_view name)
{
    Path path = folder;
    if (!path.empty() && !isSeparator(path.back()) && path.back() != L':')
        path.push_back(L'\\');
    const int size = static_cast<int>(name.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, name.data(), size, nullptr, 0);
    const std::size_t start = path.size();
    path.resize(start + static_cast<std::size_t>(length));
    MultiByteToWideChar(CP_UTF8, 0, name.data(), size, path.data() + start, length);
    return path;
}

File openRegularFile(const Path& path)
{
    // Only a regular file: a directory, a device name ("CON", "NUL") or a pipe is refused.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        return {};
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return {};
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return {};
    }
    File file(_fdopen(fd, "rb"));
    if (!file) {
        _close(fd);
        return {};
    }
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    return file;
}

} // namespace rt
