// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formelement.h"

#include "form.h"
#include "webdriver.h"

#include <emscripten/emscripten.h>

#include <limits>

namespace rt::web {

namespace {

// Between the page's edge and a form.
constexpr int margin = 8;

FontMetrics pageFont()
{
    double metrics[2] = {};
    rtWebFontMetrics(metrics);
    return {metrics[0], metrics[1]};
}

} // namespace

FormElement::FormElement(Form& form, BorderStyle border, FormElement* owner)
    : FormDriver(form)
    , frameWidth_(border == BorderStyle::FixedSingle ? 1 : 0)
    , position_(owner ? Point{} : Point{margin, margin})
    , element_(rtWebCreateForm(frameWidth_, owner != nullptr, this))
{
}

FormElement::~FormElement()
{
    rtWebRemove(element_);
}

// The start-up form's title is the page's; an owned form has no title bar, and its title names
// it for assistive technology.
void FormElement::setTitle(const std::string& title)
{
    if (owned())
        rtWebSetName(element_, title.data(), static_cast<int>(title.size()));
    else
        rtWebSetDocumentTitle(title.data(), static_cast<int>(title.size()));
}

void FormElement::setShown(bool shown)
{
    shown_ = shown;
    rtWebSetVisible(element_, shown);
}

// The page's font, and the viewport's width between the page's margins, which a form never
// exceeds: on a narrow viewport (a phone) it takes that width, and its texts keep their size.
FormMetrics FormElement::metrics() const
{
    return {1.0, pageFont(), rtWebViewportWidth() - 2 * margin - 2 * frameWidth_};
}

void FormElement::setClientSize(Size size)
{
    clientSize_ = size;
    place();
}

Rect FormElement::frame() const
{
    return {position_.x, position_.y, clientSize_.width + 2 * frameWidth_, clientSize_.height + 2 * frameWidth_};
}

Point FormElement::clientOrigin() const
{
    return {position_.x + frameWidth_, position_.y + frameWidth_};
}

// The viewport's width, and below it as much as a form needs: the page grows downwards, so below
// the owner there is always room.
Rect FormElement::workArea() const
{
    return {0, 0, rtWebViewportWidth(), std::numeric_limits<int>::max() / 2};
}

void FormElement::moveFrameTo(Point topLeft)
{
    position_ = topLeft;
    place();
}

void FormElement::focusOn(ControlDriver& control)
{
    rtWebFocusOn(element_, dynamic_cast<ControlElement&>(control).element());
}

void FormElement::place()
{
    const Rect box = frame();
    rtWebPlace(element_, box.left, box.top, box.width, box.height);
}

} // namespace rt::web

std::unique_ptr<rt::FormDriver> rt::makeFormDriver(Form& form, BorderStyle border, FormDriver* owner)
{
    return std::make_unique<web::FormElement>(form, border, static_cast<web::FormElement*>(owner));
}

extern "C" EMSCRIPTEN_KEEPALIVE void rtWebViewportChanged(void* form)
{
    static_cast<rt::web::FormElement*>(form)->viewportChanged();
}
