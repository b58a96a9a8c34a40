// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "messagebox.h"

#include "nativewidgets.h"

#include <QMessageBox>

namespace rt {

void showMessage(Form& owner, const std::string& prompt, const std::string& title)
{
    QMessageBox box(QMessageBox::NoIcon, qt::toQString(title), qt::toQString(prompt), QMessageBox::Ok, &qt::widget(owner));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace rt
