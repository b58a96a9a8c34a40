// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The one way this platform reaches the page: the functions of page.js, which alone touches the
// DOM. An element of the page is a small positive number, its handle; 0 is none. Sizes and places
// are in CSS pixels, in the page's coordinates. Text crosses as UTF-8 with its length, every
// character kept.

extern "C" {

int rtWebCreateForm(int framed, int owned);
int rtWebCreateLabel(int form);
int rtWebCreateList(int form);
void rtWebRemove(int element);

void rtWebSetDocumentTitle(const char* text, int length);
void rtWebSetName(int element, const char* text, int length);
void rtWebSetText(int element, const char* text, int length);
void rtWebSetVisible(int element, int visible);
// The element's border box, and the font size of its text.
void rtWebPlace(int element, int left, int top, int width, int height);
void rtWebSetFontSize(int element, double pixels);

void rtWebAppendItem(int list, const char* text, int length);
void rtWebSelectItem(int list, int index);
int rtWebSelectedItem(int list);

// Opens the page's modal message and returns at once; OK, Return or Escape closes it.
void rtWebShowMessage(const char* prompt, int promptLength, const char* title, int titleLength);

// The font of the page's forms at the browser's text size: average character width, height and
// size, in CSS pixels.
void rtWebFontMetrics(double* metrics);
// The viewport without its scroll bars: width and height.
void rtWebViewport(int* size);
// From here on the page's events come to rtWebEvent(), the program's one entry for them.
void rtWebListen();

// The program's entry for the page's events (PageEvent), in program.cpp.
void rtWebEvent(int event, int element);
// The program's entry for a file that the page has fetched (startup.js): it is written under its
// name, which names no folder, in the program's folder, in place of any file there before.
void rtWebPutFile(const char* name, const char* bytes, int length);
}

namespace rt::web {

// What page.js passes to rtWebEvent(), with the element it concerns.
enum class PageEvent {
    click = 1, // a click on a label: a mouse click, a tap or a screen reader's press; a double-click once
    viewportChanged = 2, // the viewport has a new size (a resized window, a turned phone, a new zoom)
};

} // namespace rt::web
