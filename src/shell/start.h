// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/window.h"
#include "shell/registry.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
namespace platform {
class Timer;
}

struct StartControls
{
    QPushButton *Command2; // Reaktionstest
    QPushButton *Command4; // Gedächtnistrainning
    QPushButton *Command3; // Geschicklichkeit
    QPushButton *Command1; // Kopfrechnen
    QPushButton *Command5; // beenden
    QLabel *Label5; // the advertising text
    QLabel *Label1; // the homepage link
    platform::Timer *Timer1; // the link's colour cycle
    QAction *free; // the package statement under "Info"
    QMenu *verlauf; // "Verlauf": each test's history
    QAction *vreak;
    QAction *vgedae;
    QAction *vgesch;
    QAction *vkopf;
};

// The start window: a button for each test, "beenden", an advertising text and
// a link label whose colour changes every two seconds.
class Start : public platform::WindowWith<StartControls>
{
public:
    static const QString homepage;

    Start(platform::Services &services, WindowRegistry &registry);
    ~Start() override;

    void Timer1_Timer();
    void Command2_Click();
    void Command4_Click();
    void Command3_Click();
    void Command1_Click();
    void Command5_Click();
    void Label1_Click();
    void vreak_Click() { showHistory(platform::Test::Reaction); }
    void vgedae_Click() { showHistory(platform::Test::Memory); }
    void vgesch_Click() { showHistory(platform::Test::Dexterity); }
    void vkopf_Click() { showHistory(platform::Test::Arithmetic); }

    // Fields; they survive unloading, so the colour cycle goes on where it was.
    short colourstep = 0;
    short red = 0;
    short green = 0;
    short blue = 0;

protected:
    void createControls(QWidget *client, QMenuBar *menuBar) override;

private:
    void openTest(TestWindow which, bool unloadStart);
    void showHistory(platform::Test test);

    WindowRegistry &registry_;
};
