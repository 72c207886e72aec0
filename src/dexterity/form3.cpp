// SPDX-License-Identifier: GPL-3.0-or-later

#include "dexterity/form3.h"

#include "dexterity/course.h"
#include "dexterity/coursesurface.h"
#include "platform/access.h"
#include "platform/controls.h"
#include "platform/runtime.h"
#include "platform/timer.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

using namespace platform;
using dexterity::modes;

namespace {

const QString caption = QStringLiteral("Geschicklichkeitstest");
const QString startCaption = QStringLiteral("lass uns anfangen");
const QString unitCaption = QStringLiteral("Sekunden");
const QString helpText = QStringLiteral("Sie dürfen nach dem Start den gelben Bereich nicht mehr mit der Maus "
                                        "verlassen. Führen Sie das Fadenkreuz in das rote Kästchen.");
const QString understoodCaption = QStringLiteral("schon klar");
const QString okCaption = QStringLiteral("OK");
const QString namePanelCaption = QStringLiteral("Sie haben sich einen Platz in der Highscoreliste verdient");

const QString modeMenu = QStringLiteral("Schwierigkeit");
const QString helpMenu = QStringLiteral("Wie funktioniert das nun?");
const QString bestMenu = QStringLiteral("Hier finden Sie die Besten");
const QString leaveMenu = QStringLiteral("Das ist nichts für mich");
const QString leaveItem = QStringLiteral("Ende");
// The Alt letters of the modes in menu order: einfach, normal, schwer, se_hr schwer.
constexpr qsizetype modeLetters[] = { 0, 0, 0, 2 };

const QString courseName = QStringLiteral("Parcours");
const QString courseDescription
    = QStringLiteral("Der gelbe Weg vom Start ins rote Kästchen; er wird mit der Maus gefahren");
const QString nameBoxName = QStringLiteral("Ihr Name");
const QString listName = QStringLiteral("Bestenliste");

const QString lostPrompt = QStringLiteral("Pech gehabt");
const QString lostTitle = QStringLiteral("So ein Mist");
const QString noPlacePrompt = QStringLiteral(
    "Super Sie haben es geschafft, leider langt Ihre Zeit noch nicht für einen Eintrag in die Highscoreliste!");
const QString noPlaceTitle = QStringLiteral("Herzlichen Glückwunsch");

// Panels are opaque: they hide the course beneath them, as they take its mouse movements.
QGroupBox *makeOpaquePanel(QWidget *parent, const char *name, const QString &caption, QRect twips)
{
    QGroupBox *panel = makePanel(parent, name, caption, twips);
    panel->setAutoFillBackground(true);
    return panel;
}

QString pointsSentence(short points)
{
    return QStringLiteral("Das sind ") + QString::number(points) + QStringLiteral(" Punkte für Sie");
}

constexpr double pointsFontSize = 9.75;

// Where the pointer is put at the start of a run: inside the start area.
constexpr float startX = 25;
constexpr float startY = 140;

} // namespace

Form3::Form3(Services &services)
    : WindowWith(services, caption, course::clientTwips)
    , list(lists::dexterity, services)
{ }

Form3::~Form3() = default;

void Form3::createControls(QWidget *client, QMenuBar *menuBar)
{
    c = std::make_unique<Controls>();
    // The black ground is the course picture's own; a black palette on the client
    // would pass on to the buttons and panels and hide their captions.
    createCourse(client);
    createPanels(client);
    createMenus(menuBar);
}

void Form3::createCourse(QWidget *client)
{
    c->surface = new CourseSurface(client, [this](QPointF point) { Form_MouseMove(point.x(), point.y()); });
    c->Label1 = c->surface->addLabel(QRect(6720, 360, 735, 375), QString());
    c->Label2 = c->surface->addLabel(QRect(7440, 360, 1815, 375), unitCaption);
    c->surface->setAccessibleName(courseName);
    c->surface->setAccessibleDescription(courseDescription);
    setAccessibleRole(c->surface, QAccessible::Graphic);

    c->Command1 = makeButton(client, "Command1", startCaption, twipsRect(3840, 840, 1695, 495));
    fitToBox({ c->Command1 });
    QObject::connect(c->Command1, &QPushButton::clicked, client, [this] { Command1_Click(); });

    c->Timer1 = new Timer("Timer1", 10, client);
    c->Timer1->onTick([this] { Timer1_Timer(); });
    c->Timer2 = new Timer("Timer2", 1000, client);
    c->Timer2->onTick([this] { Timer2_Timer(); });
}

