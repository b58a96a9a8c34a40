// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the runtime's forms, labels and list boxes are on Qt: the widgets behind them. For this
// platform's own code and its tests.

#include "formwidget.h"
#include "labelwidget.h"
#include "listboxwidget.h"
#include "native.h"

#include <QPointer>
#include <QStringDecoder>
#include <functional>
#include <string_view>

namespace rt::qt {

// Text from the API, every character kept: a byte-order mark at the start of an animal's name
// stays part of it, as it would have with any other character.
inline QString toQString(std::string_view utf8)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

// A widget that lives as long as the object that made it, unless Qt deletes it first along with
// its parent.
template <class Widget>
class OwnedWidget final {
public:
    explicit OwnedWidget(Widget* widget)
        : widget_(widget)
    {
    }
    ~OwnedWidget() { delete widget_.data(); }
    OwnedWidget(const OwnedWidget&) = delete;
    OwnedWidget& operator=(const OwnedWidget&) = delete;

    Widget& operator*() const { return *widget_; }
    Widget* operator->() const { return widget_.data(); }

private:
    QPointer<Widget> widget_;
};

} // namespace rt::qt

struct rt::Form::Native final {
    qt::OwnedWidget<qt::FormWidget> widget;
};

struct rt::Label::Native final {
    qt::OwnedWidget<qt::LabelWidget> widget;
    std::function<void()> onClick;
};

struct rt::ListBox::Native final {
    qt::OwnedWidget<qt::ListBoxWidget> widget;
};

namespace rt::qt {

inline FormWidget& widget(const Form& form) { return *native(form).widget; }
inline LabelWidget& widget(const Label& label) { return *native(label).widget; }
inline ListBoxWidget& widget(const ListBox& list) { return *native(list).widget; }

} // namespace rt::qt
