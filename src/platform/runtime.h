// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QtGlobal>

// The number and text conversions the windows rely on. They follow the old
// BASIC runtime the program's rules were written for, not C++ habits.
namespace platform {

// Whole part: rounds towards minus infinity (Int(-0.5) is -1).
double Int(double value);

// Nearest 32-bit integer, a half going to the even neighbour (CLng(2.5) is 2).
// Values beyond the 32-bit range are clamped to it.
qint32 CLng(double value);

// The leading number of a text: blanks, tabs and line feeds skipped wherever they
// stand, an optional sign, digits with "." as the decimal point; stops at the
// first other character; 0 if none.
double Val(const QString &text);

// A number as text with its sign position: a blank before zero and positive
// numbers, "-" before negative ones; "." as decimal point in every locale.
QString Str(double value);

// "0.000 Sekunden": three decimals, rounded, with the separator of the default
// locale, which in the program is the user's.
QString formatSeconds(double seconds);

} // namespace platform
