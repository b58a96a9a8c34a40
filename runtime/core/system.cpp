// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "system.h"

#include <system_error>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <string>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace rt {

namespace fs = std::filesystem;

#ifdef _WIN32

namespace {

// The final path of a file: links and junctions resolved, as the system sees it; the path as
// given where the file cannot be opened.
std::wstring finalPath(const std::wstring& path)
{
    const HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return path;
    std::wstring resolved(MAX_PATH, L'\0');
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

} // namespace

fs::path programDirectory()
{
    // Long paths included: the buffer grows until the whole path fits. Not fs::canonical(),
    // which links a good part of the C++ library's file system and streams into the program.
    std::wstring path(MAX_PATH, L'\0');
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
    return fs::path(finalPath(path)).parent_path();
}

File openRegularFile(const fs::path& path)
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

#else

fs::path programDirectory()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return fs::current_path(error);
    return program.parent_path();
}

File openRegularFile(const fs::path& path)
{
    // O_NONBLOCK keeps the open of a FIFO without a writer from waiting; on a regular file it
    // changes nothing.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {};
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return {};
    }
    File file(::fdopen(fd, "rb"));
    if (!file) {
        ::close(fd);
        return {};
    }
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    return file;
}

#endif

} // namespace rt
