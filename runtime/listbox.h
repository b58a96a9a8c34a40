// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// An unsorted, single-selection list of texts whose item count is a 16-bit signed integer, as
// the game counts it. It holds at most 32767 items; appending to a full list adds nothing.
// Appending, selecting and scrolling cost the same with 32,766 items as with one.

#include "geometry.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

namespace rt {

class Form;

class ListBox final {
public:
    static constexpr std::int16_t capacity = std::numeric_limits<std::int16_t>::max();

    ListBox(Form& form, TwipRect geometry);
    ~ListBox();
    ListBox(const ListBox&) = delete;
    ListBox& operator=(const ListBox&) = delete;

    bool isFull() const;
    bool appendItem(const std::string& text);
    std::int16_t itemCount() const;
    std::string itemText(std::int16_t index) const;
    // The index of the item appended last, or -1 before the first.
    std::int16_t newIndex() const;
    // The selected item's index, or -1 when none is selected.
    std::int16_t listIndex() const;
    // Selects the item and scrolls it into view.
    void selectIndex(std::int16_t index);

    // The platform's control behind it; only the platform's own code knows its type and reaches
    // it (native.h).
    struct Native;

private:
    friend struct NativeAccess;
    std::unique_ptr<Native> native_;
};

} // namespace rt
