// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The one instance of a form: made and loaded the first time it is touched, kept as long as
// the slot.

#include <functional>
#include <memory>

namespace rt {

template <class T>
class FormSlot final {
public:
    using Factory = std::function<std::unique_ptr<T>()>;

    explicit FormSlot(Factory make)
        : make_(std::move(make))
    {
    }

    T& get()
    {
        if (!form_) {
            form_ = make_();
            form_->load();
        }
        return *form_;
    }
    T* operator->() { return &get(); }

private:
    Factory make_;
    std::unique_ptr<T> form_;
};

} // namespace rt
