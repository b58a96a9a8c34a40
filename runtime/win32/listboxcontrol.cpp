// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "listboxcontrol.h"

#include "utf16.h"

namespace rt::win32 {

namespace {

constexpr DWORD listStyle = WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;

} // namespace

ListBoxControl::ListBoxControl(const FormWindow& form, const Rect& area)
    : ChildWindow(form, L"LISTBOX", listStyle, WS_EX_CLIENTEDGE, area)
{
    subclass(listProc);
}

void ListBoxControl::appendRow(const std::string& text)
{
    SendMessageW(handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
}

// LB_SETCURSEL also scrolls the row into view.
void ListBoxControl::selectRow(int row)
{
    SendMessageW(handle(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

int ListBoxControl::selectedRow() const
{
    const LRESULT selected = SendMessageW(handle(), LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

void ListBoxControl::setName(const std::string& name)
{
    accessible_.setName(widen(name));
}

LRESULT CALLBACK ListBoxControl::listProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& list = of<ListBoxControl>(window);
    if (message == WM_GETOBJECT)
        if (const LRESULT answer = list.accessible_.answer(window, wParam, lParam))
            return answer;
    return list.callClass(window, message, wParam, lParam);
}

} // namespace rt::win32

std::unique_ptr<rt::ListBoxDriver> rt::makeListBoxDriver(FormDriver& form, const Rect& area)
{
    return std::make_unique<win32::ListBoxControl>(static_cast<const win32::FormWindow&>(form), area);
}
