// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The hidden about window with the credits: frameless, owned by the main window, opened from
// its count label and closed by a click on the credits text.

#include "form.h"
#include "label.h"

class AboutWindow final : public rt::Form {
public:
    explicit AboutWindow(rt::Form& owner);

    void load() override;

    rt::Label& credits() { return credits_; }

private:
    void hideAbout();

    rt::Label credits_;
};
