#pragma once

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
    virtual QString applicationDir() = 0; // no trailing separator
    virtual void End() = 0; // stops at once, no unload steps
    virtual void showStart() = 0; // a test window going back to the start window
};

struct Services
{
    Dialogs &dialogs;
    Random &random;
    Desktop &desktop;
    Counter &counter;
    Program &program;
};

} // namespace platform
