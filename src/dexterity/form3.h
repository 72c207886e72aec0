// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "dexterity/run.h"
#include "highscore/highscorelist.h"
#include "platform/window.h"

class CourseSurface;
class PaintedLabel;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
namespace platform {
class Timer;
}

struct Form3Controls
{
    CourseSurface *surface; // the window's own surface: course, target and the red texts
    QPushButton *Command1; // lass uns anfangen
    PaintedLabel *Label1; // seconds
    PaintedLabel *Label2; // "Sekunden"
    QGroupBox *Frame1; // help
    QLabel *Label3; // the help text
    QPushButton *Command2; // schon klar
    QGroupBox *Frame2; // best list
    QListWidget *List1; // the lines of best1.lst
    QPushButton *Command3; // OK: hides the list
    QGroupBox *Frame3; // name entry
    QLabel *Label4; // points sentence
    QLineEdit *Text2; // name
    QPushButton *Command4; // OK: saves the entry
    platform::Timer *Timer1; // judging the last sample
    platform::Timer *Timer2; // seconds of a run
    QAction *ganzeinfach; // "einfach"
    QAction *einfach; // "normal"
    QAction *mittel; // "schwer"
    QAction *schwer; // "sehr schwer"
    QAction *hilfe; // shows the help
    QAction *best; // shows the list
    QAction *ende; // leaves the window
    QAction *verlauf; // this test's results over time
};

// The dexterity test: the player steers a cross-hair along the narrow yellow
// course into the red box without touching black, against the clock, in one of
// four modes. A good time goes into best1.lst. The rules are the run's; the
// handlers pass each event to it and show what it holds.
class Form3 : public platform::WindowWith<Form3Controls>
{
public:
    explicit Form3(platform::Services &services);
    ~Form3() override;

    // A movement over the window's own surface, at a point in logical pixels of
    // the client area (fractions allowed, as a high-resolution screen reports them).
    void Form_MouseMove(double x, double y);
    void Command1_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Command4_Click();

    void ganzeinfach_Click();
    void einfach_Click();
    void mittel_Click();
    void schwer_Click();
    void hilfe_Click();
    void Command2_Click();
    void best_Click();
    void Command3_Click();
    void ende_Click();

    void MoveMouse(float x, float y); // client pixels
    void clearmodemarks();
    void applylinewidth();

    // The run and its mode; they survive unloading.
    dexterity::Run run;
    // The last sample, as the sampling benchmark reads it.
    const qint32 &pixelcolour = run.pixelcolour;

protected:
    void createControls(QWidget *client, QMenuBar *menuBar) override;
    void Form_Load() override;
    void Form_Unload() override;

private:
    void createCourse(QWidget *client);
    void createPanels(QWidget *client);
    void createMenus(QMenuBar *menuBar);
    void selectMode(QAction *item, const dexterity::Mode &mode);
    void showRunning();
    void won();
    void opennamepanel();

    HighScoreList list;
};
