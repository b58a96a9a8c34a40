// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "messagebox.h"

#include "driver.h"
#include "form.h"

namespace rt {

namespace {

// One thread, one program: the messages open now, at most one in the game.
int openMessages = 0;

} // namespace

void showMessage(Form& owner, const std::string& prompt, const std::string& title)
{
    ++openMessages;
    openMessageBox(*owner.driver_, prompt, title, [] { --openMessages; });
}

bool messageOpen()
{
    return openMessages > 0;
}

} // namespace rt
