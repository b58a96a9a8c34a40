// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A message as the page's modal dialog (<dialog> opened with showModal()): the title as its
// visible heading and its accessible name, the prompt as plain text, one OK button with the
// focus, no icon. OK, Return and Escape close it; while it is open the rest of the page takes no
// click, no key and no screen reader's press, and a click beside the button leaves the focus on
// it. The browser lets no call wait for the user: this one returns while the message is open.

#include "messagebox.h"

#include "page.h"

namespace rt {

void showMessage(Form& /*owner*/, const std::string& prompt, const std::string& title)
{
    rtWebShowMessage(prompt.data(), static_cast<int>(prompt.size()), title.data(), static_cast<int>(title.size()));
}

} // namespace rt
