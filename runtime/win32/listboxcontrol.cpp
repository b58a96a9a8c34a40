// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "listboxcontrol.h"

#include "formwindow.h"
#include "utf16.h"

namespace rt {

namespace {

constexpr DWORD listStyle = WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;

} // namespace

ListBox::Native::Native(Form& form, TwipRect geometry)
    : control(form, L"LISTBOX", listStyle, WS_EX_CLIENTEDGE, geometry)
{
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
    const LRESULT index = SendMessageW(native_->handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::widen(text).c_str()));
    if (index == LB_ERR || index == LB_ERRSPACE)
        return false;
    native_->newIndex = static_cast<std::int16_t>(index);
    return true;
}

std::int16_t ListBox::itemCount() const
{
    const LRESULT count = SendMessageW(native_->handle(), LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? std::int16_t(0) : static_cast<std::int16_t>(count);
}

std::string ListBox::itemText(std::int16_t index) const
{
    const LRESULT length = SendMessageW(native_->handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (index < 0 || length == LB_ERR)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(native_->handle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return win32::narrow(text);
}

std::int16_t ListBox::newIndex() const
{
    return native_->newIndex;
}

std::int16_t ListBox::listIndex() const
{
    const LRESULT selected = SendMessageW(native_->handle(), LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? std::int16_t(-1) : static_cast<std::int16_t>(selected);
}

void ListBox::selectIndex(std::int16_t index)
{
    // LB_SETCURSEL also scrolls the item into view.
    SendMessageW(native_->handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

} // namespace rt
