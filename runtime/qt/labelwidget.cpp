// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "labelwidget.h"

#include "accessibility.h"
#include "formwidget.h"

#include <QMouseEvent>

namespace rt::qt {

LabelWidget::LabelWidget(FormWidget& form, TwipRect geometry)
    : QLabel(&form)
{
    installAccessibility();
    form.place(*this, geometry);
    useWindowColors(*this);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    setFocusPolicy(Qt::NoFocus);
    setTextInteractionFlags(Qt::NoTextInteraction);
}

void LabelWidget::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void LabelWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}

// The first half of a double-click has already clicked; its second half must not click again.
void LabelWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    pressed_ = false;
    event->accept();
}

} // namespace rt::qt
