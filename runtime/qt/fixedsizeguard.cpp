// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fixedsizeguard.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace rt::qt {

namespace {

// The fixed size a window had before it was released, kept on the window while it is large.
constexpr char fixedSizeProperty[] = "rt_fixedSize";
// Marks a native window whose state changes are already watched; a new one starts unmarked.
constexpr char watchedProperty[] = "rt_fixedSizeGuarded";

bool isLarge(Qt::WindowStates states)
{
    return states & (Qt::WindowMaximized | Qt::WindowFullScreen);
}

} // namespace

FixedSizeGuard::FixedSizeGuard(QObject* parent)
    : QObject(parent)
{
}

void FixedSizeGuard::installWhereNeeded()
{
    // On X11 the window manager reads the fixed size and the missing maximize button from the
    // window's hints and offers no maximize: nothing to guard there.
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        qApp->installEventFilter(new FixedSizeGuard(qApp));
}

bool FixedSizeGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType())
        return false;
    auto& widget = *static_cast<QWidget*>(watched);
    if (!widget.isWindow())
        return false;
    switch (event->type()) {
    case QEvent::Show:
        // From the first show, not from creation: a message box fixes its size only in its own
        // show event, and its native window exists only from then on.
        watch(widget);
        break;
    case QEvent::WindowStateChange:
        // The state the compositor has confirmed. A maximize it started itself (a key binding)
        // arrives here first; a return to normal may only shrink the window now, not when
        // asked, as the compositor still holds it to the large size until then.
        if (isLarge(widget.windowState()))
            release(widget);
        else if (!(widget.windowState() & Qt::WindowMinimized))
            refix(widget);
        break;
    default:
        break;
    }
    return false;
}

void FixedSizeGuard::watch(QWidget& window)
{
    QWindow* handle = window.windowHandle();
    if (!handle || handle->property(watchedProperty).toBool())
        return;
    handle->setProperty(watchedProperty, true);
    // Qt's title bar asks for maximize through QWindow::setWindowStates(), which emits this at
    // once, before the compositor answers with the size: the limits must be gone by then.
    connect(handle, &QWindow::windowStateChanged, this, [this, window = QPointer<QWidget>(&window)](Qt::WindowState state) {
        if (window && isLarge(state))
            release(*window);
    });
}

void FixedSizeGuard::release(QWidget& window)
{
    if (window.property(fixedSizeProperty).isValid() || window.minimumSize() != window.maximumSize())
        return;
    window.setProperty(fixedSizeProperty, window.maximumSize());
    window.setMinimumSize(0, 0);
    window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void FixedSizeGuard::refix(QWidget& window)
{
    const QVariant fixedSize = window.property(fixedSizeProperty);
    if (!fixedSize.isValid())
        return;
    window.setProperty(fixedSizeProperty, QVariant());
    window.setFixedSize(fixedSize.toSize());
}

} // namespace rt::qt
