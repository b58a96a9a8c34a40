// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qtdriver.h"

#include <QMessageBox>

void rt::openMessageBox(FormDriver& owner, const std::string& prompt, const std::string& title, std::function<void()> closed)
{
    QMessageBox box(QMessageBox::NoIcon, qt::toQString(title), qt::toQString(prompt), QMessageBox::Ok, &static_cast<qt::FormWidget&>(owner));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    closed();
}
