// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The Qt window behind a form: fixed size, laid out in twips, in the desktop's window colours,
// grown with its font. An owned form is a tool window of its owner: not in the task bar, shown
// beside it. Where the compositor makes it larger (maximized on Wayland), its controls keep their
// size, centred.

#include "form.h"

#include <QPointer>
#include <QWidget>
#include <vector>

namespace rt::qt {

// Paints the widget in the desktop's colours for a window's content, its background and its
// text (Qt's Base and Text roles). Follows the palette, so a theme change reaches the forms too.
void useWindowColors(QWidget& widget);

class FormWidget final : public QWidget {
    Q_OBJECT

public:
    FormWidget(TwipSize clientSize, BorderStyle border, DesignFont designFont, QWidget* owner = nullptr);

    // Puts a control of the form in its place, and keeps it there as the form grows.
    void place(QWidget& control, TwipRect geometry);

    // What the form's font makes of its designed sizes: 1 by 1 at the design font or below it.
    Scale scale() const;

    void setVisible(bool visible) override;

signals:
    void closed();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Placed final {
        QPointer<QWidget> control;
        TwipRect geometry;
    };

    void layOut();
    void placeControls();
    QRect pixelGeometry(TwipRect geometry) const;
    bool isLarge() const;
    void placeBesideOwner();

    TwipSize clientSize_;
    DesignFont designFont_;
    std::vector<Placed> controls_;
};

} // namespace rt::qt
