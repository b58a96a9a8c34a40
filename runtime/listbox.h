// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// An unsorted, single-selection list of texts whose item count is a 16-bit signed integer, as
// the game counts it. It holds at most 32767 items; appending to a full list adds nothing.
// Appending, selecting and scrolling cost the same with 32,766 items as with one. It takes the
// focus, and its keys are the platform's own list box's.

#include "geometry.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace rt {

class Form;
class ListBoxDriver;

class ListBox final {
public:
    static constexpr std::int16_t capacity = std::numeric_limits<std::int16_t>::max();

    ListBox(Form& form, TwipRect geometry);
    ~ListBox();
    ListBox(const ListBox&) = delete;
    ListBox& operator=(const ListBox&) = delete;

    bool isFull() const { return itemCount() >= capacity; }
    bool appendItem(const std::string& text);
    std::int16_t itemCount() const { return static_cast<std::int16_t>(items_.size()); }
    // The item's text; the empty text for an index out of range.
    std::string itemText(std::int16_t index) const;
    // The index of the item appended last, or -1 before the first.
    std::int16_t newIndex() const { return static_cast<std::int16_t>(itemCount() - 1); }
    // The selected item's index, or -1 when none is selected.
    std::int16_t listIndex() const;
    // Selects the item and scrolls it into view; an index out of range changes nothing.
    void selectIndex(std::int16_t index);
    // What a screen reader calls the list; never shown.
    void setAccessibleName(const std::string& name);

private:
    friend struct NativeAccess;

    Form& form_;
    std::vector<std::string> items_;
    std::unique_ptr<ListBoxDriver> driver_;
};

} // namespace rt
