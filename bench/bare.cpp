// SPDX-License-Identifier: GPL-3.0-or-later

// The baseline of the start-up figures: the least a Qt program with a window
// like the start window does. A main window of the same size, centred, with a
// menu and five buttons; no fonts fitted, no palettes, no registry.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    auto *client = new QWidget(&window);
    client->setFixedSize(403, 233); // the start window's client area
    window.setCentralWidget(client);
    window.menuBar()->addMenu(QStringLiteral("Info"))->addAction(QStringLiteral("Über"));
    for (int row = 0; row < 5; ++row)
        (new QPushButton(QStringLiteral("Knopf %1").arg(row + 1), client))->setGeometry(8, 16 + 40 * row, 113, 33);
    window.adjustSize();
    QRect area = window.frameGeometry();
    area.moveCenter(window.screen()->availableGeometry().center());
    window.move(area.topLeft());
    window.show();
    return QApplication::exec();
}
