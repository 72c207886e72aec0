// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fakeservices.h"
#include "shell/registry.h"
#include "shell/start.h"

#include <QMap>
#include <QPushButton>
#include <QTest>

// The program as main() wires it, on fake services: the window registry with
// the start window shown, and the way back to it from a test window.
struct Program
{
    FakeServices fake;
    WindowRegistry registry { fake.services };

    Program()
    {
        fake.program.onShowStart = [this] { registry.start().setVisible(true); };
        registry.start().setVisible(true);
    }

    Start &start() { return registry.start(); }

    // Opens a test window as the player does: with its button on the start window.
    template <typename TestForm> TestForm &open(TestWindow which)
    {
        const StartControls &c = start().controls();
        const QMap<TestWindow, QPushButton *> buttons { { TestWindow::Reaction, c.Command2 },
            { TestWindow::Memory, c.Command4 }, { TestWindow::Dexterity, c.Command3 },
            { TestWindow::Arithmetic, c.Command1 } };
        QTest::mouseClick(buttons.value(which), Qt::LeftButton);
        return static_cast<TestForm &>(registry.test(which));
    }
};
