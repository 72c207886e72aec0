// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/rules.h"

#include "platform/runtime.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <utility>

namespace history {

namespace {

const QString reactionName = QStringLiteral("Reaktionstest");
const QString memoryName = QStringLiteral("Gedächtnistrainning");
const QString dexterityName = QStringLiteral("Geschicklichkeit");
const QString arithmeticName = QStringLiteral("Kopfrechnen");

const QString timeTitle = QStringLiteral("Zeit");
const QString rightTitle = QStringLiteral("Richtig");
const QString pointsTitle = QStringLiteral("Punkte");
const QString rightSuffix = QStringLiteral(" richtig");
const QString pointsSuffix = QStringLiteral(" Punkte");
const QString coloursSuffix = QStringLiteral(" Farben");
const QString rangeMiddle = QStringLiteral(" bis ");
const QString msSuffix = QStringLiteral(" ms");

// The memory game's display times with the words of its speed menu.
const std::pair<int, QString> speeds[] = {
    { 750, QStringLiteral("schnell") },
    { 1500, QStringLiteral("mittel") },
    { 2500, QStringLiteral("langsam") },
};

// Sorts a facet's texts with the easiest setting first: fewer colours, a
// slower display, the smaller range; the modes, which have no range, by
// name, which puts them in order.
qint64 rank(Facet facet, const Outcome &outcome)
{
    switch (facet) {
    case Facet::Colours:
        return outcome.colours;
    case Facet::Display:
        return -outcome.displayMs;
    case Facet::Mode:
    case Facet::Range:
        break;
    }
    return qint64(outcome.lowfactor) * 1000 + outcome.factorspan;
}

QString number(double value)
{
    // Medians of whole numbers may end in a half.
    return QLocale().toString(value, 'f', value == std::floor(value) ? 0 : 1);
}

} // namespace

QString testName(Test test)
{
    switch (test) {
    case Test::Reaction:
        return reactionName;
    case Test::Memory:
        return memoryName;
    case Test::Dexterity:
        return dexterityName;
    case Test::Arithmetic:
        break;
    }
    return arithmeticName;
}

bool lowerIsBetter(Test test)
{
    return test == Test::Reaction;
}

std::optional<double> valueOf(const Outcome &outcome)
{
    if (outcome.test == Test::Reaction)
        return outcome.seconds;
    if (outcome.test == Test::Dexterity && !outcome.won)
        return std::nullopt; // a lost run scores nothing
    return outcome.points;
}

QString valueTitle(Test test)
{
    if (test == Test::Reaction)
        return timeTitle;
    return test == Test::Memory ? rightTitle : pointsTitle;
}

QString valueText(Test test, double value)
{
    if (test == Test::Reaction)
        return platform::formatSeconds(value);
    return number(value) + (test == Test::Memory ? rightSuffix : pointsSuffix);
}

QList<Facet> facetsOf(Test test)
{
    switch (test) {
    case Test::Reaction:
        return {};
    case Test::Memory:
        return { Facet::Colours, Facet::Display };
    case Test::Dexterity:
        return { Facet::Mode };
    case Test::Arithmetic:
        break;
    }
    return { Facet::Range };
}

QString facetTitle(Facet facet)
{
    switch (facet) {
    case Facet::Colours:
        return QStringLiteral("Anzahl");
    case Facet::Display:
        return QStringLiteral("Geschwindigkeit");
    case Facet::Mode:
        return QStringLiteral("Modus");
    case Facet::Range:
        break;
    }
    return QStringLiteral("Zahlenbereich");
}

QString facetLabel(Facet facet)
{
    return QLatin1Char('&') + facetTitle(facet) + QLatin1Char(':');
}

QString facetText(Facet facet, const Outcome &outcome)
{
    switch (facet) {
    case Facet::Colours:
        return QString::number(outcome.colours) + coloursSuffix;
    case Facet::Display:
        for (const auto &[ms, word] : speeds) {
            if (ms == outcome.displayMs)
                return word;
        }
        return QLocale().toString(outcome.displayMs) + msSuffix;
    case Facet::Mode:
        return outcome.mode;
    case Facet::Range:
        break;
    }
    // The factors the drill draws: lowfactor up to lowfactor + factorspan - 1.
    return QString::number(outcome.lowfactor) + rangeMiddle
        + QString::number(outcome.lowfactor + outcome.factorspan - 1);
}

QStringList facetChoices(Facet facet, const QList<Outcome> &outcomes)
{
    QList<std::pair<qint64, QString>> ranked;
    for (const Outcome &outcome : outcomes)
        ranked.append({ rank(facet, outcome), facetText(facet, outcome) });
    std::sort(ranked.begin(), ranked.end());
    QStringList choices;
    for (const auto &[order, text] : ranked) {
        if (!choices.contains(text))
            choices << text;
    }
    return choices;
}

QList<Outcome> filtered(const QList<Outcome> &outcomes, const Filter &filter)
{
    QList<Outcome> kept;
    for (const Outcome &outcome : outcomes) {
        const bool matches = std::all_of(filter.keyBegin(), filter.keyEnd(),
            [&](Facet facet) { return facetText(facet, outcome) == filter.value(facet); });
        if (matches)
            kept << outcome;
    }
    return kept;
}

} // namespace history
