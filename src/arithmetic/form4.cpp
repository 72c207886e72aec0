// SPDX-License-Identifier: GPL-3.0-or-later

#include "arithmetic/form4.h"

#include "platform/access.h"
#include "platform/controls.h"
#include "platform/runtime.h"
#include "platform/timer.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

using namespace platform;
using arithmetic::Drill;

namespace {

const QString caption = QStringLiteral("Wer ist der beste im Kopfrechnen");
const QString startCaption = QStringLiteral("Auf geht's");
const QString cancelCaption = QStringLiteral("Abbrechen");
const QString entryPanelCaption = QStringLiteral("Eintrag in die Liste der Schnellrechner");
const QString entryPanelPlaceholder = QStringLiteral("Label5");
const QString listPanelCaption = QStringLiteral("Frame2");
const QString okCaption = QStringLiteral("ok");
const QString understoodCaption = QStringLiteral("schon kapiert");
const QString helpText = QStringLiteral(
    "Nach dem Start geben Sie einfach die Lösung der Aufgabe ein ohne mit Return zu bestätigen. Es werden immer "
    "wieder neue Aufgaben gestellt bis die Zeit abgelaufen ist. Unter Einstellungen können Sie die Schwierigkeit "
    "bestimmen.");

const QString rangeMenu = QStringLiteral("Einstellung");
const QString upToTenItem = QStringLiteral("Zahlen von 1 bis 10 miteinander multiplizieren");
const QString tenToTwentyItem = QStringLiteral("Zahlen von 10 bis 20 miteinander multiplizieren");
const QString tenToHundredItem = QStringLiteral("Zahlen von 10 bis 100 miteinander multiplizieren");
const QString listMenu = QStringLiteral("Liste der Schnellrechner");
const QString helpMenu = QStringLiteral("Hilfe");
const QString endMenu = QStringLiteral("Ende");
const QString leaveItem = QStringLiteral("Programm verlassen");
// The Alt letters: the ranges by their bounds (1, 2 of 20, the last 0 of 100), E_nde beside Einstellung.
constexpr qsizetype upToTenLetter = 11;
constexpr qsizetype tenToTwentyLetter = 18;
constexpr qsizetype tenToHundredLetter = 20;
constexpr qsizetype endLetter = 1;

const QString answerBoxName = QStringLiteral("Ihre Lösung");
const QString nameBoxName = QStringLiteral("Ihr Name");
const QString listName = QStringLiteral("Bestenliste");

const QString entryPrefix = QStringLiteral("Sie haben ");
const QString entrySuffix = QStringLiteral("  Punkte errechnet.");
const QString noEntryPrefix = QStringLiteral(" Sie haben ");
const QString noEntrySuffix = QStringLiteral(" Punkte erreicht das gibt keinen Eintrag in die Highscoreliste!");
const QString noEntryTitle = QStringLiteral("Das könnte noch besser werden");

// The longest texts the controls must show whole.
const QString longestTask = QStringLiteral(" 99 x 99");
const QString longestAnswer = QStringLiteral("9801");
const QString longestPoints = QStringLiteral(" 9999 Punkte");
const QString longestCountdown = QStringLiteral("Noch 59 Sekunden");

constexpr int tickMs = 1000;
constexpr quint32 black = 0x00000000;
constexpr quint32 taskGreen = 0x0000C000;
constexpr quint32 answerRed = 0x000000C0;
constexpr quint32 pointsYellow = 0x0000FFFF;
constexpr quint32 countdownRed = 0x000000FF;
constexpr quint32 helpBackground = 0x00C0E0FF;

// Opaque in its own colour, as on the old desktop: a panel must not let the
// black of the window show through behind its caption and controls.
void fill(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel *makeLineLabel(
    QWidget *parent, const char *name, QRect twips, quint32 colour, double pointSize, const QString &longest)
{
    QLabel *label = makeLabel(parent, name, QString(), twips);
    label->setWordWrap(false); // one line, never broken under the next
    label->setFont(designFont(pointSize, true));
    fitToBox(label, longest);
    setForeColor(label, vbColor(colour));
    return label;
}

void showOnTop(QWidget *panel)
{
    panel->show();
    panel->raise();
}

} // namespace

Form4::Form4(Services &services)
    : WindowWith(services, caption, QSize(7065, 5475))
    , drill(services.random)
    , list(lists::arithmetic, services)
{ }

Form4::~Form4() = default;

void Form4::createControls(QWidget *client, QMenuBar *menuBar)
{
    c = std::make_unique<Controls>();
    fill(client, vbColor(black));

    createDrillControls(client);
    createPanels(client);
    createMenus(menuBar);
    connectControls(client);
}

void Form4::createDrillControls(QWidget *client)
{
    c->Label1 = makeLineLabel(client, "Label1", twipsRect(2520, 1800, 2175, 615), taskGreen, 24, longestTask);

    c->Text1 = makeTextBox(client, "Text1", twipsRect(2880, 3600, 1215, 615));
    c->Text1->setFont(designFont(24, true));
    fitToBox(c->Text1, longestAnswer);
    c->Text1->setAccessibleName(answerBoxName);
    setForeColor(c->Text1, vbColor(answerRed));
    setBackColor(c->Text1, vbColor(black));
    c->Text1->hide();

    c->Command1 = makeButton(client, "Command1", startCaption, twipsRect(2760, 4920, 1575, 495));
    c->Command2 = makeButton(client, "Command2", cancelCaption, twipsRect(2760, 4920, 1575, 495));
    c->Command2->hide();
    fitToBox({ c->Command1, c->Command2 });

    c->Label2 = makeLineLabel(client, "Label2", twipsRect(120, 5040, 2295, 375), pointsYellow, 13.5, longestPoints);
    c->Label3 = makeLineLabel(client, "Label3", twipsRect(4680, 5040, 2295, 375), countdownRed, 12, longestCountdown);

    c->Timer1 = new Timer("Timer1", tickMs, client);
}

void Form4::createPanels(QWidget *client)
{
    const QColor face = QApplication::palette().color(QPalette::Window);

    c->Frame1 = makePanel(client, "Frame1", entryPanelCaption, twipsRect(1920, 1920, 3375, 2415));
    fill(c->Frame1, face);
    fitCaption(c->Frame1); // before its controls are built: they share the caption's size
    c->Label5 = makeLabel(c->Frame1, "Label5", entryPanelPlaceholder, twipsRect(240, 480, 2895, 495));
    c->Text2 = makeTextBox(c->Frame1, "Text2", twipsRect(240, 960, 2895, 375));
    HighScoreList::prepareNameBox(c->Text2);
    c->Text2->setAccessibleName(nameBoxName);
    c->Command3 = makeButton(c->Frame1, "Command3", okCaption, twipsRect(1080, 1680, 1095, 375));

    c->Frame2 = makePanel(client, "Frame2", listPanelCaption, twipsRect(1080, 0, 3735, 2655));
    fill(c->Frame2, face);
    c->List1 = makeListBox(c->Frame2, "List1", twipsRect(0, 240, 3615, 2010));
    c->List1->setAccessibleName(listName);
    c->Command4 = makeButton(c->Frame2, "Command4", okCaption, twipsRect(480, 2280, 2655, 255));

    c->Frame3 = makePanel(client, "Frame3", QString(), twipsRect(2160, 0, 4695, 2775));
    fill(c->Frame3, vbColor(helpBackground));
    c->Label4 = makeLabel(c->Frame3, "Label4", helpText, twipsRect(120, 120, 4455, 1815));
    c->Label4->setFont(designFont(12));
    fitToBox(c->Label4);
    setBackColor(c->Label4, vbColor(helpBackground));
    c->Command5 = makeButton(c->Frame3, "Command5", understoodCaption, twipsRect(3000, 2280, 1575, 375));
    fitCaption(c->Frame2);
    for (QPushButton *button : { c->Command3, c->Command4, c->Command5 })
        fitToBox({ button });
}

void Form4::createMenus(QMenuBar *menuBar)
{
    c->eins = makeMenu(menuBar, "eins", withMnemonic(rangeMenu, 0));
    // z10 carries the mark of the range every load sets; the others start without one.
    c->z10 = makeCheckItem(c->eins, "z10", withMnemonic(upToTenItem, upToTenLetter), true, [this] { z10_Click(); });
    c->z20 = makeCheckItem(
        c->eins, "z20", withMnemonic(tenToTwentyItem, tenToTwentyLetter), false, [this] { z20_Click(); });
    c->z100 = makeCheckItem(
        c->eins, "z100", withMnemonic(tenToHundredItem, tenToHundredLetter), false, [this] { z100_Click(); });
    c->lis = makeMenuBarItem(menuBar, "lis", withMnemonic(listMenu, 0), [this] { lis_Click(); });
    c->hilf = makeMenuBarItem(menuBar, "hilf", withMnemonic(helpMenu, 0), [this] { hilf_Click(); });
    c->enden = makeMenu(menuBar, "enden", withMnemonic(endMenu, endLetter));
    c->verlass = makeMenuItem(c->enden, "verlass", withMnemonic(leaveItem, 0), [this] { verlass_Click(); });
    c->verlauf = makeHistoryItem(menuBar, Test::Arithmetic);
}

void Form4::connectControls(QWidget *client)
{
    c->Timer1->onTick([this] { Timer1_Timer(); });
    onKeyUp(c->Text1, [this] { Text1_KeyUp(); });
    QObject::connect(c->Command1, &QPushButton::clicked, client, [this] { Command1_Click(); });
    QObject::connect(c->Command2, &QPushButton::clicked, client, [this] { Command2_Click(); });
    QObject::connect(c->Command3, &QPushButton::clicked, client, [this] { Command3_Click(); });
    QObject::connect(c->Command4, &QPushButton::clicked, client, [this] { Command4_Click(); });
    QObject::connect(c->Command5, &QPushButton::clicked, client, [this] { Command5_Click(); });
    QObject::connect(c->Text2, &QLineEdit::returnPressed, client, [this] { Command3_Click(); });
}

void Form4::Form_Load()
{
    services.random.Randomize();
    drill.load();
}

void Form4::Form_Unload()
{
    services.program.showStart();
}

void Form4::Command1_Click()
{
    // Text1 keeps what was typed and not judged before; the next key release judges it.
    drill.start();
    drawtask();
    c->Text1->setFocus();
}

void Form4::Command2_Click()
{
    drill.reset();
    showdrill();
}

void Form4::Text1_KeyUp()
{
    // Every release judges what the box holds now, also the release of a key
    // that went down for the task before: with fast typing its digit has
    // already been judged, and the box is empty again.
    if (drill.readyToJudge(Val(c->Text1->text())))
        checkanswer();
}

void Form4::Timer1_Timer()
{
    drill.tick();
    showdrill();
    if (drill.phase == Drill::Phase::Ended)
        endofdrill();
}

void Form4::drawtask()
{
    drill.drawtask();
    showdrill();
}

void Form4::checkanswer()
{
    drill.checkanswer(Val(c->Text1->text()));
    drawtask();
    c->Text1->clear(); // it keeps the focus that brought its key release
}

void Form4::showdrill()
{
    const bool running = drill.phase == Drill::Phase::Running;
    c->Label1->setText(drill.task);
    c->Label2->setText(drill.score);
    c->Label3->setText(drill.countdown);
    c->Command1->setVisible(!running);
    c->Command2->setVisible(running);
    c->Text1->setVisible(drill.phase != Drill::Phase::Idle);
    c->Text1->setEnabled(drill.phase != Drill::Phase::Ended);
    c->eins->menuAction()->setEnabled(drill.phase == Drill::Phase::Idle);
    if (c->Timer1->Enabled() != running)
        c->Timer1->setEnabled(running); // enabling restarts the wait: only on a change
}

void Form4::endofdrill()
{
    const int points = drill.points();
    services.history.record(Outcome::arithmetic(points, drill.lowfactor, drill.factorspan, drill.score));
    if (!list.fileexists()) {
        openentrypanel(points); // the first result always earns an entry
        return;
    }
    const std::optional<int> answer = list.checkqualification(points);
    if (!isLoaded())
        return; // closed while a box about the list was open
    drill.qualifies = short(answer.value_or(0));
    if (drill.qualifies == 1) {
        openentrypanel(points);
        return;
    }
    // Without an answer the player has been told why the list cannot take the drill.
    if (answer && !ask(noEntryPrefix + QString::number(points) + noEntrySuffix, vbOKOnly, noEntryTitle))
        return;
    drill.reset();
    showdrill();
}

void Form4::openentrypanel(int points)
{
    entry.points = points;
    c->Label5->setText(entryPrefix + QString::number(points) + entrySuffix);
    showOnTop(c->Frame1);
    c->Command1->setEnabled(false); // no new drill under the open panel
    c->Text2->setFocus(); // the name is typed at once
}

void Form4::z10_Click()
{
    chooseRange(arithmetic::upToTen, c->z10);
}

void Form4::z20_Click()
{
    chooseRange(arithmetic::tenToTwenty, c->z20);
}

void Form4::z100_Click()
{
    chooseRange(arithmetic::tenToHundred, c->z100);
}

void Form4::clearrangemarks()
{
    c->z10->setChecked(false);
    c->z20->setChecked(false);
    c->z100->setChecked(false);
}

void Form4::chooseRange(const arithmetic::Range &range, QAction *item)
{
    clearrangemarks();
    drill.chooseRange(range);
    item->setChecked(true);
}

void Form4::lis_Click()
{
    list.showlist(c->Frame2, c->List1);
    if (isLoaded() && !c->Frame2->isHidden())
        focusPanel(c->Command4);
}

void Form4::Command3_Click()
{
    // Saved, or given up after a failure the player was told about: the panel closes.
    list.saveEntry(entry, c->Text2);
    if (!isLoaded())
        return;
    // The range menu stays as it is: after an entry only a cancel, an end
    // without an entry or a new load enable it again.
    c->Frame1->hide();
    c->Command1->setEnabled(true);
}

void Form4::Command4_Click()
{
    c->Frame2->hide();
}

void Form4::hilf_Click()
{
    showOnTop(c->Frame3);
    focusPanel(c->Command5);
}

void Form4::focusPanel(QPushButton *ok)
{
    // Return closes the panel, and Space never starts a drill beneath it; a
    // running drill keeps the focus in its answer box.
    if (drill.phase != Drill::Phase::Running)
        ok->setFocus();
}

void Form4::Command5_Click()
{
    c->Frame3->hide();
}

void Form4::verlass_Click()
{
    unload(); // Form_Unload shows the start window first
}
