#pragma once

#include "fakeservices.h"
#include "shell/registry.h"
#include "shell/start.h"

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
        QTest::mouseClick(startButton(which), Qt::LeftButton);
        return static_cast<TestForm &>(registry.test(which));
    }

    QPushButton *startButton(TestWindow which)
    {
        const StartControls &c = start().controls();
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
};
