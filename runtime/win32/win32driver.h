// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The forms API's driver on the Windows API, for Windows 7 to 11: a form is a top-level window of
// its own class, a label a STATIC control, a list box the system's LISTBOX, a message the system's
// MessageBox.
//
// Supports:
// - per-monitor DPI (v2, then v1, then the system's DPI on older systems) and the desktop's
//   message font at that DPI: a form grows with either, and follows a move to another monitor
//   (WM_DPICHANGED) or a new font (WM_SETTINGCHANGE); the desktop's window colours;
// - clicks as Windows pairs them into double-clicks (CS_DBLCLKS), and a screen reader's press of
//   a label through its accessible object (accessibility.h);
// - the keyboard focus on the list from the start, given back when the window is active again (a
//   message box closed, another window left), and the keys of the system's list box: up, down,
//   page up and down, home, end, and typing a letter to find an animal;
// - the list's name for a screen reader, which its accessible object gives (WM_GETOBJECT), as
//   Wine implements no annotation of the system's objects; its items as the list box itself holds
//   them (LB_GETCOUNT, LB_GETTEXT), which test tools read too.
// Differs from the other platforms, where Windows does:
// - a long animal name is cut at the list's right edge, as the list box draws it, with no
//   ellipsis;
// - the message box is the system's: its font, its button, and Return or Escape to close it;
// - the list and the labels are user32's own controls, not those of version 6 of the common
//   controls, which look alike but for the list's border (user32's sunken edge where a theme
//   draws a flat one): a start that loads comctl32 takes about a quarter longer under Wine. The
//   message box, whose button shows the theme most, is drawn by version 6 (messagebox.cpp);
// - --help and --version answer on the console the program was started from, or in a box where
//   there is none, as a program of the Windows subsystem has no console of its own; Qt's options
//   (-platform, -style) do not exist;
// - the icon is built into the program (runtime_add_program_icon), with the manifest that makes
//   it aware of the DPI of each monitor.

#include "formwindow.h"
#include "native.h"

namespace rt::win32 {

// The window behind a form, for this platform's code.
inline FormWindow& window(const Form& form) { return static_cast<FormWindow&>(native(form)); }

} // namespace rt::win32
