// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a screen reader sees of a control: the system's standard accessible object of its window,
// with what that object cannot know. A label is a push button named by its text whose default
// action, "Press", presses it, as on the other platforms: the press is posted to the label's
// window as pressMessage(), and runs only while the label still takes a press. The list box is
// the system's, with the name the game gives it, where the standard object would look for one
// in a label before the list.
//
// Supports: IAccessible, across processes: those answers of our own for the control itself; every
// other, and every answer about a child such as a list's row, from the standard object, whose
// parent also names the control's window (WindowFromAccessibleObject). Does not: IDispatch's late
// binding (screen readers call IAccessible itself).

#include "driver.h"
#include "handles.h"

#include <memory>
#include <string>

namespace rt::win32 {

// The message that a press posts to the label's window.
UINT pressMessage();

// Whether a mouse click could reach the window now: it is shown, and neither it nor its
// top-level window is disabled (by a modal box, say).
bool takesInput(HWND window);

// The thread as a single-threaded COM apartment, for as long as this lives: the apartment that
// the accessible objects live in, served by the thread's message loop.
class ComApartment final {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};

// The accessible object of one control: made on the first WM_GETOBJECT that asks for the client,
// the same object for every later one, and cut off from its clients when this goes, before the
// control's window. A client that still holds it then gets an error from every call
// (RPC_E_DISCONNECTED in this process and from Windows' proxies in others, RPC_S_UNKNOWN_IF from
// Wine 8's) and never reaches the control; the object goes with the last reference.
class AccessibleControl final {
public:
    // A label's, which it presses.
    explicit AccessibleControl(const LabelDriver& label);
    // Another control's.
    AccessibleControl();
    ~AccessibleControl();
    AccessibleControl(const AccessibleControl&) = delete;
    AccessibleControl& operator=(const AccessibleControl&) = delete;

    // The control's name for a screen reader; the standard object's where none is given.
    void setName(std::wstring name);
    // The answer to WM_GETOBJECT; 0 (the system's own answer) for another object than the
    // client, or where ours could not be made.
    LRESULT answer(HWND window, WPARAM wParam, LPARAM lParam);

private:
    class Object;
    struct Disconnect final {
        void operator()(Object* object) const;
    };

    const LabelDriver* label_ = nullptr;
    std::wstring name_;
    std::unique_ptr<Object, Disconnect> object_;
};

} // namespace rt::win32
