// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Forms and controls are laid out in twips, as they were designed: 1440 to the inch, 15 to a
// pixel at 96 dots per inch. Qt's device-independent pixels then take care of HiDPI screens; a
// form that grows with its font multiplies the pixels by its scale.

#include <QRect>
#include <QSize>
#include <QSizeF>

namespace rt {

inline constexpr int twipsPerPixel = 15;

// Rounds to the nearest pixel, a half up; layouts hold no negative twips.
constexpr int pixels(int twips, qreal scale = 1.0)
{
    return static_cast<int>(twips * scale / twipsPerPixel + 0.5);
}

struct TwipSize final {
    int width = 0;
    int height = 0;

    constexpr QSize toPixels(QSizeF scale = {1.0, 1.0}) const
    {
        return {pixels(width, scale.width()), pixels(height, scale.height())};
    }
};

struct TwipRect final {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr QRect toPixels(QSizeF scale = {1.0, 1.0}) const
    {
        return {pixels(left, scale.width()), pixels(top, scale.height()), pixels(width, scale.width()),
            pixels(height, scale.height())};
    }
};

} // namespace rt
