// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/start.h"

#include "platform/access.h"
#include "platform/controls.h"
#include "platform/timer.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

using namespace platform;

const QString Start::homepage = QStringLiteral("www.korvane.de");

namespace {

const QString caption = QStringLiteral("Korvane");
const QString advertisement = QStringLiteral(
    "Schauen Sie einfach mal auf meiner Homepage vorbei, hier gibt es noch mehr kostenlose Programme. "
    "Auserdem finden Sie hier ein Rätsellexikon, mit dem wohl kein Kreuzworträtsel mehr ungelöst bleibt.");
const QString reactionCaption = QStringLiteral("Reaktionstest");
const QString memoryCaption = QStringLiteral("Gedächtnistrainning");
const QString dexterityCaption = QStringLiteral("Geschicklichkeit");
const QString arithmeticCaption = QStringLiteral("Kopfrechnen");
const QString infoMenu = QStringLiteral("Info");
const QString packageStatement = QStringLiteral("Korvane " KORVANE_VERSION " – Freeware vom Korvane-Team");
const QString linkName = QStringLiteral("Homepage www.korvane.de");
const QString linkDescription = QStringLiteral("Öffnet die Homepage im Browser");

struct Colour
{
    short red, green, blue;
};
// Colours of the link label for the cycle steps 1 to 7.
constexpr Colour cycleColours[] = {
    { 255, 0, 0 },
    { 0, 255, 0 },
    { 0, 0, 255 },
    { 255, 255, 0 },
    { 255, 0, 255 },
    { 0, 255, 255 },
    { 255, 255, 255 },
};
constexpr short cycleLength = 7;

} // namespace

Start::Start(Services &services, WindowRegistry &registry)
    : WindowWith(services, caption, QSize(6045, 3495))
    , registry_(registry)
{ }

Start::~Start() = default;

void Start::createControls(QWidget *client, QMenuBar *menuBar)
{
    c = std::make_unique<Controls>();
    c->Command2 = makeButton(client, "Command2", reactionCaption, twipsRect(120, 240, 1695, 495),
        QStringLiteral("Testen Sie Ihre Reaktion"));
    c->Command4 = makeButton(client, "Command4", memoryCaption, twipsRect(120, 840, 1695, 495),
        QStringLiteral("Hier müssen Sie sich Farben merken."));
    c->Command3 = makeButton(client, "Command3", dexterityCaption, twipsRect(120, 1440, 1695, 495),
        QStringLiteral("So was ähnliches wie der heisse Draht"));
    c->Command1 = makeButton(client, "Command1", arithmeticCaption, twipsRect(120, 2040, 1695, 495),
        QStringLiteral("Hier wird fleißig multipliziert."));
    c->Command5 = makeButton(client, "Command5", QStringLiteral("beenden"), twipsRect(120, 2640, 1695, 495),
        QStringLiteral("Sie wollen doch nicht etwa..."));

    c->Label5 = makeLabel(client, "Label5", advertisement, twipsRect(2040, 240, 3975, 2175));
    c->Label5->setFont(designFont(12, true));
    setForeColor(c->Label5, rgb(0, 0, 255));

    c->Label1 = makeLink(client, "Label1", homepage, twipsRect(2040, 2640, 3495, 375), [this] { Label1_Click(); });
    c->Label1->setFont(designFont(13.5, true));
    c->Label1->setAccessibleName(linkName);
    c->Label1->setAccessibleDescription(linkDescription);

    fitToBox(c->Label5);
    fitToBox(c->Label1);
    fitToBox({ c->Command2, c->Command4, c->Command3, c->Command1, c->Command5 });

    c->Timer1 = new Timer("Timer1", 2000, client);
    c->Timer1->onTick([this] { Timer1_Timer(); });
    c->Timer1->setEnabled(true);

    // Alt letters: the first of each title and item, but Ge_schicklichkeit, whose G is Gedächtnistrainning's.
    c->free
        = makeMenuItem(makeMenu(menuBar, "inf", withMnemonic(infoMenu, 0)), "free", withMnemonic(packageStatement, 0));
    c->verlauf = makeMenu(menuBar, "verlauf", withMnemonic(historyCaption, 0));
    c->vreak = makeMenuItem(c->verlauf, "vreak", withMnemonic(reactionCaption, 0), [this] { vreak_Click(); });
    c->vgedae = makeMenuItem(c->verlauf, "vgedae", withMnemonic(memoryCaption, 0), [this] { vgedae_Click(); });
    c->vgesch = makeMenuItem(c->verlauf, "vgesch", withMnemonic(dexterityCaption, 2), [this] { vgesch_Click(); });
    c->vkopf = makeMenuItem(c->verlauf, "vkopf", withMnemonic(arithmeticCaption, 0), [this] { vkopf_Click(); });

    QObject::connect(c->Command2, &QPushButton::clicked, client, [this] { Command2_Click(); });
    QObject::connect(c->Command4, &QPushButton::clicked, client, [this] { Command4_Click(); });
    QObject::connect(c->Command3, &QPushButton::clicked, client, [this] { Command3_Click(); });
    QObject::connect(c->Command1, &QPushButton::clicked, client, [this] { Command1_Click(); });
    QObject::connect(c->Command5, &QPushButton::clicked, client, [this] { Command5_Click(); });
}

void Start::Timer1_Timer()
{
    colourstep = short(colourstep + 1);
    const Colour &colour = cycleColours[(colourstep - 1) % cycleLength];
    red = colour.red;
    green = colour.green;
    blue = colour.blue;
    if (colourstep == cycleLength)
        colourstep = 0; // the next tick shows red again
    if (c)
        setForeColor(c->Label1, rgb(red, green, blue));
}

void Start::openTest(TestWindow which, bool unloadStart)
{
    setVisible(false);
    registry_.test(which).setVisible(true);
    if (unloadStart)
        unload();
}

void Start::Command2_Click()
{
    openTest(TestWindow::Reaction, false); // Start stays loaded, only hidden
}

void Start::Command4_Click()
{
    openTest(TestWindow::Memory, true);
}

void Start::Command3_Click()
{
    openTest(TestWindow::Dexterity, true);
}

void Start::Command1_Click()
{
    openTest(TestWindow::Arithmetic, true);
}

void Start::Command5_Click()
{
    services.program.End();
}

void Start::showHistory(Test test)
{
    services.history.show(test, frame());
}

void Start::Label1_Click()
{
    services.desktop.openAddress(homepage);
}
