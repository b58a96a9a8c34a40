// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "labelwidget.h"

#include "accessibility.h"
#include "formwidget.h"
#include "qtdriver.h"

#include <QMouseEvent>

namespace rt::qt {

LabelWidget::LabelWidget(Label& label, FormWidget& form, const Rect& area)
    : QLabel(&form)
    , LabelDriver(label)
{
    installAccessibility();
    place(area);
    useWindowColors(*this);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    setFocusPolicy(Qt::NoFocus);
    setTextInteractionFlags(Qt::NoTextInteraction);
}

void LabelWidget::place(const Rect& area)
{
    setGeometry(static_cast<const FormWidget*>(parentWidget())->placed(area));
}

void LabelWidget::setCaption(const std::string& text)
{
    setText(toQString(text));
}

void LabelWidget::mousePressEvent(QMouseEvent* event)
{
    placeInRun_ = event->button() == Qt::LeftButton ? 1 : 0;
    event->accept();
}

// Qt pairs quick presses: after a double-click's second press, the next one starts a new pair.
void LabelWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    placeInRun_ = event->button() == Qt::LeftButton ? 2 : 0;
    event->accept();
}

void LabelWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const int place = placeInRun_;
    placeInRun_ = 0;
    event->accept();
    if (place > 0 && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        pressed(place);
}

} // namespace rt::qt

std::unique_ptr<rt::LabelDriver> rt::makeLabelDriver(Label& label, FormDriver& form, const Rect& area)
{
    return std::make_unique<qt::LabelWidget>(label, static_cast<qt::FormWidget&>(form), area);
}
