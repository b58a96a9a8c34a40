// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A modal message: a title, a prompt and one OK button, no icon. While it is open no window of
// the program takes input, and no label clicks. The call may return before the message is closed
// (a browser lets no call wait for the user), so a handler shows a message as its last step.
// Passed as a function, so that a recorder can take its place.

#include <functional>
#include <string>

namespace rt {

class Form;

using MessageFunction = std::function<void(Form& owner, const std::string& prompt, const std::string& title)>;

void showMessage(Form& owner, const std::string& prompt, const std::string& title);

// Whether a message is open now.
bool messageOpen();

} // namespace rt
