// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The forms API's driver on a web page, for browsers, compiled to WebAssembly by Emscripten: a
// form is a box in the page, a label an element with the role of a button, a list box a listbox
// of options, a message a modal <dialog>. page.js alone touches the page; these are its functions.
//
// Supports:
// - the browser's system colours (light and dark) and font, and its text size, which grows the
//   forms as a larger desktop font does; any zoom, the text being the page's own;
// - clicks, taps and a screen reader's press, each with its place in a run of quick clicks, which
//   the page counts itself, as browsers count runs each their own way (page.js);
// - the keyboard focus on the list from the start, kept there by clicks on labels and given back
//   when a message closes; the list's keys are the Windows LISTBOX's, which the page copies: up,
//   down, page up and down, home, end.
// Differs from the other platforms, where a browser does:
// - the page is the window: the start-up form's title is the tab's, a form cannot be moved,
//   resized or closed, and closing the tab ends the program; an owned form is a box without a
//   title bar beside its owner, or below it, as the page grows downwards and has room there;
// - a viewport may be narrower than a form (a phone), which then takes its width between the
//   page's margins by the portable layout's rule: its controls narrow and grow taller, and its
//   texts keep their size, never below 12 CSS pixels; no desktop is narrower than the game;
// - a tap is a click, and a double tap adds one animal and zooms nothing;
// - a long animal name is cut at the list's edge, as the LISTBOX cuts it, where Qt's list draws an
//   ellipsis; there is no typing to find an animal, which Qt's list has;
// - the page carries the start-up form's first frame, which the program adopts, so that the game
//   shows before the program has arrived;
// - a message leaves showMessage() at once and closes later, as a page cannot wait for the user;
// - a page has no command line: no --help or --version, and no exit status.

extern "C" {

// An element of the page is a small positive number, its handle. Sizes and places are in CSS
// pixels, in the page's coordinates; text crosses as UTF-8 with its length, every character kept.
// The driver given with a form or a label is where the page's events for it go.
int rtWebCreateForm(int framed, int owned, void* driver);
int rtWebCreateLabel(int form, void* driver);
int rtWebCreateList(int form);
void rtWebRemove(int element);

void rtWebSetDocumentTitle(const char* text, int length);
void rtWebSetName(int element, const char* text, int length);
void rtWebSetText(int element, const char* text, int length);
void rtWebSetVisible(int element, int visible);
// The element's border box.
void rtWebPlace(int element, int left, int top, int width, int height);
// The control that has the form's keyboard focus: now, and again after a message.
void rtWebFocusOn(int form, int control);

void rtWebAppendItem(int list, const char* text, int length);
void rtWebSelectItem(int list, int index);
int rtWebSelectedItem(int list);

// Opens the page's modal message over the form and returns at once; OK, Return or Escape closes
// it, and then the page calls rtWebMessageClosed() with onClose. A message asked for while one is
// open follows it.
void rtWebShowMessage(int owner, const char* prompt, int promptLength, const char* title, int titleLength, void* onClose);

// The font of the page's forms at the browser's text size: its average character width and height.
void rtWebFontMetrics(double* metrics);
// The viewport's width without its scroll bar.
int rtWebViewportWidth();
// From here on the page's events come to the program.
void rtWebListen();

// The program's entries for the page's events, each beside the driver that it concerns.
void rtWebLabelPressed(void* label, int placeInRun);
void rtWebViewportChanged(void* form);
void rtWebMessageClosed(void* onClose);
// The program's entry for a file that the page has fetched (programfiles.js, page.js): it is
// written under its name, which names no folder, in the program's folder, in place of any file
// there before.
void rtWebPutFile(const char* name, const char* bytes, int length);
}
