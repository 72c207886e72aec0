// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QPoint>
#include <QString>
#include <QtGlobal>

class QWidget;

// Everything a window needs from the outside world comes through these
// interfaces, so that a test can replace each of them.
namespace platform {

// Button sets, icons and answers of a message box, with their old values.
enum MsgBoxStyle : int { vbOKOnly = 0, vbYesNo = 4, vbExclamation = 48 };
enum MsgBoxResult : int { vbOK = 1, vbYes = 6, vbNo = 7 };

class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // Modal box with the exact prompt and title; buttons is a button set plus an icon.
    virtual int MsgBox(const QString &prompt, int buttons, const QString &title) = 0;
    // The text entered, or an empty text when the box was cancelled.
    virtual QString InputBox(const QString &prompt, const QString &title, const QString &proposal) = 0;
};

class Random
{
public:
    virtual ~Random() = default;
    virtual void Randomize() = 0; // seed from the clock
    virtual float Rnd() = 0; // evenly spread over [0, 1)
};

class Desktop
{
public:
    virtual ~Desktop() = default;
    virtual void openAddress(const QString &address) = 0;
    // Puts the system pointer on a point of a window's client area (logical pixels).
    virtual void putPointer(QWidget *client, QPoint clientPoint) = 0;
};

// A monotonic counter with a fixed, known frequency, for the stopwatch.
class Counter
{
public:
    virtual ~Counter() = default;
    virtual quint64 now() = 0;
    virtual quint64 frequency() = 0; // ticks per second
};

class Program
{
public:
    virtual ~Program() = default;
    // Where the best lists and the history live, decided once per run; no
    // trailing separator. It may not exist yet: the first save creates it.
    virtual QString listFolder() = 0;
    virtual void End() = 0; // stops at once, no unload steps
    virtual void showStart() = 0; // a test window going back to the start window
};

// The four tests, as the history tells their results apart.
enum class Test { Reaction, Memory, Dexterity, Arithmetic };

// One finished result as the player saw it. Each test fills in its own figures
// and leaves the others at their zero; the history stamps the time.
struct Outcome
{
    Test test = Test::Reaction;
    QDateTime when; // UTC; set by the history when it records the result
    double seconds = 0; // reaction: the time; dexterity: the seconds of the run
    int points = 0; // memory: colours repeated right; dexterity, arithmetic: the points
    int colours = 0; // memory: colours per game
    int displayMs = 0; // memory: how long each colour was shown
    QString mode; // dexterity: the mode's name
    bool won = false; // dexterity: the run reached the goal
    int lowfactor = 0; // arithmetic: the range, as the drill draws its factors
    int factorspan = 0;
    QString sentence; // the verdict or result sentence shown

    bool operator==(const Outcome &) const = default;

    // One maker per test, so that a window's call names the figures it hands over.
    static Outcome reaction(double seconds, const QString &verdict)
    {
        return { Test::Reaction, {}, seconds, 0, 0, 0, {}, false, 0, 0, verdict };
    }
    static Outcome memory(int score, int colours, int displayMs, const QString &sentence)
    {
        return { Test::Memory, {}, 0, score, colours, displayMs, {}, false, 0, 0, sentence };
    }
    static Outcome dexterity(int points, int seconds, const QString &mode, bool won, const QString &sentence)
    {
        return { Test::Dexterity, {}, double(seconds), points, 0, 0, mode, won, 0, 0, sentence };
    }
    static Outcome arithmetic(int points, int lowfactor, int factorspan, const QString &sentence)
    {
        return { Test::Arithmetic, {}, 0, points, 0, 0, {}, false, lowfactor, factorspan, sentence };
    }
};

// The menu title that opens the "Verlauf" windows, in the start window and in each test.
inline const QString historyCaption = QStringLiteral("Verlauf");

// Every finished result with its date, and the "Verlauf" window that shows them.
class History
{
public:
    virtual ~History() = default;
    // Keeps a result. Never blocks or stops the game: a failure is told once,
    // later, and the results of this run still show.
    virtual void record(const Outcome &outcome) = 0;
    // The test's "Verlauf" window, modal over parent; returns when it is closed.
    virtual void show(Test test, QWidget *parent) = 0;
};

struct Services
{
    Dialogs &dialogs;
    Random &random;
    Desktop &desktop;
    Counter &counter;
    Program &program;
    History &history;
};

} // namespace platform
