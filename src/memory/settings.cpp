// SPDX-License-Identifier: GPL-3.0-or-later

// The settings menu: display time and number of colours, and the settings line.
#include "memory/form2.h"

#include "platform/access.h"
#include "platform/timer.h"

#include <QAction>
#include <QLabel>

using namespace platform;

namespace {

const QString ownCountPrompt = QStringLiteral("Bitte eine Zahl eingeben");
const QString ownCountTitle = QStringLiteral("50 ist Ihnen also noch zu wenig");
const QString ownCountProposal = QStringLiteral("60");
const QString badCountPrompt
    = QStringLiteral("Bitte geben Sie eine ganze Zahl von 1 bis 500 ein. Es bleibt bei 5 Farben.");
const QString badCountTitle = QStringLiteral("Das geht leider nicht");

} // namespace

void form2::applysettings()
{
    c->Timer2->setInterval(game_.displaytime);
    c->Label1->setText(game_.settingtext);
}

void form2::choosespeed(QAction *item, Game::Speed speed)
{
    for (QAction *each : { c->schnell, c->mittel, c->langsam })
        each->setChecked(each == item);
    game_.choosespeed(speed);
    applysettings();
}

void form2::choosecount(QAction *item)
{
    clearcountmarks();
    item->setChecked(true);
    game_.choosecount(shownText(item->text()).trimmed().toInt()); // each item is captioned with its count
    applysettings();
}

void form2::clearcountmarks()
{
    for (QAction *count : { c->es5, c->es10, c->es20, c->es30, c->es40, c->es50, c->selbst })
        count->setChecked(false);
}

void form2::selbst_Click()
{
    clearcountmarks();
    const std::optional<QString> typed = askText(ownCountPrompt, ownCountTitle, ownCountProposal);
    if (!typed)
        return; // the window was closed while the box was open
    if (Game::refusesowncount(*typed) && !ask(badCountPrompt, vbOKOnly + vbExclamation, badCountTitle))
        return;
    (game_.chooseowncount(*typed) ? c->selbst : c->es5)->setChecked(true);
    applysettings();
}
