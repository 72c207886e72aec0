// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakeservices.h"

int FakeDialogs::MsgBox(const QString &prompt, int buttons, const QString &title)
{
    shown.append({ prompt, buttons, title });
    if (whileOpen)
        whileOpen();
    if (!answers.isEmpty())
        return answers.takeFirst();
    return (buttons & platform::vbYesNo) == platform::vbYesNo ? platform::vbNo : platform::vbOK;
}

QString FakeDialogs::InputBox(const QString &, const QString &, const QString &)
{
    if (whileOpen)
        whileOpen();
    return inputs.isEmpty() ? QString() : inputs.takeFirst();
}

float FakeRandom::Rnd()
{
    ++drawn;
    return values.isEmpty() ? 0.0f : values.takeFirst();
}

void FakeDesktop::putPointer(QWidget *client, QPoint clientPoint)
{
    pointerMoves << clientPoint;
    if (onPutPointer)
        onPutPointer(client, clientPoint);
}

quint64 FakeCounter::now()
{
    ++reads;
    if (!readings.isEmpty())
        last_ = readings.takeFirst();
    return last_;
}

FakeProgram::FakeProgram()
    : dir(temporary.path())
{ }

void FakeProgram::showStart()
{
    if (onShowStart)
        onShowStart();
}

FakeServices::FakeServices()
    : services { dialogs, random, desktop, counter, program, history }
{ }
