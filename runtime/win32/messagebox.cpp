// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A message as the system's MessageBox: the title, the prompt (plain text, "&" as it is), one
// OK button, no icon and no sound of its own. Modal for the whole program: its owner is disabled
// by the box, every other window of the thread by ThreadWindowsDisabled. Does not: other
// buttons, icons, or a box that the game may close itself.

#include "messagebox.h"

#include "formwindow.h"
#include "threadwindowsdisabled.h"
#include "utf16.h"

namespace rt {

void showMessage(Form& owner, const std::string& prompt, const std::string& title)
{
    const HWND ownerWindow = native(owner).handle();
    const win32::ThreadWindowsDisabled othersDisabled(ownerWindow);
    MessageBoxW(ownerWindow, win32::widen(prompt).c_str(), win32::widen(title).c_str(), MB_OK);
}

} // namespace rt
