// SPDX-License-Identifier: GPL-3.0-or-later

#include "reaction/form1.h"

#include "platform/access.h"
#include "platform/controls.h"
#include "platform/runtime.h"
#include "platform/timer.h"
#include "reaction/verdicts.h"
#include "reaction/wrapbutton.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

using namespace platform;
using reaction::Round;

namespace {

const QString caption = QStringLiteral("Reaktionstest");
const QString instructions = QStringLiteral(
    "Testen Sie Ihre Reaktionszeit, indem Sie nach dem Erscheinen eines roten Kreises sofort auf den Button "
    "unten in der Mitte klicken.");
const QString advertisement = QStringLiteral(
    "Auf meiner Homepage finden Sie noch viel mehr solcher kleinen \"nützlichen\" Programme. Dort gibt's auch "
    "jede Menge Scherzprogramme mit denen Sie Ihre \"besten Freunde\" ärgern können.");
const QString resultCaption = QStringLiteral("Ihre Reaktionszeit ist");
const QString fieldCaption
    = QStringLiteral("Sobald Sie den Kreis sehen, klicken Sie mit der linken Maustaste auf dieses Feld.");
const QString fieldTip = QStringLiteral("Bitte volle Konzentration");
const QString readyCaption = QStringLiteral("Ich bin bereit");
const QString readyTip = QStringLiteral("Los geht's");
const QString leaveCaption = QStringLiteral("Kein Bock mehr");
const QString leaveTip = QStringLiteral("Programm beenden");
const QString infoMenu = QStringLiteral("INFO");
const QString infoLine = QStringLiteral("Reaktionstest, Version " KORVANE_VERSION);
const QString fieldName = QStringLiteral("Klickfeld");
const QString fieldDescription
    = QStringLiteral("Sobald der rote Kreis erscheint: klicken oder Leertaste oder Eingabetaste drücken");
const QString circleName = QStringLiteral("Roter Kreis");

const QString verdictTitle = QStringLiteral("Auswertung");
const QString rebukePrompt
    = QStringLiteral("Man sollte nur drücken wenn man den Kreis sieht. Selbst schuld wenn Sie bescheissen wollen. ");
const QString rebukeTitle = QStringLiteral("und tschüss");

constexpr double designPointSize = 8.25;

} // namespace

Form1::Form1(Services &services)
    : WindowWith(services, caption, QSize(6345, 5145))
    , round(services.random, services.counter)
{ }

Form1::~Form1() = default;

void Form1::createControls(QWidget *client, QMenuBar *menuBar)
{
    c = std::make_unique<Controls>();
    // The design's small system face: at the default size the texts outgrow their boxes.
    client->setFont(designFont(designPointSize));
    c->Label2 = makeLabel(client, "Label2", instructions, twipsRect(480, 0, 4815, 735));
    c->Label2->setFont(designFont(designPointSize, true));

    c->Label4 = makeLabel(client, "Label4", advertisement, twipsRect(360, 840, 5535, 615));
    setForeColor(c->Label4, rgb(0, 0, 255));
    fitToBox(c->Label2);
    fitToBox(c->Label4);

    c->Shape1 = new Shape(client, "Shape1", Shape::Kind::Circle, twipsRect(2160, 1920, 1815, 1215), rgb(255, 0, 0));
    c->Shape1->hide();
    c->Shape1->setAccessibleName(circleName);
    setAccessibleRole(c->Shape1, QAccessible::Graphic);

    c->Label1 = makeLabel(client, "Label1", resultCaption, twipsRect(240, 3240, 1935, 255));
    c->Label1->hide();
    c->Label3 = makeLabel(client, "Label3", QString(), twipsRect(2280, 3240, 1935, 255));

    c->Command3 = new WrapButton(fieldCaption, client);
    c->Command3->setObjectName(QStringLiteral("Command3"));
    c->Command3->setGeometry(twipsRect(1800, 3960, 2175, 1095));
    c->Command3->setToolTip(fieldTip);
    c->Command3->setAutoDefault(false);
    clickOnReturn(c->Command3);
    c->Command3->setAccessibleName(fieldName);
    c->Command3->setAccessibleDescription(fieldDescription);
    setBackColor(c->Command3, rgb(192, 192, 192));
    c->Command3->setEnabled(false);

    c->Command1 = makeButton(client, "Command1", readyCaption, twipsRect(0, 4440, 1215, 375), readyTip);
    c->Command2 = makeButton(client, "Command2", leaveCaption, twipsRect(4440, 4440, 1575, 375), leaveTip);

    c->Timer1 = new Timer("Timer1", 0, client);
    c->Timer1->onTick([this] { Timer1_Timer(); });

    c->reak = makeMenuItem(makeMenu(menuBar, "info", withMnemonic(infoMenu, 0)), "reak", withMnemonic(infoLine, 0));
    c->verlauf = makeHistoryItem(menuBar, Test::Reaction);

    QObject::connect(c->Command1, &QPushButton::clicked, client, [this] { Command1_Click(); });
    QObject::connect(c->Command3, &QPushButton::clicked, client, [this] { Command3_Click(); });
    QObject::connect(c->Command2, &QPushButton::clicked, client, [this] { Command2_Click(); });
}

void Form1::Form_Load()
{
    services.random.Randomize();
}

void Form1::Form_Unload()
{
    services.program.showStart();
}

void Form1::Command1_Click()
{
    const int wait = round.start();
    c->Command3->setEnabled(true);
    // Before "Ich bin bereit" is disabled, or Qt hands its focus on to "Kein Bock mehr".
    c->Command3->setFocus();
    c->Command1->setEnabled(false);
    c->Label1->hide();
    c->Label3->hide();
    c->Timer1->setInterval(wait);
    c->Timer1->setEnabled(true);
}

void Form1::Timer1_Timer()
{
    c->Timer1->setEnabled(false);
    c->Shape1->show();
    // Painted here and now, not on the event loop's next pass: the stopwatch
    // must start with the circle on screen, or every time would include the
    // wait for that paint.
    c->Shape1->repaint();
    round.circleShown();
}

void Form1::Command3_Click()
{
    switch (round.click()) {
    case Round::Click::Early:
        return; // counted, nothing more: the wait goes on
    case Round::Click::Cheated:
        ask(rebukePrompt, vbOKOnly | vbExclamation, rebukeTitle);
        services.program.End();
        return;
    case Round::Click::Measured:
        showresult();
        return;
    }
}

void Form1::Command2_Click()
{
    unload(); // Form_Unload shows the start window first
}

void Form1::ratereaction()
{
    round.ratereaction();
}

void Form1::showresult()
{
    c->Label1->show();
    c->Label3->setText(formatSeconds(round.reactiontime));
    ratereaction();
    services.history.record(Outcome::reaction(round.reactiontime, round.verdicttext));
    if (!ask(round.verdicttext, vbOKOnly | vbExclamation, verdictTitle))
        return; // the window was closed while the verdict was shown
    round.rated();
    c->Label3->show();
    c->Shape1->hide();
    c->Command3->setEnabled(false);
    c->Command1->setEnabled(true);
    c->Command1->setFocus(); // the next round is a Space away, leaving is not
}
