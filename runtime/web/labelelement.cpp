// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A label in the page: plain text word-wrapped within its box, a word longer than the line broken,
// cut off at the bottom, with the role of a button, so that a screen reader reads its caption and
// can press it. It takes no focus, and a click on it leaves the focus where it is. The page reports
// each click with its place in a run of quick clicks (page.js), and a screen reader's press.

#include "formelement.h"
#include "webdriver.h"

#include <emscripten/emscripten.h>

namespace rt::web {

class LabelElement final : public LabelDriver, public ControlElement {
public:
    LabelElement(Label& label, FormElement& form, const Rect& area)
        : LabelDriver(label)
        , ControlElement(rtWebCreateLabel(form.element(), static_cast<ControlDriver*>(this)))
    {
        place(area);
    }

    void place(const Rect& area) override { placeElement(area); }
    void setCaption(const std::string& text) override { rtWebSetText(element(), text.data(), static_cast<int>(text.size())); }
    void pressedInPage(int placeInRun) { pressed(placeInRun); }
};

} // namespace rt::web

std::unique_ptr<rt::LabelDriver> rt::makeLabelDriver(Label& label, FormDriver& form, const Rect& area)
{
    return std::make_unique<web::LabelElement>(label, static_cast<web::FormElement&>(form), area);
}

extern "C" EMSCRIPTEN_KEEPALIVE void rtWebLabelPressed(void* label, int placeInRun)
{
    static_cast<rt::web::LabelElement*>(static_cast<rt::ControlDriver*>(label))->pressedInPage(placeInRun);
}
