// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// What sets the three best lists apart.
struct ListVariant
{
    QString fileName;
    int fewerLinesThan; // a list shorter than this takes every new result
    int room; // lines read at most
    bool recordsRun; // the dexterity list adds the seconds and the mode
};

namespace lists {
inline const ListVariant memory { QStringLiteral("best.lst"), 9, 50, false };
inline const ListVariant dexterity { QStringLiteral("best1.lst"), 11, 20, true };
inline const ListVariant arithmetic { QStringLiteral("best2.lst"), 10, 20, false };
} // namespace lists

// The result a list entry records. It is fixed when the name panel opens, so a
// game started meanwhile cannot change what is written.
struct Result
{
    int points = 0;
    int seconds = 0;
    QString modeName;
};
