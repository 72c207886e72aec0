// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/window.h"
#include "reaction/round.h"

class QAction;
class QLabel;
class QPushButton;
class WrapButton;
namespace platform {
class Shape;
class Timer;
} // namespace platform

struct Form1Controls
{
    QLabel *Label2; // instructions
    QLabel *Label4; // homepage advertisement
    platform::Shape *Shape1; // the red circle
    QLabel *Label1; // "Ihre Reaktionszeit ist"
    QLabel *Label3; // the measured time
    WrapButton *Command3; // the click field
    QPushButton *Command1; // Ich bin bereit
    QPushButton *Command2; // Kein Bock mehr
    platform::Timer *Timer1; // the random wait
    QAction *reak; // the version line under "INFO"
    QAction *verlauf; // this test's results over time
};

// The reaction test: after a random wait a red circle appears, and the time to
// the click on the large field below it is measured and commented on.
class Form1 : public platform::WindowWith<Form1Controls>
{
public:
    explicit Form1(platform::Services &services);
    ~Form1() override;

    void Command1_Click();
    void Timer1_Timer();
    void Command3_Click();
    void Command2_Click();
    void ratereaction();

    // Fields; they survive unloading.
    reaction::Round round;

protected:
    void createControls(QWidget *client, QMenuBar *menuBar) override;
    void Form_Load() override;
    void Form_Unload() override;

private:
    void showresult(); // the measured time and its comment
};
