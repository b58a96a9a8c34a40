// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The forms API on Qt Widgets: each object of the API owns the widget that shows it.

#include "nativewidgets.h"

namespace rt {

Form::Form(TwipSize clientSize, BorderStyle border, DesignFont designFont, Form* owner)
    : native_(new Native{qt::OwnedWidget(new qt::FormWidget(clientSize, border, designFont, owner ? &qt::widget(*owner) : nullptr))})
{
}

Form::~Form() = default;

void Form::setTitle(const std::string& title)
{
    native_->widget->setWindowTitle(qt::toQString(title));
}

void Form::setVisible(bool visible)
{
    native_->widget->setVisible(visible);
}

bool Form::isVisible() const
{
    return native_->widget->isVisible();
}

Label::Label(Form& form, TwipRect geometry)
    : native_(new Native{qt::OwnedWidget(new qt::LabelWidget(qt::widget(form), geometry)), {}})
{
    QObject::connect(&*native_->widget, &qt::LabelWidget::clicked, [native = native_.get()] {
        if (native->onClick)
            native->onClick();
    });
}

Label::~Label() = default;

void Label::setText(const std::string& text)
{
    native_->widget->setText(qt::toQString(text));
}

std::string Label::text() const
{
    return native_->widget->text().toStdString();
}

void Label::onClick(std::function<void()> handler)
{
    native_->onClick = std::move(handler);
}

ListBox::ListBox(Form& form, TwipRect geometry)
    : native_(new Native{qt::OwnedWidget(new qt::ListBoxWidget(qt::widget(form), geometry))})
{
}

ListBox::~ListBox() = default;

bool ListBox::isFull() const
{
    return native_->widget->isFull();
}

bool ListBox::appendItem(const std::string& text)
{
    return native_->widget->appendItem(qt::toQString(text));
}

std::int16_t ListBox::itemCount() const
{
    return native_->widget->itemCount();
}

std::string ListBox::itemText(std::int16_t index) const
{
    return native_->widget->itemText(index).toStdString();
}

std::int16_t ListBox::newIndex() const
{
    return native_->widget->newIndex();
}

std::int16_t ListBox::listIndex() const
{
    return native_->widget->listIndex();
}

void ListBox::selectIndex(std::int16_t index)
{
    native_->widget->selectIndex(index);
}

} // namespace rt
