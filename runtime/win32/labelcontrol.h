// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A label's STATIC control: its window text is the caption, word-wrapped ("&" shown as it is) and
// cut at the bottom, so WM_GETTEXT reads it. It takes no focus. It reports each press of the left
// button released over it, with its place in a run as Windows pairs them (WM_LBUTTONDOWN, then
// WM_LBUTTONDBLCLK), and a screen reader's press of its accessible object (accessibility.h).

#include "accessibility.h"
#include "formwindow.h"

namespace rt::win32 {

class LabelControl final : public LabelDriver, public ChildWindow {
public:
    LabelControl(Label& label, const FormWindow& form, const Rect& area);

    void place(const Rect& area) override { moveTo(area); }
    void setCaption(const std::string& text) override;

private:
    static LRESULT CALLBACK labelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int placeInRun_ = 0; // of the press held now; 0 for none
    AccessibleControl accessible_;
};

} // namespace rt::win32
