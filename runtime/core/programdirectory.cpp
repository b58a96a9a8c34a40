// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "programdirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace rt {

QString programDirectory()
{
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const QString canonical = program.canonicalPath();
    return QDir::toNativeSeparators(canonical.isEmpty() ? program.absolutePath() : canonical);
}

} // namespace rt
