// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

double Int(double value)
{
    return std::floor(value);
}

qint32 CLng(double value)
{
    constexpr double lowest = std::numeric_limits<qint32>::min();
    constexpr double highest = std::numeric_limits<qint32>::max();
    if (std::isnan(value))
        return 0;
    // nearbyint rounds ties to even in the default rounding mode.
    return static_cast<qint32>(std::clamp(std::nearbyint(value), lowest, highest));
}

double Val(const QString &text)
{
    QString number;
    bool seenPoint = false;
    bool seenDigit = false;
    for (const QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n'))
            continue; // skipped anywhere, as the old runtime does: " 1 2" is 12
        if (number.isEmpty() && (c == QLatin1Char('-') || c == QLatin1Char('+'))) {
            number += c;
            continue;
        }
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            seenDigit = true;
        else if (c == QLatin1Char('.') && !seenPoint)
            seenPoint = true;
        else
            break;
        number += c;
    }
    if (!seenDigit)
        return 0;
    return number.toDouble();
}

QString Str(double value)
{
    const QString digits = QString::number(std::fabs(value), 'g', 15);
    return (value < 0 ? QLatin1String("-") : QLatin1String(" ")) + digits;
}

QString formatSeconds(double seconds)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(seconds, 'f', 3) + QStringLiteral(" Sekunden");
}

} // namespace platform
