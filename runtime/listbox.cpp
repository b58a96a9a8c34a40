// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "listbox.h"

#include "driver.h"
#include "form.h"

namespace rt {

ListBox::ListBox(Form& form, TwipRect geometry)
    : form_(form)
    , driver_(makeListBoxDriver(*form.driver_, form.pixels(geometry)))
{
    form_.adopt(*driver_, geometry, true);
}

ListBox::~ListBox()
{
    form_.release(*driver_);
}

bool ListBox::appendItem(const std::string& text)
{
    if (isFull())
        return false;
    items_.push_back(text);
    driver_->appendRow(text);
    return true;
}

std::string ListBox::itemText(std::int16_t index) const
{
    return index >= 0 && index < itemCount() ? items_[static_cast<std::size_t>(index)] : std::string();
}

std::int16_t ListBox::listIndex() const
{
    const int row = driver_->selectedRow();
    return row >= 0 && row < itemCount() ? static_cast<std::int16_t>(row) : std::int16_t(-1);
}

void ListBox::selectIndex(std::int16_t index)
{
    if (index >= 0 && index < itemCount())
        driver_->selectRow(index);
}

void ListBox::setAccessibleName(const std::string& name)
{
    driver_->setName(name);
}

} // namespace rt
