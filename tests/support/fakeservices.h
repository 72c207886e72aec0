// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/services.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

// Test versions of the services: scripted answers, recorded calls.

struct ShownBox
{
    QString prompt;
    int buttons = 0;
    QString title;
};

class FakeDialogs : public platform::Dialogs
{
public:
    int MsgBox(const QString &prompt, int buttons, const QString &title) override;
    QString InputBox(const QString &prompt, const QString &title, const QString &proposal) override;

    QList<int> answers; // next answers of MsgBox; OK (or No) when empty
    QStringList inputs; // next texts of InputBox; "" (cancelled) when empty
    QList<ShownBox> shown; // every message box, in order
    // Runs while a box is "open", as other timers would in the real program.
    std::function<void()> whileOpen;
};

class FakeRandom : public platform::Random
{
public:
    void Randomize() override { ++seeded; }
    float Rnd() override { return ++drawn, values.isEmpty() ? 0.0f : values.takeFirst(); }

    QList<float> values; // next numbers; 0 when empty
    int seeded = 0;
    int drawn = 0;
};

class FakeDesktop : public platform::Desktop
{
public:
    void openAddress(const QString &address) override { opened << address; }
    void putPointer(QWidget *client, QPoint point) override { pointerMoves << point, onPutPointer(client, point); }

    QStringList opened;
    QList<QPoint> pointerMoves;
    std::function<void(QWidget *, QPoint)> onPutPointer = [](QWidget *, QPoint) {};
};

class FakeCounter : public platform::Counter
{
public:
    quint64 now() override { return ++reads, last_ = readings.isEmpty() ? last_ : readings.takeFirst(); }
    quint64 frequency() override { return ticksPerSecond; }

    QList<quint64> readings; // next readings; the last one repeats when used up
    quint64 ticksPerSecond = 1'000'000'000;
    int reads = 0;

private:
    quint64 last_ = 0;
};

class FakeProgram : public platform::Program
{
public:
    QString listFolder() override { return dir; }
    void End() override { ++ended; }
    void showStart() override { onShowStart(); }

    QTemporaryDir temporary;
    QString dir = temporary.path();
    int ended = 0;
    std::function<void()> onShowStart = [] {};
};

class FakeHistory : public platform::History
{
public:
    void record(const platform::Outcome &outcome) override { recorded << outcome; }
    void show(platform::Test test, QWidget *parent) override { shown << Shown(test, parent); }

    using Shown = std::pair<platform::Test, QWidget *>;
    QList<platform::Outcome> recorded; // every result, as the window handed it over
    QList<Shown> shown; // every "Verlauf" window asked for
};

struct FakeServices
{
    FakeDialogs dialogs;
    FakeRandom random;
    FakeDesktop desktop;
    FakeCounter counter;
    FakeProgram program;
    FakeHistory history;
    platform::Services services { dialogs, random, desktop, counter, program, history };
};
