// The settings menu: display time and number of colours, and the settings line.
#include "memory/form2.h"

#include "platform/timer.h"

#include <QAction>
#include <QLabel>

using namespace platform;

namespace {

const QString slowWord = QStringLiteral("langsamer");
const QString fastWord = QStringLiteral("schneller");
const QString middleWord = QStringLiteral("mittlerer");
constexpr int slowMs = 2500;
constexpr int fastMs = 750;
constexpr int middleMs = 1500;

const QString settingStart = QStringLiteral(" Einstellung: ");
const QString settingMiddle = QStringLiteral(" Farben merken bei ");
const QString settingEnd = QStringLiteral(" Geschwindigkeit.");

const QString ownCountPrompt = QStringLiteral("Bitte eine Zahl eingeben");
const QString ownCountTitle = QStringLiteral("50 ist Ihnen also noch zu wenig");
const QString ownCountProposal = QStringLiteral("60");
const QString badCountPrompt
    = QStringLiteral("Bitte geben Sie eine ganze Zahl von 1 bis 500 ein. Es bleibt bei 5 Farben.");
const QString badCountTitle = QStringLiteral("Das geht leider nicht");
constexpr int defaultCount = 5;

// A whole number from 1 to the most a game can hold, or 0.
int owncount(const QString &typed)
{
    bool whole = false;
    const int count = typed.trimmed().toInt(&whole);
    return whole && count >= 1 && count <= form2::lastPosition ? count : 0;
}

} // namespace

void form2::applysettings()
{
    if (c->langsam->isChecked()) {
        speedword = slowWord;
        c->Timer2->setInterval(slowMs);
    }
    if (c->schnell->isChecked()) {
        speedword = fastWord;
        c->Timer2->setInterval(fastMs);
    }
    if (c->mittel->isChecked()) {
        speedword = middleWord;
        c->Timer2->setInterval(middleMs);
    }
    settingtext = settingStart + QString::number(colourcount) + settingMiddle + speedword + settingEnd;
    c->Label1->setText(settingtext);
}

void form2::schnell_Click()
{
    choosespeed(c->schnell);
}

void form2::mittel_Click()
{
    choosespeed(c->mittel);
}

void form2::langsam_Click()
{
    choosespeed(c->langsam);
}

void form2::choosespeed(QAction *item)
{
    for (QAction *speed : { c->schnell, c->mittel, c->langsam })
        speed->setChecked(speed == item);
    applysettings();
}

void form2::clearcountmarks()
{
    for (QAction *count : { c->es5, c->es10, c->es20, c->es30, c->es40, c->es50, c->selbst })
        count->setChecked(false);
}

void form2::choosecount(int count, QAction *item)
{
    clearcountmarks();
    colourcount = count;
    item->setChecked(true);
    applysettings();
}

void form2::selbst_Click()
{
    clearcountmarks();
    const std::optional<QString> typed = askText(ownCountPrompt, ownCountTitle, ownCountProposal);
    if (!typed)
        return; // the window was closed while the box was open
    const int count = owncount(*typed);
    if (!typed->isEmpty() && count == 0 && !ask(badCountPrompt, vbOKOnly + vbExclamation, badCountTitle))
        return;
    if (count == 0) {
        colourcount = defaultCount; // as after a cancelled box
        c->es5->setChecked(true);
    } else {
        colourcount = count;
        c->selbst->setChecked(true);
    }
    applysettings();
}
