// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Windows-1252, the code page of text files from older Windows editors, decoded without help
// from ICU: Qt built without ICU has no decoder for it.

#include <QByteArrayView>
#include <QString>

namespace rt {

// Every byte becomes one character: 0x80 to 0x9F by the code page's own table (the five bytes
// it leaves undefined become the C1 control characters of the same value), the rest as Latin-1.
QString fromWindows1252(QByteArrayView bytes);

} // namespace rt
