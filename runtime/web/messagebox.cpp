// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A message as the page's modal dialog (<dialog> opened with showModal()): the title as its
// visible heading and its accessible name, the prompt as plain text, one OK button with the focus,
// no icon. While it is open the rest of the page takes no click, no key and no screen reader's
// press. The browser lets no call wait for the user: the page reports the close later, and the
// focus goes back to the owner's control that had it.

#include "formelement.h"
#include "webdriver.h"

#include <emscripten/emscripten.h>

void rt::openMessageBox(FormDriver& owner, const std::string& prompt, const std::string& title, std::function<void()> closed)
{
    // The page keeps it with the message, and gives it back once the message has closed.
    auto* onClose = new std::function<void()>(std::move(closed));
    rtWebShowMessage(static_cast<web::FormElement&>(owner).element(), prompt.data(), static_cast<int>(prompt.size()),
        title.data(), static_cast<int>(title.size()), onClose);
}

extern "C" EMSCRIPTEN_KEEPALIVE void rtWebMessageClosed(void* onClose)
{
    const std::unique_ptr<std::function<void()>> closed(static_cast<std::function<void()>*>(onClose));
    (*closed)();
}
