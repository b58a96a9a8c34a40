// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The forms API's driver on Qt 6 Widgets, for Linux and other Unix systems, on X11 and Wayland:
// a form is a top-level QWidget, a label a QLabel, a list box a QListView, a message a
// QMessageBox.
//
// Supports:
// - the desktop's window colours and font, and growth with a larger font (a style sheet, the
//   desktop's settings) or a scale factor (QT_SCALE_FACTOR, which Qt applies to every pixel);
// - clicks as Qt pairs them into double-clicks, and a screen reader's press (accessibility.h);
// - the keyboard focus on the list from the start, and the keys of Qt's own list view: up, down,
//   page up and down, home, end, and typing to find an animal;
// - a long animal name cut with an ellipsis at the right, as Qt's item views draw one.
// Differs from the other platforms, where the system does:
// - on Wayland a window cannot choose its place: the compositor places the about window; and
//   Qt's own title bar offers maximize on every window, so a form grows there and centres its
//   controls (fixedsizeguard.h), where X11 and Windows keep it fixed;
// - Qt's command line options (-platform, -style, -stylesheet) work, as in any Qt program.

#include "formwidget.h"
#include "labelwidget.h"
#include "listboxwidget.h"
#include "native.h"

#include <QStringDecoder>
#include <string_view>

namespace rt::qt {

// Text from the API, every character kept: a byte-order mark at the start of an animal's name
// stays part of it, as it would have with any other character.
inline QString toQString(std::string_view utf8)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

// The widgets behind the API's objects, for this platform's code and its tests.
inline FormWidget& widget(const Form& form) { return static_cast<FormWidget&>(native(form)); }
inline LabelWidget& widget(const Label& label) { return static_cast<LabelWidget&>(native(label)); }
inline ListBoxWidget& widget(const ListBox& list) { return static_cast<ListBoxWidget&>(native(list)); }

} // namespace rt::qt
