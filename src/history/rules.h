// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/services.h"

#include <QList>
#include <QMap>
#include <QString>
#include <optional>

// What a result of each test is worth, and which settings split the results,
// so that the "Verlauf" window compares like with like.
namespace history {

using platform::Outcome;
using platform::Test;

QString testName(Test test); // as on the start window's buttons

// A lower reaction time is better; more points are better everywhere else.
bool lowerIsBetter(Test test);

// The figure the charts and statistics follow; none for a lost dexterity run.
std::optional<double> valueOf(const Outcome &outcome);

// What the value is: "Zeit", "Richtig", "Punkte".
QString valueTitle(Test test);

// A value as the table and the figures show it: "0,234 Sekunden", "7 richtig", "180 Punkte".
QString valueText(Test test, double value);

// A setting that splits a test's results: the memory game's count and speed,
// the dexterity mode, the arithmetic range.
enum class Facet { Colours, Display, Mode, Range };

QList<Facet> facetsOf(Test test);
QString facetTitle(Facet facet); // the table's column, e.g. "Anzahl"
QString facetLabel(Facet facet); // with the keyboard mnemonic, e.g. "&Anzahl:"
QString facetText(Facet facet, const Outcome &outcome); // "5 Farben", "mittel", "normal", "1 bis 10"

// The texts of a facet found in these results, easiest or shortest first.
QStringList facetChoices(Facet facet, const QList<Outcome> &outcomes);

// The chosen text per facet; a facet left out lets every result through.
using Filter = QMap<Facet, QString>;
QList<Outcome> filtered(const QList<Outcome> &outcomes, const Filter &filter);

} // namespace history
