// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A modal message: a title, a prompt and one OK button, no icon. While it is open no window of
// the program takes input. Passed as a function, so that a recorder can take its place.

#include <QString>
#include <functional>

class QWidget;

namespace rt {

using MessageBox = std::function<void(QWidget* owner, const QString& prompt, const QString& title)>;

void showMessage(QWidget* owner, const QString& prompt, const QString& title);

} // namespace rt
