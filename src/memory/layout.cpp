// SPDX-License-Identifier: GPL-3.0-or-later

// The controls of the memory training, built from their design values.
#include "memory/form2.h"

#include "memory/colours.h"
#include "platform/access.h"
#include "platform/controls.h"
#include "platform/timer.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

using namespace memory;
using namespace platform;

// The run of 70 blanks pushes the second sentence onto a line of its own.
const QString form2::helpText
    = QStringLiteral("Mit diesem kleinen Programm können Sie Ihr Gedächtnis trainieren. Nach dem Start werden Farben "
                     "eingeblendet, die Sie sich merken sollten, denn danach müssen Sie diese Farben durch Anklicken "
                     "der Farbbuttons in der richtigen Reihenfolge wiederholen.")
    + QString(70, QLatin1Char(' '))
    + QStringLiteral("Unter Einstellungen können Sie  die Dauer der Einblendung und die Anzahl der Einblendungen "
                     "festlegen.");

namespace {

const QString startCaption = QStringLiteral("Dann lass uns mal anfangen");
const QString cancelCaption = QStringLiteral("Abbrechen");
const QString resultOkCaption = QStringLiteral("OK");
const QString helpOkCaption = QStringLiteral("alles klar, hab's schon kapiert");
const QString namePanelCaption = QStringLiteral("Sie haben eines der besten 10 Ergebnisse erreicht");
const QString nameOkCaption = QStringLiteral("schon erledigt");
const QString nameCancelCaption = QStringLiteral("abbrechen");
const QString namePrompt = QStringLiteral("Tragen Sie hier Ihren Namen ein");
const QString listOkCaption = QStringLiteral("ok");
const QString nameBoxName = QStringLiteral("Ihr Name");
const QString listName = QStringLiteral("Bestenliste");

const QString settingsMenu = QStringLiteral("Einstellung");
const QString speedMenu = QStringLiteral("Einblendungsgeschwindigkeit");
const QString countMenu = QStringLiteral("Anzahl ");
const QString ownCountItem = QStringLiteral("will ich sebst bestimmen");
const QString helpMenu = QStringLiteral("Wie geht das nun");
const QString listMenu = QStringLiteral("Bestenliste");
const QString leaveMenu = QStringLiteral("Keine Lust mehr");

const QColor black = Qt::black;
const QColor lightYellow = rgb(255, 255, 192);
const QColor lightGreen = rgb(192, 255, 192);
const QColor lightCyan = rgb(192, 255, 255);
const QColor cyan = Qt::cyan;
const QColor orange = rgb(255, 128, 0);
const QColor navy = Qt::darkBlue; // 0, 0, 128
const QColor progressGreen = rgb(0, 192, 0);

// Fills a widget with its own colour. Only the window role changes, so that the
// buttons on it keep their standard look.
void fillWith(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QGroupBox *makeFilledPanel(QWidget *parent, const char *name, const QString &caption, QRect twips, const QColor &colour)
{
    QGroupBox *panel = makePanel(parent, name, caption, twips);
    fillWith(panel, colour);
    return panel;
}

Shape *makeSquare(QWidget *client, const char *name, const QColor &colour)
{
    auto *square = new Shape(client, name, Shape::Kind::Rectangle, twipsRect(2520, 1200, 2535, 2535), colour);
    square->hide();
    return square;
}

} // namespace

void form2::createControls(QWidget *client, QMenuBar *menuBar)
{
    c = std::make_unique<Controls>();
    client->setFont(designFont(8.25));
    fillWith(client, black);
    // Qt stacks later siblings above earlier ones: build from the bottom up.
    buildGameControls(client);
    buildPanels(client);
    buildMenus(menuBar);
    connectButtons(client);
}

void form2::buildGameControls(QWidget *client)
{
    c->Shape2 = makeSquare(client, "Shape2", colourOf(red));
    c->Shape1 = makeSquare(client, "Shape1", colourOf(green));
    c->Shape3 = makeSquare(client, "Shape3", colourOf(blue));
    c->Shape4 = makeSquare(client, "Shape4", colourOf(yellow));
    c->Shape9 = makeSquare(client, "Shape9", black);

    c->Label1 = makeLabel(client, "Label1", QString(), twipsRect(0, 5520, 7575, 375));
    c->Label1->setFont(designFont(12));
    fillWith(c->Label1, lightYellow);
    fitToBox(c->Label1, QStringLiteral(" Einstellung: 500 Farben merken bei mittlerer Geschwindigkeit."));

    c->Label3 = makeLabel(client, "Label3", QStringLiteral("Label3"), twipsRect(1440, 4920, 4095, 495));
    c->Label3->setFont(designFont(9.75, true));
    setForeColor(c->Label3, progressGreen);
    fitToBox(c->Label3, QStringLiteral("500 von 500 richtig"));
    fillWith(c->Label3, black);
    c->Label3->hide();

    c->Label4 = makeLabel(client, "Label4", QString(), twipsRect(1560, 2040, 4455, 1095));
    c->Label4->setFont(designFont(9.75, true));
    fillWith(c->Label4, black);
    c->Label4->hide();

    c->Timer1 = new Timer("Timer1", Game::gapMs, client);
    c->Timer1->onTick([this] { Timer1_Timer(); });
    c->Timer2 = new Timer("Timer2", 1500, client);
    c->Timer2->onTick([this] { Timer2_Timer(); });

    c->Command1 = makeButton(client, "Command1", startCaption, twipsRect(3000, 2040, 2175, 495));
    c->Command2 = makeButton(client, "Command2", cancelCaption, twipsRect(6000, 4920, 1455, 495));
    c->Command2->hide();
    fitToBox({ c->Command1 });
    fitToBox({ c->Command2 });
    c->Command4 = makeColourButton(client, "Command4", red, twipsRect(2520, 4080, 855, 855));
    c->Command5 = makeColourButton(client, "Command5", blue, twipsRect(3600, 4080, 855, 855));
    c->Command6 = makeColourButton(client, "Command6", yellow, twipsRect(4680, 4080, 855, 855));
    c->Command3 = makeColourButton(client, "Command3", green, twipsRect(1440, 4080, 855, 855));
    // Tab goes as the eye does: the colours from left to right, then "Abbrechen".
    QWidget *const screenOrder[] = { c->Command3, c->Command4, c->Command5, c->Command6, c->Command2 };
    for (int i = 1; i < 5; ++i)
        QWidget::setTabOrder(screenOrder[i - 1], screenOrder[i]);
}

void form2::buildPanels(QWidget *client)
{
    c->Frame1 = makeFilledPanel(client, "Frame1", QString(), twipsRect(1560, 1200, 4695, 1935), lightYellow);
    c->Label2 = makeLabel(c->Frame1, "Label2", QStringLiteral("Label2"), twipsRect(120, 240, 4455, 615));
    c->Label2->setFont(designFont(9.75, true));
    fitToBox(c->Label2, QStringLiteral("Das war leider ein Fehler, aber Sie haben 499 richtig"));
    c->Command7 = makeButton(c->Frame1, "Command7", resultOkCaption, twipsRect(2640, 1440, 1455, 375));

    c->Frame2 = makeFilledPanel(client, "Frame2", QString(), twipsRect(2520, 0, 3495, 2655), lightGreen);
    c->List1 = makeListBox(c->Frame2, "List1", twipsRect(120, 0, 3255, 2205));
    c->List1->setAccessibleName(listName);
    setBackColor(c->List1, lightGreen);
    setForeColor(c->List1, Qt::blue);
    c->Command8 = makeButton(c->Frame2, "Command8", listOkCaption, twipsRect(360, 2280, 2775, 375));

    c->Frame3 = makeFilledPanel(client, "Frame3", namePanelCaption, twipsRect(2280, 1560, 3855, 1695), cyan);
    c->Label5 = makeLabel(c->Frame3, "Label5", namePrompt, twipsRect(480, 360, 2415, 375));
    c->Command10 = makeButton(c->Frame3, "Command10", nameCancelCaption, twipsRect(2400, 1200, 1335, 375));
    setBackColor(c->Command10, lightCyan);
    c->Command9 = makeButton(c->Frame3, "Command9", nameOkCaption, twipsRect(240, 1200, 1575, 375));
    setBackColor(c->Command9, lightCyan);
    c->Text1 = makeTextBox(c->Frame3, "Text1", twipsRect(360, 720, 3135, 375));
    setBackColor(c->Text1, navy);
    setForeColor(c->Text1, Qt::white);
    HighScoreList::prepareNameBox(c->Text1);
    c->Text1->setAccessibleName(nameBoxName);
    fitCaption(c->Frame3);
    fitToBox(c->Label5);
    fitToBox({ c->Command9, c->Command10 });

    c->Frame4 = makeFilledPanel(client, "Frame4", QString(), twipsRect(720, 360, 5895, 2655), orange);
    c->Label6 = makeLabel(c->Frame4, "Label6", QString(), twipsRect(240, 240, 5535, 1815));
    c->Label6->setFont(designFont(9.75));
    c->Label7 = makeLabel(c->Frame4, "Label7", helpText, twipsRect(240, 240, 5535, 1815));
    c->Label7->setFont(designFont(9.75));
    c->Command11 = makeButton(c->Frame4, "Command11", helpOkCaption, twipsRect(1200, 2160, 3255, 375));
    fitToBox(c->Label7);
    fitToBox({ c->Command11 });
}

void form2::buildMenus(QMenuBar *menuBar)
{
    // Each text with the position of its Alt letter; "50" takes its 0, the 5 is "5"'s.
    const auto item = [](const char *text, qsizetype letter) { return withMnemonic(QString::fromUtf8(text), letter); };
    c->es = makeMenu(menuBar, "es", withMnemonic(settingsMenu, 0));
    c->egeschw = makeSubMenu(c->es, "egeschw", withMnemonic(speedMenu, 0));
    c->schnell = makeCheckItem(c->egeschw, "schnell", item("schnell", 0), false, [this] { schnell_Click(); });
    c->mittel = makeCheckItem(c->egeschw, "mittel", item("mittel", 0), true, [this] { mittel_Click(); });
    c->langsam = makeCheckItem(c->egeschw, "langsam", item("langsam", 0), false, [this] { langsam_Click(); });
    c->anz = makeSubMenu(c->es, "anz", withMnemonic(countMenu, 0));
    c->es5 = makeCheckItem(c->anz, "es5", item("5 ", 0), true, [this] { es5_Click(); });
    c->es10 = makeCheckItem(c->anz, "es10", item("10", 0), false, [this] { es10_Click(); });
    c->es20 = makeCheckItem(c->anz, "es20", item("20", 0), false, [this] { es20_Click(); });
    c->es30 = makeCheckItem(c->anz, "es30", item("30", 0), false, [this] { es30_Click(); });
    c->es40 = makeCheckItem(c->anz, "es40", item("40", 0), false, [this] { es40_Click(); });
    c->es50 = makeCheckItem(c->anz, "es50", item("50", 1), false, [this] { es50_Click(); });
    c->selbst = makeCheckItem(c->anz, "selbst", withMnemonic(ownCountItem, 0), false, [this] { selbst_Click(); });
    c->hilf = makeMenuBarItem(menuBar, "hilf", withMnemonic(helpMenu, 0), [this] { hilf_Click(); });
    c->best = makeMenuBarItem(menuBar, "best", withMnemonic(listMenu, 0), [this] { best_Click(); });
    c->kl = makeMenuBarItem(menuBar, "kl", withMnemonic(leaveMenu, 0), [this] { kl_Click(); });
    c->verlauf = makeHistoryItem(menuBar, Test::Memory);
}

void form2::connectButtons(QWidget *client)
{
    const auto connect = [client](QPushButton *button, auto handler) {
        QObject::connect(button, &QPushButton::clicked, client, handler);
    };
    connect(c->Command1, [this] { Command1_Click(); });
    connect(c->Command2, [this] { Command2_Click(); });
    connect(c->Command3, [this] { Command3_Click(); });
    connect(c->Command4, [this] { Command4_Click(); });
    connect(c->Command5, [this] { Command5_Click(); });
    connect(c->Command6, [this] { Command6_Click(); });
    connect(c->Command7, [this] { Command7_Click(); });
    connect(c->Command8, [this] { Command8_Click(); });
    connect(c->Command9, [this] { Command9_Click(); });
    connect(c->Command10, [this] { Command10_Click(); });
    connect(c->Command11, [this] { Command11_Click(); });
    // In the name box Return confirms and Escape cancels, as the panel's buttons do.
    QObject::connect(c->Text1, &QLineEdit::returnPressed, client, [this] { Command9_Click(); });
    onKeyPress(c->Text1, [this](int key) {
        if (key != Qt::Key_Escape)
            return false;
        Command10_Click();
        return true;
    });
    onKeyPress(client->window(), [this](int key) { return answerKey(key); });
}
