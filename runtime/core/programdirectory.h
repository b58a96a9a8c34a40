// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where the running program lies: the folder its data files are read from.

#include <QString>

namespace rt {

// The directory in which the running program really lies, links resolved, with no trailing
// separator.
QString programDirectory();

} // namespace rt
