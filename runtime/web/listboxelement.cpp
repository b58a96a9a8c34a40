// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "listboxelement.h"

#include "page.h"

namespace rt {

ListBox::Native::Native(Form& form, TwipRect geometry)
    : form(form)
    , element(rtWebCreateList(native(form).element()))
{
    native(form).place(element, geometry);
}

ListBox::Native::~Native()
{
    native(form).forget(element);
    rtWebRemove(element);
}

ListBox::ListBox(Form& form, TwipRect geometry)
    : native_(std::make_unique<Native>(form, geometry))
{
}

ListBox::~ListBox() = default;

bool ListBox::isFull() const
{
    return itemCount() >= capacity;
}

bool ListBox::appendItem(const std::string& text)
{
    if (isFull())
        return false;
    native_->items.push_back(text);
    native_->newIndex = static_cast<std::int16_t>(native_->items.size() - 1);
    rtWebAppendItem(native_->element, text.data(), static_cast<int>(text.size()));
    return true;
}

std::int16_t ListBox::itemCount() const
{
    return static_cast<std::int16_t>(native_->items.size());
}

std::string ListBox::itemText(std::int16_t index) const
{
    if (index < 0 || index >= itemCount())
        return {};
    return native_->items[static_cast<std::size_t>(index)];
}

std::int16_t ListBox::newIndex() const
{
    return native_->newIndex;
}

// The user may have selected another item since: the page knows.
std::int16_t ListBox::listIndex() const
{
    return static_cast<std::int16_t>(rtWebSelectedItem(native_->element));
}

void ListBox::selectIndex(std::int16_t index)
{
    if (index < 0 || index >= itemCount())
        return;
    rtWebSelectItem(native_->element, index);
}

} // namespace rt
