// SPDX-License-Identifier: GPL-3.0-or-later

// What opening and closing the windows leaves in memory: each test window is
// opened with its start button, drawn whole, and closed again, 200 times, and
// the resident size after the first and after the last closing is compared.
// Before that, each of the four is opened once in turn, and the peak resident size is taken.
//
// Prints "peak <kB>" and "growth <window> <kB>" lines for scripts/bench.sh's table.

#include "program.h"

#include <QApplication>
#include <QFile>
#include <cstdio>

namespace {

constexpr int cycles = 200;

long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

// Waits until the window is on the screen and drawn (drawn offscreen where there is no screen).
void drawn(platform::Window &window)
{
    if (QTest::qWaitForWindowExposed(window.frame()))
        QCoreApplication::processEvents();
    else
        window.frame()->grab();
}

// One opening as the player makes it, drawn, and its closing.
void openAndClose(Program &program, TestWindow which)
{
    QTest::mouseClick(program.startButton(which), Qt::LeftButton);
    platform::Window &window = program.registry.test(which);
    drawn(window);
    window.unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Program program;
    const std::pair<TestWindow, const char *> windows[]
        = { { TestWindow::Reaction, "reaction" }, { TestWindow::Memory, "memory" },
              { TestWindow::Dexterity, "dexterity" }, { TestWindow::Arithmetic, "arithmetic" } };
    for (const auto &[which, name] : windows)
        openAndClose(program, which);
    std::printf("peak %ld\n", statusKb("VmHWM:"));

    for (const auto &[which, name] : windows) {
        openAndClose(program, which);
        const long first = statusKb("VmRSS:");
        for (int cycle = 1; cycle < cycles; ++cycle)
            openAndClose(program, which);
        std::printf("growth %s %ld\n", name, statusKb("VmRSS:") - first);
    }
    return 0;
}
