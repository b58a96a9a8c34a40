// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "labelelement.h"

#include "page.h"

#include <algorithm>
#include <vector>

namespace rt {

namespace {

std::vector<Label::Native*>& labels()
{
    static std::vector<Label::Native*> all;
    return all;
}

} // namespace

Label::Native::Native(Form& form, TwipRect geometry)
    : form(form)
    , element(rtWebCreateLabel(native(form).element()))
{
    labels().push_back(this);
    native(form).place(element, geometry);
}

Label::Native::~Native()
{
    std::erase(labels(), this);
    native(form).forget(element);
    rtWebRemove(element);
}

void Label::Native::clicked(int element)
{
    const auto found = std::find_if(labels().cbegin(), labels().cend(), [element](const Native* label) { return label->element == element; });
    if (found == labels().cend() || !(*found)->onClick)
        return;
    // A copy: the handler may replace itself.
    const std::function<void()> handler = (*found)->onClick;
    handler();
}

Label::Label(Form& form, TwipRect geometry)
    : native_(std::make_unique<Native>(form, geometry))
{
}

Label::~Label() = default;

void Label::setText(const std::string& text)
{
    native_->text = text;
    rtWebSetText(native_->element, text.data(), static_cast<int>(text.size()));
}

std::string Label::text() const
{
    return native_->text;
}

void Label::onClick(std::function<void()> handler)
{
    native_->onClick = std::move(handler);
}

} // namespace rt
