// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// On Wayland, Qt's own title bar offers maximize on every window, fixed-size or not, and the
// compositor then holds the window to the maximized size: a surface that keeps another size ends
// the connection, and with it the program.

#include <QObject>

class QWidget;

namespace rt::qt {

// Lets a fixed-size window take the size the compositor gives it while it is maximized or full
// screen, and gives it back its fixed size when the compositor has returned it to normal.
class FixedSizeGuard final : public QObject {
    Q_OBJECT

public:
    explicit FixedSizeGuard(QObject* parent = nullptr);

    // Watches every top-level widget of the application, where the platform needs it: on Wayland.
    static void installWhereNeeded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(QWidget& window);
    void release(QWidget& window);
    void refix(QWidget& window);
};

} // namespace rt::qt
