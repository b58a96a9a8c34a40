// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The system's part of the core on POSIX systems. Only the program's directory is Linux's
// (/proc/self/exe), with the current directory where that is missing.

#include "system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace rt {

namespace fs = std::filesystem;

Path programDirectory()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return fs::current_path(error).native();
    return program.parent_path().native();
}

Path fileIn(const Path& folder, std::string_view name)
{
    return (fs::path(folder) / name).native();
}

File openRegularFile(const Path& path)
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

} // namespace rt
