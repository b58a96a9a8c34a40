// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A list box's LISTBOX control: unsorted, single selection, exactly as high as designed (no
// integral height), with no horizontal scroll bar. The control holds the rows' texts itself, so
// LB_GETCOUNT, LB_GETTEXT and screen readers see what the game sees; its keys, mouse and
// scrolling are its own. Its accessible object carries its name (accessibility.h).

#include "accessibility.h"
#include "formwindow.h"

namespace rt::win32 {

class ListBoxControl final : public ListBoxDriver, public ChildWindow {
public:
    ListBoxControl(const FormWindow& form, const Rect& area);

    void place(const Rect& area) override { moveTo(area); }
    void appendRow(const std::string& text) override;
    void selectRow(int row) override;
    int selectedRow() const override;
    void setName(const std::string& name) override;

private:
    static LRESULT CALLBACK listProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    AccessibleControl accessible_;
};

} // namespace rt::win32
