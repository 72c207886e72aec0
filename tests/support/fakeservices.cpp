// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakeservices.h"

int FakeDialogs::MsgBox(const QString &prompt, int buttons, const QString &title)
{
    shown.append({ prompt, buttons, title });
    if (whileOpen)
        whileOpen();
    const int unscripted = (buttons & platform::vbYesNo) == platform::vbYesNo ? platform::vbNo : platform::vbOK;
    return answers.isEmpty() ? unscripted : answers.takeFirst();
}

QString FakeDialogs::InputBox(const QString &, const QString &, const QString &)
{
    if (whileOpen)
        whileOpen();
    return inputs.isEmpty() ? QString() : inputs.takeFirst();
}
