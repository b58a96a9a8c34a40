// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A form's window on Qt: a top-level widget fixed at the size the form lays out, in the desktop's
// window colours; an owned form is a tool window of its owner. Where the compositor makes it
// larger (maximized on Wayland), its controls keep their size, centred.

#include "driver.h"

#include <QWidget>

namespace rt::qt {

// Paints the widget in the desktop's colours for a window's content, its background and its
// text (Qt's Base and Text roles). Follows the palette, so a theme change reaches the forms too.
void useWindowColors(QWidget& widget);

class FormWidget final : public QWidget, public FormDriver {
    Q_OBJECT

public:
    FormWidget(Form& form, BorderStyle border, FormWidget* owner);

    void setTitle(const std::string& title) override;
    void setShown(bool shown) override;
    bool isShown() const override { return isVisible(); }
    FormMetrics metrics() const override;
    void setClientSize(Size size) override;
    Rect frame() const override;
    Point clientOrigin() const override;
    Rect workArea() const override;
    void moveFrameTo(Point topLeft) override;
    void focusOn(ControlDriver& control) override;

    // Where a control of the form stands: at its place in the laid-out area, centred in the form.
    QRect placed(const Rect& area) const;

signals:
    void closed();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool isLarge() const;

    QSize laidOut_;
};

} // namespace rt::qt
