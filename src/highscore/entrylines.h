// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "highscore/listvariant.h"

#include <QStringList>

// The line logic of the best lists, free of files: what an entry looks like,
// how lines rank, who earns a place and where a new line goes.
namespace entrylines {

// At most this many old lines are written back: a list holds ten entries plus
// at most one that was pushed down by the last insertion.
constexpr int keptOldLines = 10;

QString entryLine(const ListVariant &variant, const Result &result, const QString &name);

// The whole leading number of a line; a line without one keys as 0.
double scoreKey(const QString &line);

// Whether points earn a place: the list is shorter than its limit, or the points
// beat at least one line, and the insertion would really write them.
bool earnsPlace(const ListVariant &variant, const QStringList &lines, int points);

// The lines after inserting a new one above the first old line that does not
// rank higher; at most keptOldLines old lines stay.
QStringList withEntry(const QStringList &lines, const QString &entry);

// Room for any real name, while a list line stays short enough to show whole.
constexpr int nameMaxLength = 100;

// A name as it may stand in a list: no control characters, nothing a
// Windows-1252 file cannot hold, at most nameMaxLength characters.
QString cleanName(const QString &typed);

} // namespace entrylines
