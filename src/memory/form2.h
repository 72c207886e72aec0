// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "highscore/highscorelist.h"
#include "memory/game.h"
#include "platform/window.h"

#include <QString>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
namespace platform {
class Shape;
class Timer;
} // namespace platform

struct Form2Controls
{
    QGroupBox *Frame4; // help panel
    QPushButton *Command11; // alles klar, hab's schon kapiert
    QLabel *Label7; // the help text
    QLabel *Label6; // empty, beneath the help text
    QGroupBox *Frame3; // name panel
    QLineEdit *Text1; // the name
    QPushButton *Command9; // schon erledigt
    QPushButton *Command10; // abbrechen
    QLabel *Label5; // "Tragen Sie hier Ihren Namen ein"
    QGroupBox *Frame2; // list panel
    QPushButton *Command8; // ok: hides the list
    QListWidget *List1; // the lines of best.lst
    QGroupBox *Frame1; // result panel
    QPushButton *Command7; // OK
    QLabel *Label2; // the result sentence
    QPushButton *Command3; // GRÜN
    QPushButton *Command6; // GELB
    QPushButton *Command5; // BLAU
    QPushButton *Command4; // ROT
    QPushButton *Command2; // Abbrechen
    QPushButton *Command1; // start
    platform::Timer *Timer2; // display time of a colour
    platform::Timer *Timer1; // blank gap between two colours
    QLabel *Label4; // black ground of the answer phase
    QLabel *Label3; // progress
    QLabel *Label1; // settings line
    platform::Shape *Shape9; // the blanking square
    platform::Shape *Shape4; // yellow
    platform::Shape *Shape3; // blue
    platform::Shape *Shape1; // green
    platform::Shape *Shape2; // red

    QMenu *es; // Einstellung
    QMenu *egeschw; // Einblendungsgeschwindigkeit
    QAction *schnell;
    QAction *mittel;
    QAction *langsam;
    QMenu *anz; // Anzahl
    QAction *es5;
    QAction *es10;
    QAction *es20;
    QAction *es30;
    QAction *es40;
    QAction *es50;
    QAction *selbst; // the player's own count
    QAction *hilf; // shows the help
    QAction *best; // shows the list
    QAction *kl; // asks whether to leave
    QAction *verlauf; // this test's results over time
};

// The memory training window. Its handlers pass each event to the game and
// copy the game's state into the controls.
class form2 : public platform::WindowWith<Form2Controls>
{
public:
    using Game = memory::Game;
    static const QString helpText;

    explicit form2(platform::Services &services);
    ~form2() override;

    // The game.
    void Command1_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Command3_Click() { answer(memory::green); }
    void Command4_Click() { answer(memory::red); }
    void Command5_Click() { answer(memory::blue); }
    void Command6_Click() { answer(memory::yellow); }
    void Command2_Click();
    void Command7_Click();
    void hidesquares();
    void showprogress();
    void askforname();

    // The settings menu.
    void schnell_Click() { choosespeed(c->schnell, Game::Speed::fast); }
    void mittel_Click() { choosespeed(c->mittel, Game::Speed::middle); }
    void langsam_Click() { choosespeed(c->langsam, Game::Speed::slow); }
    void es5_Click() { choosecount(c->es5); }
    void es10_Click() { choosecount(c->es10); }
    void es20_Click() { choosecount(c->es20); }
    void es30_Click() { choosecount(c->es30); }
    void es40_Click() { choosecount(c->es40); }
    void es50_Click() { choosecount(c->es50); }
    void selbst_Click();
    void applysettings();
    void clearcountmarks();

    // The rest of the window.
    void hilf_Click();
    void Command11_Click();
    void best_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void kl_Click();

    // Fields; they survive unloading.
    short qualifies {};
    Result entry; // what the name panel will save

protected:
    void createControls(QWidget *client, QMenuBar *menuBar) override;
    void Form_Load() override;
    void Form_Unload() override;

private:
    void buildGameControls(QWidget *client);
    void buildPanels(QWidget *client);
    void buildMenus(QMenuBar *menuBar);
    void connectButtons(QWidget *client);

    void answer(memory::Colour colour);
    bool answerKey(int key); // 1 to 4: the colour buttons from left to right
    void showgame();
    void handover(int score);
    void choosespeed(QAction *item, Game::Speed speed);
    void choosecount(QAction *item);
    void keephelpontop();

    Game game_;
    HighScoreList list;
};
