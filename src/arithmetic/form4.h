// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "arithmetic/drill.h"
#include "highscore/highscorelist.h"
#include "highscore/listvariant.h"
#include "platform/window.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
namespace platform {
class Timer;
}

struct Form4Controls
{
    QLabel *Label1; // the task
    QLineEdit *Text1; // the typed answer
    QPushButton *Command1; // Auf geht's
    QPushButton *Command2; // Abbrechen
    QLabel *Label2; // the points
    QLabel *Label3; // the countdown
    platform::Timer *Timer1; // one tick a second while a drill runs
    QGroupBox *Frame1; // entry into the list
    QLabel *Label5; // the points sentence of the entry
    QLineEdit *Text2; // the player's name
    QPushButton *Command3; // ok: saves the entry
    QGroupBox *Frame2; // the list
    QListWidget *List1; // the lines of best2.lst
    QPushButton *Command4; // ok: hides the list
    QGroupBox *Frame3; // help
    QLabel *Label4; // the help text
    QPushButton *Command5; // schon kapiert
    QMenu *eins; // the ranges
    QAction *z10;
    QAction *z20;
    QAction *z100;
    QAction *lis; // shows the list
    QAction *hilf; // shows the help
    QMenu *enden; // Ende
    QAction *verlass; // leaves the window
    QAction *verlauf; // this test's results over time
};

// The mental-arithmetic drill: as many multiplications as the player can
// answer in 60 seconds, typed without Return, in one of three number ranges.
class Form4 : public platform::WindowWith<Form4Controls>
{
public:
    explicit Form4(platform::Services &services);
    ~Form4() override;

    // The drill.
    void Command1_Click();
    void Command2_Click();
    void Text1_KeyUp();
    void Timer1_Timer();
    void drawtask();
    void checkanswer();

    // The ranges.
    void z10_Click();
    void z20_Click();
    void z100_Click();
    void clearrangemarks();

    // Panels and leaving.
    void lis_Click();
    void Command3_Click();
    void Command4_Click();
    void hilf_Click();
    void Command5_Click();
    void verlass_Click();

    // Fields; they survive unloading.
    arithmetic::Drill drill;
    Result entry; // fixed when the entry panel opens, so a later drill cannot change it

protected:
    void createControls(QWidget *client, QMenuBar *menuBar) override;
    void Form_Load() override;
    void Form_Unload() override;

private:
    void createDrillControls(QWidget *client);
    void createPanels(QWidget *client);
    void createMenus(QMenuBar *menuBar);
    void connectControls(QWidget *client);

    void chooseRange(const arithmetic::Range &range, QAction *item);
    void showdrill(); // the drill's phase and texts into the controls
    void endofdrill();
    void openentrypanel(int points);
    void focusPanel(QPushButton *ok);

    HighScoreList list;
};
