// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form.h"

#include "driver.h"

#include <algorithm>
#include <cassert>

namespace rt {

Form::Form(TwipSize clientSize, BorderStyle border, DesignFont designFont, Form* owner)
    : clientSize_(clientSize)
    , designFont_(designFont)
    , owner_(owner)
    , driver_(makeFormDriver(*this, border, owner ? owner->driver_.get() : nullptr))
{
    if (owner_)
        owner_->owned_.push_back(this);
    layOut();
}

Form::~Form()
{
    // A window system destroys owned windows with their owner: those must have gone first.
    assert(owned_.empty());
    if (owner_)
        std::erase(owner_->owned_, this);
}

void Form::setTitle(const std::string& title)
{
    driver_->setTitle(title);
}

void Form::setVisible(bool visible)
{
    if (visible && !isVisible() && owner_)
        placeBesideOwner();
    driver_->setShown(visible);
    if (!visible || shown_)
        return;
    shown_ = true;
    const auto first = std::find_if(controls_.cbegin(), controls_.cend(), [](const Control& c) { return c.takesFocus; });
    if (first != controls_.cend())
        driver_->focusOn(*first->driver);
}

bool Form::isVisible() const
{
    return driver_->isShown();
}

Rect Form::pixels(TwipRect geometry) const
{
    return geometry.toPixels(scale_);
}

void Form::adopt(ControlDriver& control, TwipRect geometry, bool takesFocus)
{
    controls_.push_back({&control, geometry, takesFocus});
}

void Form::release(ControlDriver& control)
{
    std::erase_if(controls_, [&control](const Control& c) { return c.driver == &control; });
}

// Designed pixels at the platform's scale, grown where the form's font is larger than the one it
// was designed for at that scale; never shrunk for a smaller font. Where that is wider than the
// room there is (a phone), the form takes the room's width, and its controls grow taller by as
// much as they narrow, so that their texts, wrapped anew at the same size, keep their room; to no
// less than half its width.
Scale Form::scaleFor(const FormMetrics& metrics) const
{
    const double ratio = metrics.pixelRatio;
    const Scale grown = growth(metrics.font, {designFont_.averageCharWidth * ratio, designFont_.height * ratio});
    const Scale scale{ratio * grown.x, ratio * grown.y};
    const int width = clientSize_.toPixels(scale).width;
    if (metrics.roomWidth <= 0 || width <= metrics.roomWidth)
        return scale;
    const double fit = std::max(0.5, static_cast<double>(metrics.roomWidth) / width);
    return {scale.x * fit, scale.y * (2.0 - fit)};
}

void Form::layOut()
{
    scale_ = scaleFor(driver_->metrics());
    driver_->setClientSize(clientSize_.toPixels(scale_));
    for (const Control& control : controls_)
        control.driver->place(pixels(control.geometry));
}

// Beside the owner's frame by the rule every platform shares, clear of its controls where it can.
void Form::placeBesideOwner()
{
    const FormDriver& owner = *owner_->driver_;
    const Point origin = owner.clientOrigin();
    std::vector<Rect> ownerControls;
    for (const Control& control : owner_->controls_) {
        const Rect area = owner_->pixels(control.geometry);
        ownerControls.push_back({origin.x + area.left, origin.y + area.top, area.width, area.height});
    }
    const Rect frame = driver_->frame();
    driver_->moveFrameTo(placeBeside(owner.frame(), {frame.width, frame.height}, owner.workArea(), ownerControls));
}

Size FormDriver::clientSizeFor(const FormMetrics& metrics) const
{
    return form_.clientSize_.toPixels(form_.scaleFor(metrics));
}

bool FormDriver::owned() const
{
    return form_.owner_ != nullptr;
}

bool FormDriver::shownBefore() const
{
    return form_.shown_;
}

void FormDriver::metricsChanged()
{
    form_.layOut();
    // Grown in place, an open owned form could now cover its owner, or its owner it.
    if (form_.owner_ && form_.isVisible())
        form_.placeBesideOwner();
    for (Form* owned : form_.owned_)
        if (owned->isVisible())
            owned->placeBesideOwner();
}

} // namespace rt
