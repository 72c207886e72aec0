// SPDX-License-Identifier: GPL-3.0-or-later

// The memory window on a real display, set to a number of colours at the
// fastest speed, for scripts/bench.sh to watch from outside (bench/xwatch).
//
//   memoryshow [COLOURS]
//
// Once the window is on screen it prints where to watch and where to click,
// in screen pixels: "square X Y" (a point of the colour square that no button
// covers) and "start X Y" (the start button). Each start click is stamped with
// CLOCK_MONOTONIC as the button receives it: "click <ns>". When the show is
// over it prints "done" and ends.

#include "fakeservices.h"
#include "memory/form2.h"
#include "platform/controls.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

long long monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// Stamps the release that clicks the button, before the button acts on it.
class ClickStamp : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease)
            std::printf("click %lld\n", monotonicNs());
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QString colours = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("50");

    FakeServices fake;
    for (int i = 0; i < 600; ++i)
        fake.random.values << float((i * 7919) % 1000) / 1000.0f; // every colour, in no simple order
    fake.dialogs.inputs = { colours };
    form2 window(fake.services);
    window.setVisible(true);
    if (!QTest::qWaitForWindowExposed(window.frame())) {
        std::fprintf(stderr, "memoryshow: the window was never exposed\n");
        return 1;
    }
    const form2::Controls &c = window.controls();
    c.selbst->trigger();
    c.schnell->trigger();
    ClickStamp stamp;
    c.Command1->installEventFilter(&stamp);
    QTest::qWait(200); // the first frames drawn
    const QPoint square = c.Shape1->mapToGlobal(QPoint(10, 10));
    const QPoint start = c.Command1->mapToGlobal(c.Command1->rect().center());
    std::printf("square %d %d\nstart %d %d\n", square.x(), square.y(), start.x(), start.y());

    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (window.isLoaded() && !c.Command3->isHidden()) {
            std::printf("done\n");
            QApplication::quit();
        }
    });
    watch.start(100);
    return QApplication::exec();
}
