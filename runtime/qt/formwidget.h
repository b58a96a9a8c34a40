// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A top-level window of fixed size laid out in twips, in the desktop's window colours. It grows
// with its font, in proportion, so that its texts fit at any font size the desktop asks for.
// An owned form is a tool window of its owner: not in the task bar, shown beside it. Where the
// compositor makes it larger (maximized on Wayland), its controls keep their size, centred.

#include "twips.h"

#include <QPointer>
#include <QWidget>
#include <vector>

namespace rt {

// Paints the widget in the desktop's colours for a window's content, its background and its
// text (Qt's Base and Text roles). Follows the palette, so a theme change reaches the forms too.
void useWindowColors(QWidget& widget);

enum class BorderStyle {
    FixedSingle,
    None,
};

// The font a form's layout was made for, by its average character width and its line height in
// pixels. With a larger font the form and its controls grow by the ratio of the two fonts, width
// and height each on their own; with a smaller one they keep their designed size.
struct DesignFont final {
    qreal averageCharWidth = 0;
    qreal height = 0;
};

class Form : public QWidget {
    Q_OBJECT

public:
    Form(TwipSize clientSize, BorderStyle border, DesignFont designFont, QWidget* owner = nullptr);

    // The form's load step: runs once, after the form is built and before it is first used.
    virtual void load() {}

    // Puts a control of the form in its place, and keeps it there as the form grows.
    void place(QWidget& control, TwipRect geometry);

    // What the form's font makes of its designed sizes: 1 by 1 at the design font or below it.
    QSizeF scale() const;

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

} // namespace rt
