// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The least a Qt Widgets program can do to show what the game shows at start: a fixed window
// with a list and two wrapped labels. Start-up of the game is measured against it.

#include <QApplication>
#include <QLabel>
#include <QListWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(449, 213);
    auto* list = new QListWidget(&window);
    list->setGeometry(16, 16, 273, 171);
    auto* count = new QLabel(QStringLiteral("Antall dyr på arken: 0"), &window);
    count->setGeometry(304, 16, 121, 81);
    count->setWordWrap(true);
    count->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* add = new QLabel(QStringLiteral("Sleng inn et dyr i Arken!"), &window);
    add->setGeometry(304, 112, 121, 81);
    add->setWordWrap(true);
    add->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    window.setWindowTitle(QStringLiteral("Bargeling 2000"));
    window.show();
    return app.exec();
}
