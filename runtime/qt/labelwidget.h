// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A label's widget on Qt: plain text word-wrapped within its box and cut off at its bottom, no
// focus. It reports each click of the left button, pressed and released over it, with its place
// in a run as Qt pairs them (a press, then a double-click's), and a screen reader's press.

#include "driver.h"

#include <QLabel>

namespace rt::qt {

class FormWidget;

class LabelWidget final : public QLabel, public LabelDriver {
    Q_OBJECT

public:
    LabelWidget(Label& label, FormWidget& form, const Rect& area);

    void place(const Rect& area) override;
    void setCaption(const std::string& text) override;
    void pressForAssistiveTechnology() { pressed(assistivePress); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int placeInRun_ = 0; // of the press held now; 0 for none
};

} // namespace rt::qt
