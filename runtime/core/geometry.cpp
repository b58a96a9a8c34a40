// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "geometry.h"

#include <algorithm>
#include <array>

namespace rt {

Scale growth(FontMetrics actual, DesignFont designed)
{
    const auto ratio = [](double now, double design) { return design > 0 ? std::max(1.0, now / design) : 1.0; };
    return {ratio(actual.averageCharWidth, designed.averageCharWidth), ratio(actual.height, designed.height)};
}

Point placeBeside(const Rect& ownerFrame, Size size, const Rect& workArea, const std::vector<Rect>& ownerControls)
{
    constexpr int gap = 8;
    const Rect& frame = ownerFrame;
    const auto clamped = [&](Rect area) {
        area.left = std::clamp(area.left, workArea.left, std::max(workArea.left, workArea.right() - area.width));
        area.top = std::clamp(area.top, workArea.top, std::max(workArea.top, workArea.bottom() - area.height));
        return area;
    };
    const std::array<Rect, 4> sides{
        Rect{frame.right() + gap, frame.top, size.width, size.height},
        Rect{frame.left - gap - size.width, frame.top, size.width, size.height},
        Rect{frame.left, frame.bottom() + gap, size.width, size.height},
        Rect{frame.left, frame.top - gap - size.height, size.width, size.height},
    };
    for (const Rect& side : sides) {
        // Slid along the owner's edge into the work area, it must still stand clear of the owner.
        const Rect area = clamped(side);
        if (workArea.contains(area) && !area.intersects(frame))
            return {area.left, area.top};
    }
    const auto hidden = [&](const Rect& area) {
        return std::count_if(ownerControls.cbegin(), ownerControls.cend(), [&](const Rect& control) { return area.intersects(control); });
    };
    Rect best = clamped(sides[0]);
    for (const Rect& side : sides) {
        const Rect area = clamped(side);
        if (hidden(area) < hidden(best))
            best = area;
    }
    return {best.left, best.top};
}

} // namespace rt
