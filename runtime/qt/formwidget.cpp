// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formwidget.h"

#include "accessibility.h"

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

} // namespace

void useWindowColors(QWidget& widget)
{
    widget.setAutoFillBackground(true);
    widget.setBackgroundRole(QPalette::Base);
    widget.setForegroundRole(QPalette::Text);
}

FormWidget::FormWidget(TwipSize clientSize, BorderStyle border, DesignFont designFont, QWidget* owner)
    : QWidget(owner, formFlags(border, owner != nullptr))
    , clientSize_(clientSize)
    , designFont_(designFont)
{
    installAccessibility();
    useWindowColors(*this);
    layOut();
}

void FormWidget::place(QWidget& control, TwipRect geometry)
{
    controls_.push_back({&control, geometry});
    control.setGeometry(pixelGeometry(geometry));
}

Scale FormWidget::scale() const
{
    const QFontMetricsF metrics(font());
    return growth({metrics.averageCharWidth(), metrics.height()}, designFont_);
}

void FormWidget::layOut()
{
    // A maximized form must keep the size the compositor gave it; its designed size returns
    // with the normal state.
    if (!isLarge()) {
        const Size fixed = clientSize_.toPixels(scale());
        setFixedSize(fixed.width, fixed.height);
    }
    placeControls();
}

void FormWidget::placeControls()
{
    for (const Placed& entry : controls_)
        if (entry.control)
            entry.control->setGeometry(pixelGeometry(entry.geometry));
}

// Where a control stands: at its designed place, the form's designed area centred in the form.
QRect FormWidget::pixelGeometry(TwipRect geometry) const
{
    const Scale factor = scale();
    const Size designed = clientSize_.toPixels(factor);
    const Rect placed = geometry.toPixels(factor);
    const QPoint offset(qMax(0, (width() - designed.width) / 2), qMax(0, (height() - designed.height) / 2));
    return QRect(placed.left, placed.top, placed.width, placed.height).translated(offset);
}

// Maximized or full screen, as asked or as the compositor has confirmed: from the one until
// the other, the compositor may hold the window to the large size.
bool FormWidget::isLarge() const
{
    constexpr Qt::WindowStates large = Qt::WindowMaximized | Qt::WindowFullScreen;
    const QWindow* handle = windowHandle();
    return (windowState() & large) || (handle && (handle->windowStates() & large));
}

void FormWidget::setVisible(bool visible)
{
    if (visible && !isVisible() && parentWidget())
        placeBesideOwner();
    QWidget::setVisible(visible);
}

void FormWidget::changeEvent(QEvent* event)
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
        for (FormWidget* owned : findChildren<FormWidget*>(Qt::FindDirectChildrenOnly))
            if (owned->isWindow() && owned->isVisible())
                owned->placeBesideOwner();
    }
    QWidget::changeEvent(event);
}

void FormWidget::resizeEvent(QResizeEvent* event)
{
    placeControls();
    QWidget::resizeEvent(event);
}

void FormWidget::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

// Beside the owner's frame, on its screen, by the rule every platform shares.
void FormWidget::placeBesideOwner()
{
    const QWidget* owner = parentWidget()->window();
    const QScreen* screen = owner->screen();
    if (!screen)
        return;
    const auto rect = [](const QRect& r) { return Rect{r.left(), r.top(), r.width(), r.height()}; };
    std::vector<Rect> controls;
    for (const QWidget* control : owner->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!control->isWindow() && control->isVisible())
            controls.push_back(rect(QRect(control->mapToGlobal(QPoint()), control->size())));
    const Point place = placeBeside(rect(owner->frameGeometry()), {width(), height()}, rect(screen->availableGeometry()), controls);
    move(place.x, place.y);
}

} // namespace rt::qt
