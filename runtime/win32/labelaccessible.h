// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a screen reader sees of a label: the system's standard accessible object of its window,
// but a push button named by the label's text that can be pressed, as on the other platforms.
// A press is posted to the label's window as pressMessage(); the label runs it only while it
// takes input, so that behind a modal box a press does nothing, as a mouse click does.
//
// Supports: IAccessible (role, name, default action and the press of our own; the rest, such as
// parent, state, place and hit test, from the standard object) and IOleWindow, across processes.
// Does not: IDispatch's late binding (screen readers call IAccessible itself), keyboard
// shortcuts (the label takes no keys), children.

#include "handles.h"

#include <memory>

namespace rt::win32 {

// The message that a press posts to the label's window.
UINT pressMessage();

// Whether a mouse click could reach the window now: it is shown, and neither it nor its
// top-level window is disabled (by a modal box, say).
bool takesInput(HWND window);

// The thread as a single-threaded COM apartment, for as long as this lives: the apartment that
// the labels' accessible objects live in, served by the thread's message loop.
class ComApartment final {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};

// The accessible object of one label: made on the first WM_GETOBJECT that asks for the client,
// the same object for every later one, and cut off from its clients when it is dropped. A client
// that still holds it then gets an error from every call (RPC_E_DISCONNECTED in this process and
// from Windows' proxies in others, RPC_S_UNKNOWN_IF from Wine 8's) and never reaches the label;
// the object goes with the last reference.
class LabelAccessibility final {
public:
    LabelAccessibility();
    ~LabelAccessibility();
    LabelAccessibility(const LabelAccessibility&) = delete;
    LabelAccessibility& operator=(const LabelAccessibility&) = delete;

    // The answer to WM_GETOBJECT for OBJID_CLIENT; 0 (the system's own object) where it could
    // not be made.
    LRESULT answer(HWND label, WPARAM wParam);
    // The label's window is gone.
    void drop();

private:
    class Object;
    struct Disconnect final {
        void operator()(Object* object) const;
    };

    std::unique_ptr<Object, Disconnect> object_;
};

} // namespace rt::win32
