// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Output of a program built for the Windows subsystem, which starts with no console: to the
// standard output or error where they were redirected (a file or a pipe gets UTF-8), else to the
// console of the parent process (cmd, PowerShell) when there is one, else in a message box. Does
// not: wait for a key, or put the parent's prompt back after the text.

#include <string>

namespace rt::win32 {

void printOut(const std::string& text, const std::string& title);
void printError(const std::string& text, const std::string& title);

} // namespace rt::win32
