// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formelement.h"

#include "page.h"

#include <algorithm>

namespace rt {

namespace {

// Between the page's edge and the start-up form, as between a form and the form it owns.
constexpr int margin = 8;
// The frame of BorderStyle::FixedSingle, on each side, in CSS pixels.
constexpr int frameWidth = 1;
// However narrow the viewport, a form keeps this much of its size, so that its text stays readable.
constexpr double smallestFit = 0.25;

std::vector<Form::Native*>& forms()
{
    static std::vector<Form::Native*> all;
    return all;
}

struct PageFont final {
    FontMetrics metrics;
    double size = 0;
};

PageFont pageFont()
{
    double values[3] = {};
    rtWebFontMetrics(values);
    return {{values[0], values[1]}, values[2]};
}

Size viewport()
{
    int size[2] = {};
    rtWebViewport(size);
    return {size[0], size[1]};
}

} // namespace

Form::Native::Native(TwipSize clientSize, BorderStyle border, DesignFont designFont, Form* owner)
    : clientSize_(clientSize)
    , designFont_(designFont)
    , owner_(owner)
    , framed_(border == BorderStyle::FixedSingle)
    , element_(rtWebCreateForm(framed_, owner != nullptr))
{
    forms().push_back(this);
    layOut();
}

Form::Native::~Native()
{
    std::erase(forms(), this);
    rtWebRemove(element_);
}

void Form::Native::place(int control, TwipRect geometry)
{
    controls_.push_back({control, geometry});
    placeControl(controls_.back());
}

void Form::Native::forget(int control)
{
    std::erase_if(controls_, [control](const Control& entry) { return entry.element == control; });
}

void Form::Native::show()
{
    if (!visible_ && owner_)
        placeBesideOwner();
    rtWebSetVisible(element_, true);
    visible_ = true;
}

void Form::Native::hide()
{
    rtWebSetVisible(element_, false);
    visible_ = false;
}

void Form::Native::viewportChanged()
{
    // Owners first: an owned form takes its owner's fit and stands beside its new frame.
    for (Native* form : forms())
        if (!form->owner_)
            form->layOut();
    for (Native* form : forms()) {
        if (form->owner_) {
            form->layOut();
            if (form->visible_)
                form->placeBesideOwner();
        }
    }
}

// The designed layout grown where the page's font is larger than the one it was designed for,
// then shrunk, text and all, where the viewport is too narrow for it; an owned form shrinks with
// its owner.
void Form::Native::layOut()
{
    const PageFont font = pageFont();
    const Scale grown = growth(font.metrics, designFont_);
    if (owner_) {
        fit_ = native(*owner_).fit_;
    } else {
        const Size designed = clientSize_.toPixels(grown);
        const int room = viewport().width - 2 * margin - (framed_ ? 2 * frameWidth : 0);
        fit_ = designed.width > 0 ? std::clamp(static_cast<double>(room) / designed.width, smallestFit, 1.0) : 1.0;
        position_ = {margin, margin};
    }
    scale_ = {grown.x * fit_, grown.y * fit_};
    const Rect box = frame();
    rtWebPlace(element_, box.left, box.top, box.width, box.height);
    rtWebSetFontSize(element_, font.size * fit_);
    for (const Control& control : controls_)
        placeControl(control);
}

void Form::Native::placeControl(const Control& control) const
{
    const Rect area = control.geometry.toPixels(scale_);
    rtWebPlace(control.element, area.left, area.top, area.width, area.height);
}

// The form's border box in the page.
Rect Form::Native::frame() const
{
    const Size client = clientSize_.toPixels(scale_);
    const int frames = framed_ ? 2 * frameWidth : 0;
    return {position_.x, position_.y, client.width + frames, client.height + frames};
}

// Beside the owner by the rule every platform shares, the viewport as the work area. A page
// grows downwards as far as it needs: below the owner there is always room.
void Form::Native::placeBesideOwner()
{
    const Native& owner = native(*owner_);
    const Rect ownerFrame = owner.frame();
    const Rect box = frame();
    const Size page = viewport();
    const Rect workArea{0, 0, page.width, std::max(page.height, ownerFrame.bottom() + margin + box.height)};
    const int inset = owner.framed_ ? frameWidth : 0;
    std::vector<Rect> ownerControls;
    for (const Control& control : owner.controls_) {
        const Rect area = control.geometry.toPixels(owner.scale_);
        ownerControls.push_back({ownerFrame.left + inset + area.left, ownerFrame.top + inset + area.top, area.width, area.height});
    }
    const Point place = placeBeside(ownerFrame, {box.width, box.height}, workArea, ownerControls);
    position_ = place;
    rtWebPlace(element_, place.x, place.y, box.width, box.height);
}

Form::Form(TwipSize clientSize, BorderStyle border, DesignFont designFont, Form* owner)
    : native_(std::make_unique<Native>(clientSize, border, designFont, owner))
{
}

Form::~Form() = default;

// The start-up form's title is the page's; an owned form has no title bar, and its title names
// it for assistive technology.
void Form::setTitle(const std::string& title)
{
    if (native_->isOwned())
        rtWebSetName(native_->element(), title.data(), static_cast<int>(title.size()));
    else
        rtWebSetDocumentTitle(title.data(), static_cast<int>(title.size()));
}

void Form::setVisible(bool visible)
{
    if (visible)
        native_->show();
    else
        native_->hide();
}

bool Form::isVisible() const
{
    return native_->isVisible();
}

} // namespace rt
