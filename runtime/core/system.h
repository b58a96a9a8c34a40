// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What only the operating system can tell: where the running program lies, and whether a path
// names a regular file that can be read. The one part of the core that differs by system: the
// build picks system_posix.cpp or system_win32.cpp.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

namespace rt {

// A path in the system's own form, the one its file functions take: bytes on POSIX, UTF-16 on
// Windows. A plain string, not std::filesystem::path, whose conversions would bring the C++
// library's locales into the Windows program for nothing.
using Path = std::filesystem::path::string_type;

// The directory in which the running program really lies, links resolved; the current
// directory where the system will not say (Linux without /proc).
Path programDirectory();

// The file of the given name (UTF-8) in a folder; the name alone for no folder.
Path fileIn(const Path& folder, std::string_view name);

struct FileCloser final {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The file opened for reading, unbuffered, when the path names a regular file; nothing
// otherwise. Never waits: a pipe without a writer, a device or a directory is refused at once.
File openRegularFile(const Path& path);

} // namespace rt