void Form3::createPanels(QWidget *client)
{
    c->Frame1 = makeOpaquePanel(client, "Frame1", QString(), twipsRect(1320, 0, 4335, 1455));
    c->Label3 = makeLabel(c->Frame1, "Label3", helpText, twipsRect(120, 120, 4215, 735));
    c->Label3->setFont(designFont(9.75));
    fitToBox(c->Label3);
    c->Command2 = makeButton(c->Frame1, "Command2", understoodCaption, twipsRect(3000, 960, 1215, 375));

    c->Frame2 = makeOpaquePanel(client, "Frame2", QString(), twipsRect(3000, 0, 6015, 3375));
    c->List1 = makeListBox(c->Frame2, "List1", twipsRect(120, 120, 5775, 2595));
    c->List1->setAccessibleName(listName);
    c->Command3 = makeButton(c->Frame2, "Command3", okCaption, twipsRect(1920, 2880, 2175, 375));

    c->Frame3 = makeOpaquePanel(client, "Frame3", namePanelCaption, twipsRect(2880, 1800, 4575, 1815));
    // Label4 gets its font with its sentence, when the panel opens.
    c->Label4 = makeLabel(c->Frame3, "Label4", QString(), twipsRect(720, 360, 3135, 255));
    setForeColor(c->Label4, rgb(255, 0, 0));
    c->Text2 = makeTextBox(c->Frame3, "Text2", twipsRect(600, 720, 3255, 375));
    HighScoreList::prepareNameBox(c->Text2);
    c->Text2->setAccessibleName(nameBoxName);
    c->Command4 = makeButton(c->Frame3, "Command4", okCaption, twipsRect(1440, 1320, 1695, 375));
    fitCaption(c->Frame3);
    for (QPushButton *button : { c->Command2, c->Command3, c->Command4 })
        fitToBox({ button });

    QObject::connect(c->Command2, &QPushButton::clicked, client, [this] { Command2_Click(); });
    QObject::connect(c->Command3, &QPushButton::clicked, client, [this] { Command3_Click(); });
    QObject::connect(c->Command4, &QPushButton::clicked, client, [this] { Command4_Click(); });
    QObject::connect(c->Text2, &QLineEdit::returnPressed, client, [this] { Command4_Click(); });
}

void Form3::createMenus(QMenuBar *menuBar)
{
    QMenu *schw = makeMenu(menuBar, "schw", withMnemonic(modeMenu, 0));
    const auto mode = [](int index) { return withMnemonic(modes[index].name, modeLetters[index]); };
    c->ganzeinfach = makeCheckItem(schw, "ganzeinfach", mode(0), false, [this] { ganzeinfach_Click(); });
    c->einfach = makeCheckItem(schw, "einfach", mode(1), true, [this] { einfach_Click(); });
    c->mittel = makeCheckItem(schw, "mittel", mode(2), false, [this] { mittel_Click(); });
    c->schwer = makeCheckItem(schw, "schwer", mode(3), false, [this] { schwer_Click(); });
    c->hilfe = makeMenuBarItem(menuBar, "hilfe", withMnemonic(helpMenu, 0), [this] { hilfe_Click(); });
    c->best = makeMenuBarItem(menuBar, "best", withMnemonic(bestMenu, 0), [this] { best_Click(); });
    QMenu *end = makeMenu(menuBar, "end", withMnemonic(leaveMenu, 0));
    c->ende = makeMenuItem(end, "ende", withMnemonic(leaveItem, 0), [this] { ende_Click(); });
    c->verlauf = makeHistoryItem(menuBar, Test::Dexterity);
}

void Form3::Form_Load()
{
    run.load();
}

void Form3::Form_Unload()
{
    services.program.showStart();
}

void Form3::Form_MouseMove(double x, double y)
{
    if (c)
        run.sample(c->surface->colourAt(QPointF(x, y)));
}

void Form3::MoveMouse(float x, float y)
{
    services.desktop.putPointer(client(), QPoint(CLng(x), CLng(y)));
}

