// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formwidget.h"

#include "accessibility.h"
#include "qtdriver.h"

#include <QCloseEvent>
#include <QScreen>
#include <QWindow>

namespace rt::qt {

namespace {

Qt::WindowFlags formFlags(BorderStyle border, bool owned)
{
    Qt::WindowFlags flags = owned ? Qt::Tool : Qt::Window;
    switch (border) {
    case BorderStyle::FixedSingle:
        return flags | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    case BorderStyle::None:
        return flags | Qt::FramelessWindowHint;
    }
    return flags;
}

Rect toRect(const QRect& r)
{
    return {r.left(), r.top(), r.width(), r.height()};
}

} // namespace

void useWindowColors(QWidget& widget)
{
    widget.setAutoFillBackground(true);
    widget.setBackgroundRole(QPalette::Base);
    widget.setForegroundRole(QPalette::Text);
}

FormWidget::FormWidget(Form& form, BorderStyle border, FormWidget* owner)
    : QWidget(owner, formFlags(border, owner != nullptr))
    , FormDriver(form)
{
    installAccessibility();
    useWindowColors(*this);
}

void FormWidget::setTitle(const std::string& title)
{
    setWindowTitle(toQString(title));
}

void FormWidget::setShown(bool shown)
{
    setVisible(shown);
}

FormMetrics FormWidget::metrics() const
{
    const QFontMetricsF font(this->font());
    return {1.0, {font.averageCharWidth(), font.height()}};
}

// A maximized form keeps the size the compositor gave it; the laid-out size returns with the
// normal state.
void FormWidget::setClientSize(Size size)
{
    laidOut_ = {size.width, size.height};
    if (!isLarge())
        setFixedSize(laidOut_);
}

Rect FormWidget::frame() const
{
    return toRect(frameGeometry());
}

Point FormWidget::clientOrigin() const
{
    const QPoint origin = mapToGlobal(QPoint()) + placed({}).topLeft();
    return {origin.x(), origin.y()};
}

Rect FormWidget::workArea() const
{
    return toRect(screen()->availableGeometry());
}

void FormWidget::moveFrameTo(Point topLeft)
{
    move(topLeft.x, topLeft.y);
}

// Shown or not yet, the form's window gives it to the control whenever it is active.
void FormWidget::focusOn(ControlDriver& control)
{
    if (auto* widget = dynamic_cast<QWidget*>(&control))
        widget->setFocus(Qt::OtherFocusReason);
}

QRect FormWidget::placed(const Rect& area) const
{
    const QPoint offset(qMax(0, (width() - laidOut_.width()) / 2), qMax(0, (height() - laidOut_.height()) / 2));
    return QRect(area.left, area.top, area.width, area.height).translated(offset);
}

// Maximized or full screen, as asked or as the compositor has confirmed: from the one until
// the other, the compositor may hold the window to the large size.
bool FormWidget::isLarge() const
{
    constexpr Qt::WindowStates large = Qt::WindowMaximized | Qt::WindowFullScreen;
    const QWindow* handle = windowHandle();
    return (windowState() & large) || (handle && (handle->windowStates() & large));
}

void FormWidget::changeEvent(QEvent* event)
{
    // Back in the normal state the form takes its laid-out size at its present font, whatever
    // size it had when it was maximized.
    const bool normal = event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized);
    if (normal || event->type() == QEvent::FontChange)
        metricsChanged();
    QWidget::changeEvent(event);
}

void FormWidget::resizeEvent(QResizeEvent* event)
{
    if (event->size() != laidOut_)
        metricsChanged();
    QWidget::resizeEvent(event);
}

void FormWidget::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

} // namespace rt::qt

std::unique_ptr<rt::FormDriver> rt::makeFormDriver(Form& form, BorderStyle border, FormDriver* owner)
{
    return std::make_unique<qt::FormWidget>(form, border, static_cast<qt::FormWidget*>(owner));
}
