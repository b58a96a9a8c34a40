// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the widget tests share: a font to design forms for, and a watcher that records and
// closes the modal message boxes a test opens.

#include "form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

namespace testing {

// A design font a little larger than the desktop's usual 9 pt, as the game's forms have.
inline constexpr rt::DesignFont designFont{7.0, 16.0};

// Watches for a modal message box while it lives; records each one with what `meanwhile` says
// at that moment, then clicks its OK. Assert on `seen` after the box's exec() has returned, so
// that a failing check never leaves a box open.
class MessageBoxCloser final {
public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::Critical;
        QList<QMessageBox::StandardButton> buttons;
        Qt::WindowModality modality = Qt::NonModal;
        Qt::TextFormat format = Qt::AutoText;
        QString meanwhile;
    };

    explicit MessageBoxCloser(std::function<QString()> meanwhile = {})
        : meanwhile_(std::move(meanwhile))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { closeModalBox(); });
        timer_.start(0);
    }

    QList<Seen> seen;

private:
    void closeModalBox()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        Seen s{box->windowTitle(), box->text(), box->icon(), {}, box->windowModality(), box->textFormat(),
            meanwhile_ ? meanwhile_() : QString()};
        for (QAbstractButton* button : box->buttons())
            s.buttons << box->standardButton(button);
        seen << s;
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    }

    std::function<QString()> meanwhile_;
    QTimer timer_;
};

} // namespace testing