void Form3::Command1_Click()
{
    run.start();
    MoveMouse(startX, startY);
    // The system sends no movement when the pointer already stands there, and
    // a new run must not be judged by the last run's sample.
    Form_MouseMove(CLng(startX), CLng(startY));
    c->Label1->setVisible(true);
    c->Label2->setVisible(true);
    showRunning();
}

void Form3::showRunning()
{
    const bool going = run.going();
    // Enabling restarts the waits: a new run starts on whole ticks.
    c->Timer1->setEnabled(going);
    if (going)
        c->surface->setCursor(Qt::CrossCursor);
    else
        c->surface->unsetCursor();
    c->Timer2->setEnabled(going);
}

void Form3::Timer1_Timer()
{
    switch (run.judge()) {
    case dexterity::Verdict::Lost: {
        services.history.record(Outcome::dexterity(0, run.seconds, run.modename, false, lostPrompt));
        const bool answered = ask(lostPrompt, vbOKOnly, lostTitle).has_value();
        run.lose();
        if (answered)
            showRunning(); // else the window was closed meanwhile, its timers with it
        break;
    }
    case dexterity::Verdict::Won:
        run.reachGoal();
        showRunning();
        services.history.record(
            Outcome::dexterity(run.points, run.seconds, run.modename, true, pointsSentence(run.points)));
        won();
        break;
    case dexterity::Verdict::None:
        break;
    }
}

void Form3::won()
{
    if (!list.fileexists()) {
        opennamepanel();
        return;
    }
    const std::optional<int> answer = list.checkqualification(run.points);
    if (!isLoaded())
        return; // closed while a box about the list was open
    run.qualification(answer.value_or(0));
    if (!answer)
        return; // the player has been told why the list cannot take the run
    if (run.qualifies == 0) {
        ask(noPlacePrompt, vbOKOnly, noPlaceTitle);
        return;
    }
    opennamepanel();
}

void Form3::opennamepanel()
{
    run.openEntry();
    c->Frame3->show();
    c->Frame3->raise();
    c->Command1->setEnabled(false); // no new run under the open panel
    c->Label4->setText(pointsSentence(run.points));
    c->Label4->setFont(designFont(pointsFontSize, true)); // the full size, where the last sentence was shrunk
    fitToBox(c->Label4);
    c->Text2->setFocus();
}

void Form3::Timer2_Timer()
{
    run.tickSecond();
    c->Label1->setCaption(QString::number(run.seconds));
}

void Form3::Command4_Click()
{
    const bool firstEntry = !list.fileexists();
    // Saved, or given up after a failure the player was told about: the panel closes.
    const bool saved = list.saveEntry(run.entry, c->Text2);
    if (!isLoaded())
        return;
    if (saved)
        run.entrySaved(firstEntry);
    c->Frame3->hide();
    c->Command1->setEnabled(true);
}

void Form3::ganzeinfach_Click()
{
    selectMode(c->ganzeinfach, modes[0]);
}

void Form3::einfach_Click()
{
    selectMode(c->einfach, modes[1]);
}

void Form3::mittel_Click()
{
    selectMode(c->mittel, modes[2]);
}

void Form3::schwer_Click()
{
    selectMode(c->schwer, modes[3]);
}

void Form3::selectMode(QAction *item, const dexterity::Mode &mode)
{
    clearmodemarks();
    item->setChecked(true);
    run.selectMode(mode);
    applylinewidth();
}

void Form3::clearmodemarks()
{
    for (QAction *item : { c->ganzeinfach, c->einfach, c->mittel, c->schwer })
        item->setChecked(false);
}

void Form3::applylinewidth()
{
    // Strokes and rings alike; the start area and the target are boxes and keep their size.
    c->surface->setLinewidth(run.linewidth);
    c->surface->update();
}

void Form3::hilfe_Click()
{
    c->Frame1->show();
    c->Frame1->raise();
    c->Command2->setFocus(); // Return closes the help
}

void Form3::Command2_Click()
{
    c->Frame1->hide();
}

void Form3::best_Click()
{
    list.showlist(c->Frame2, c->List1);
    if (isLoaded() && !c->Frame2->isHidden())
        c->Command3->setFocus(); // Return closes the list
}

void Form3::Command3_Click()
{
    c->Frame2->hide();
}

void Form3::ende_Click()
{
    services.program.showStart();
    unload();
}
