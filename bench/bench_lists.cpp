// SPDX-License-Identifier: GPL-3.0-or-later

// What the best lists cost where a list grew huge or a name is typed at length:
//
//   1 GB list:   a sparse best2.lst of 1 GiB with twelve real lines at its start,
//                shown (showlist), checked (checkqualification) and saved;
//   1 GB line:   the same size without a line end, shown and refused;
//   10 MB line:  one line of 10 MB shown in the list panel;
//   typed name:  10,000 characters typed key by key into a prepared name box.
//
// A showlist is timed up to the painted list panel, where long lines cost most.
// For each: the wall time, and how far the process's peak memory (VmHWM) rose
// above what it held before, the peak being reset first.

#include "fakeservices.h"
#include "highscore/highscorelist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <cstdio>
#include <functional>

namespace {

constexpr qint64 gigabyte = 1LL << 30;

// A field of /proc/self/status in kB.
long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

void resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5"); // sets VmHWM back to VmRSS
}

void measure(const char *what, const std::function<void()> &run)
{
    resetPeak();
    const long before = statusKb("VmRSS:");
    QElapsedTimer clock;
    clock.start();
    run();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    std::printf("%-34s %10.2f ms %10.2f MB\n", what, ms, double(statusKb("VmHWM:") - before) / 1024.0);
}

void writeSparse(const QString &path, const QByteArray &start)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(start) != start.size() || !file.resize(gigabyte))
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray twelveLines()
{
    QByteArray lines;
    for (int points = 120; points > 0; points -= 10)
        lines += " " + QByteArray::number(points) + "  Punkte f\xFCr  Spieler\r\n";
    return lines;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FakeServices fake;
    HighScoreList list(lists::arithmetic, fake.services);
    QGroupBox panel;
    QListWidget List1(&panel);
    List1.resize(600, 400);
    const auto show = [&] {
        list.showlist(&panel, &List1);
        List1.grab(); // lays out and paints the rows as the window would
    };
    QLineEdit name(QStringLiteral("Gast"));
    int qualifies = -1;
    bool saved = false;

    std::printf("%-34s %13s %13s\n", "", "wall", "peak memory");
    writeSparse(list.path(), twelveLines());
    measure("1 GB list: showlist", show);
    measure("1 GB list: checkqualification", [&] { qualifies = list.checkqualification(55).value_or(-1); });
    measure("1 GB list: saveEntry", [&] { saved = list.saveEntry({ 55, 0, {} }, &name); });
    std::printf("  (%d rows shown, qualifies %d, saved %d, %lld bytes after the save)\n", List1.count(), qualifies,
        saved, QFile(list.path()).size());

    writeSparse(list.path(), " 9  ");
    measure("1 GB line: showlist", show);
    measure("1 GB line: checkqualification", [&] { qualifies = list.checkqualification(55).value_or(-1); });
    measure("1 GB line: saveEntry", [&] { saved = list.saveEntry({ 55, 0, {} }, &name); });
    std::printf("  (%d boxes told why, qualifies %d, saved %d)\n", int(fake.dialogs.shown.size()), qualifies, saved);

    QFile tenMegabytes(list.path());
    if (!tenMegabytes.open(QIODevice::WriteOnly) || !tenMegabytes.resize(0)
        || tenMegabytes.write(QByteArray(10'000'000, 'x')) != 10'000'000)
        qFatal("cannot write the 10 MB line");
    tenMegabytes.close();
    measure("10 MB line: showlist", show);

    QLineEdit box;
    HighScoreList::prepareNameBox(&box);
    measure("typed name: 10,000 keys", [&] { QTest::keyClicks(&box, QString(10'000, QLatin1Char('a'))); });
    std::printf("  (%lld characters kept)\n", qsizetype(box.text().size()));
    return 0;
}
