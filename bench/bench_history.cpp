// SPDX-License-Identifier: GPL-3.0-or-later

// What the history costs the game: writing one result as the game hands it
// over (the real SQLite file in a temporary folder, one transaction each),
// and what the player waits for when the "Verlauf" window opens.
//
//   open:      the first record of a run, which opens (and here creates) the file;
//   record:    every later record, the cost a finished game pays;
//   read:      all of a test's results read back, as the window does;
//   window:    building the window with its charts and table from them.
//
// The temporary folder lies where QTemporaryDir puts it ($TMPDIR, usually
// /tmp); set TMPDIR to measure another disc.

#include "fakeservices.h"
#include "history/historydialog.h"
#include "history/resulthistory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int records = 2000;
constexpr int windowRounds = 20;

void report(const char *what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    auto at = [&](double share) { return ms[size_t(share * double(ms.size() - 1))]; };
    std::printf(
        "%-22s n=%-5zu median %8.3f ms  p90 %8.3f ms  max %8.3f ms\n", what, ms.size(), at(0.5), at(0.9), ms.back());
}

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    FakeServices fake;
    history::ResultHistory history(fake.dialogs, fake.program);
    std::printf("file %s/%s, %d results\n", qPrintable(fake.program.dir), qPrintable(history::ResultHistory::fileName),
        records);

    std::vector<double> open, record;
    for (int i = 0; i < records; ++i) {
        const auto outcome = platform::Outcome::reaction(
            0.2 + (i % 300) / 1000.0, QStringLiteral(" Das ist ein guter Durchschnitt! "));
        QElapsedTimer timer;
        timer.start();
        history.record(outcome);
        (i == 0 ? open : record).push_back(msSince(timer));
    }
    if (!fake.dialogs.shown.isEmpty() || history.tellingDue()) {
        std::fprintf(stderr, "the history failed: %s\n", qPrintable(fake.dialogs.shown.value(0).prompt));
        return 1;
    }
    report("open (first record)", open);
    report("record", record);

    std::vector<double> read, window;
    for (int round = 0; round < windowRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const qsizetype count = history.outcomes(platform::Test::Reaction).size();
        read.push_back(msSince(timer));
        timer.restart();
        history::HistoryDialog dialog(platform::Test::Reaction, history, fake.dialogs, nullptr);
        window.push_back(msSince(timer));
        if (count != records)
            return 1;
    }
    report("read all", read);
    report("window", window);
    return 0;
}
