// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form.h"

#include "accessibility.h"

#include <QCloseEvent>
#include <QScreen>
#include <QWindow>

namespace rt {

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

} // namespace

void useWindowColors(QWidget& widget)
{
    widget.setAutoFillBackground(true);
    widget.setBackgroundRole(QPalette::Base);
    widget.setForegroundRole(QPalette::Text);
}

Form::Form(TwipSize clientSize, BorderStyle border, DesignFont designFont, QWidget* owner)
    : QWidget(owner, formFlags(border, owner != nullptr))
    , clientSize_(clientSize)
    , designFont_(designFont)
{
    installAccessibility();
    useWindowColors(*this);
    layOut();
}

void Form::place(QWidget& control, TwipRect geometry)
{
    controls_.push_back({&control, geometry});
    control.setGeometry(pixelGeometry(geometry));
}

QSizeF Form::scale() const
{
    const QFontMetricsF metrics(font());
    const auto ratio = [](qreal actual, qreal designed) { return designed > 0 ? qMax(1.0, actual / designed) : 1.0; };
    return {ratio(metrics.averageCharWidth(), designFont_.averageCharWidth), ratio(metrics.height(), designFont_.height)};
}

void Form::layOut()
{
    // A maximized form must keep the size the compositor gave it; its designed size returns
    // with the normal state.
    if (!isLarge())
        setFixedSize(clientSize_.toPixels(scale()));
    placeControls();
}

void Form::placeControls()
{
    for (const Placed& entry : controls_)
        if (entry.control)
            entry.control->setGeometry(pixelGeometry(entry.geometry));
}

// Where a control stands: at its designed place, the form's designed area centred in the form.
QRect Form::pixelGeometry(TwipRect geometry) const
{
    const QSizeF factor = scale();
    const QSize designed = clientSize_.toPixels(factor);
    const QPoint offset(qMax(0, (width() - designed.width()) / 2), qMax(0, (height() - designed.height()) / 2));
    return geometry.toPixels(factor).translated(offset);
}

// Maximized or full screen, as asked or as the compositor has confirmed: from the one until
// the other, the compositor may hold the window to the large size.
bool Form::isLarge() const
{
    constexpr Qt::WindowStates large = Qt::WindowMaximized | Qt::WindowFullScreen;
    const QWindow* handle = windowHandle();
    return (windowState() & large) || (handle && (handle->windowStates() & large));
}

void Form::setVisible(bool visible)
{
    if (visible && !isVisible() && parentWidget())
        placeBesideOwner();
    QWidget::setVisible(visible);
}

void Form::changeEvent(QEvent* event)
{
    // Back in the normal state the form takes its designed size at its present font, whatever
    // size it had when it was maximized.
    if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized))
        layOut();
    if (event->type() == QEvent::FontChange) {
        layOut();
        // Grown in place, an open owned form could now cover its owner, or its owner it.
        if (isVisible() && parentWidget())
            placeBesideOwner();
        for (Form* owned : findChildren<Form*>(Qt::FindDirectChildrenOnly))
            if (owned->isWindow() && owned->isVisible())
                owned->placeBesideOwner();
    }
    QWidget::changeEvent(event);
}

void Form::resizeEvent(QResizeEvent* event)
{
    placeControls();
    QWidget::resizeEvent(event);
}

void Form::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

// Beside the owner's frame, on the first side with room on its screen: right, left, below,
// above. Where none has room, the place that hides the fewest of the owner's controls.
void Form::placeBesideOwner()
{
    const QWidget* owner = parentWidget()->window();
    const QRect frame = owner->frameGeometry();
    const QScreen* screen = owner->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const auto clamped = [&](QRect area) {
        area.moveLeft(qBound(available.left(), area.left(), qMax(available.left(), available.right() - area.width() + 1)));
        area.moveTop(qBound(available.top(), area.top(), qMax(available.top(), available.bottom() - area.height() + 1)));
        return area;
    };
    constexpr int gap = 8;
    const QRect sides[] = {
        QRect(QPoint(frame.right() + 1 + gap, frame.top()), size()),
        QRect(QPoint(frame.left() - gap - width(), frame.top()), size()),
        QRect(QPoint(frame.left(), frame.bottom() + 1 + gap), size()),
        QRect(QPoint(frame.left(), frame.top() - gap - height()), size()),
    };
    for (const QRect& side : sides) {
        // Slid along the owner's edge into the screen, it must still stand clear of the owner.
        const QRect area = clamped(side);
        if (available.contains(area) && !area.intersects(frame)) {
            move(area.topLeft());
            return;
        }
    }
    const auto hidden = [owner](const QRect& area) {
        int count = 0;
        for (const QWidget* control : owner->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!control->isWindow() && control->isVisible()
                && area.intersects(QRect(control->mapToGlobal(QPoint()), control->size())))
                ++count;
        return count;
    };
    QRect best = clamped(sides[0]);
    for (const QRect& side : sides) {
        const QRect area = clamped(side);
        if (hidden(area) < hidden(best))
            best = area;
    }
    move(best.topLeft());
}

} // namespace rt
