// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A label as the forms use it: a caption word-wrapped within a fixed box and cut off at its
// bottom, and a click that fires once per mouse click (a double-click is still one click) and
// never from the keyboard. Assistive technology sees it as a button it can press.

#include "geometry.h"

#include <QLabel>

namespace rt::qt {

class FormWidget;

class LabelWidget final : public QLabel {
    Q_OBJECT

public:
    LabelWidget(FormWidget& form, TwipRect geometry);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace rt::qt
