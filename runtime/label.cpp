// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "label.h"

#include "driver.h"
#include "form.h"
#include "messagebox.h"

namespace rt {

Label::Label(Form& form, TwipRect geometry)
    : form_(form)
    , driver_(makeLabelDriver(*this, *form.driver_, form.pixels(geometry)))
{
    form_.adopt(*driver_, geometry, false);
}

Label::~Label()
{
    form_.release(*driver_);
}

void Label::setText(const std::string& text)
{
    text_ = text;
    driver_->setCaption(text);
}

void Label::onClick(std::function<void()> handler)
{
    clicked_ = std::move(handler);
}

// The one click rule of every platform.
void Label::pressed(int placeInRun)
{
    const bool secondHalfOfDoubleClick = placeInRun > 0 && placeInRun % 2 == 0;
    if (secondHalfOfDoubleClick || messageOpen() || !clicked_)
        return;
    // A copy: the handler may replace itself.
    const std::function<void()> handler = clicked_;
    handler();
}

bool LabelDriver::takesPress() const
{
    return !messageOpen();
}

void LabelDriver::pressed(int placeInRun)
{
    label_.pressed(placeInRun);
}

} // namespace rt
