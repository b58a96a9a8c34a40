// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A list box in the page: a listbox of options, as assistive technology knows it, that keeps in the
// page only the rows in view (page.js), so that appending, selecting and scrolling cost the same
// with 32,766 items as with one; each row in view tells its place in the whole list. It takes the
// focus; the mouse, touch and the desktop list box's keys select.

#include "formelement.h"
#include "webdriver.h"

namespace rt::web {

class ListBoxElement final : public ListBoxDriver, public ControlElement {
public:
    ListBoxElement(FormElement& form, const Rect& area)
        : ControlElement(rtWebCreateList(form.element()))
    {
        place(area);
    }

    void place(const Rect& area) override { placeElement(area); }
    void appendRow(const std::string& text) override { rtWebAppendItem(element(), text.data(), static_cast<int>(text.size())); }
    void selectRow(int row) override { rtWebSelectItem(element(), row); }
    int selectedRow() const override { return rtWebSelectedItem(element()); }
    void setName(const std::string& name) override { rtWebSetName(element(), name.data(), static_cast<int>(name.size())); }
};

} // namespace rt::web

std::unique_ptr<rt::ListBoxDriver> rt::makeListBoxDriver(FormDriver& form, const Rect& area)
{
    return std::make_unique<web::ListBoxElement>(static_cast<web::FormElement&>(form), area);
}
