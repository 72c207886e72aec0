// SPDX-License-Identifier: GPL-3.0-or-later

// What opening and closing the windows leaves in memory: each test window is
// opened with its start button, drawn whole, and closed again, 200 times, and
// the resident size after the first and after the last closing is compared.
// Before that, each of the four is opened once in turn, and the peak resident size is taken.
// The program is wired as main() wires it, on the real services, and nothing
// else is linked in, so that the figures are the program's own.
//
// Prints "peak <kB>" and "growth <window> <kB>" lines for scripts/bench.sh's table.

#include "history/resulthistory.h"
#include "platform/realservices.h"
#include "shell/registry.h"
#include "shell/start.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QPushButton>
#include <QWindow>
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

// Waits until the window is on the screen (5 s at most), then lets it draw.
void drawn(platform::Window &window)
{
    const QWindow *handle = window.frame()->windowHandle();
    const QDeadlineTimer deadline(5000);
    while (handle && !handle->isExposed() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
}

QPushButton *startButton(WindowRegistry &registry, TestWindow which)
{
    const StartControls &c = registry.start().controls();
    switch (which) {
    case TestWindow::Reaction:
        return c.Command2;
    case TestWindow::Memory:
        return c.Command4;
    case TestWindow::Dexterity:
        return c.Command3;
    case TestWindow::Arithmetic:
        break;
    }
    return c.Command1;
}

// One opening as the player makes it, drawn, and its closing.
void openAndClose(WindowRegistry &registry, TestWindow which)
{
    startButton(registry, which)->click();
    platform::Window &window = registry.test(which);
    drawn(window);
    window.unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    platform::RealServices real([](platform::Dialogs &dialogs, platform::Program &program) {
        return std::make_unique<history::ResultHistory>(dialogs, program);
    });
    WindowRegistry registry(real.services());
    real.program().onShowStart = [&registry] { registry.start().setVisible(true); };
    registry.start().setVisible(true);
    const std::pair<TestWindow, const char *> windows[]
        = { { TestWindow::Reaction, "reaction" }, { TestWindow::Memory, "memory" },
              { TestWindow::Dexterity, "dexterity" }, { TestWindow::Arithmetic, "arithmetic" } };
    for (const auto &[which, name] : windows)
        openAndClose(registry, which);
    std::printf("peak %ld\n", statusKb("VmHWM:"));

    for (const auto &[which, name] : windows) {
        openAndClose(registry, which);
        const long first = statusKb("VmRSS:");
        for (int cycle = 1; cycle < cycles; ++cycle)
            openAndClose(registry, which);
        std::printf("growth %s %ld\n", name, statusKb("VmRSS:") - first);
    }
    return 0;
}
