// SPDX-License-Identifier: GPL-3.0-or-later

#include "highscore/entrylines.h"

#include "platform/runtime.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <bitset>
#include <optional>

namespace entrylines {

namespace {
const QString pointsSeparator = QStringLiteral("  Punkte für  ");
const QString secondsSeparator = QStringLiteral(" --- ");
const QString modeSeparator = QStringLiteral(" Sekunden benötigt im Modus ");

// Where a new line goes among the kept lines: before the first it ranks
// above or equal to, else behind them while there is room; nowhere when the
// list is full.
std::optional<qsizetype> insertionPoint(const QStringList &lines, double key)
{
    const qsizetype kept = std::min<qsizetype>(lines.size(), keptOldLines);
    for (qsizetype i = 0; i < kept; ++i) {
        if (scoreKey(lines.at(i)) <= key)
            return i;
    }
    if (kept < keptOldLines)
        return kept;
    return std::nullopt;
}

// The characters a list line can hold: those the code page decodes one of its
// bytes to and encodes back to the same byte. Found once, then looked up.
const std::bitset<65536> &codePageChars()
{
    static const std::bitset<65536> chars = [] {
        std::bitset<65536> found;
        for (int byte = 0; byte < 256; ++byte) {
            const QByteArray one(1, char(byte));
            const QString decoded = QStringDecoder("windows-1252").decode(one);
            QStringEncoder encoder("windows-1252");
            const QByteArray back = encoder.encode(decoded);
            if (decoded.size() == 1 && !encoder.hasError() && back == one)
                found.set(decoded.at(0).unicode());
        }
        return found;
    }();
    return chars;
}
} // namespace

QString entryLine(const ListVariant &variant, const Result &result, const QString &name)
{
    QString line = platform::Str(result.points) + pointsSeparator + name;
    if (variant.recordsRun)
        line += secondsSeparator + platform::Str(result.seconds) + modeSeparator + result.modeName;
    return line;
}

double scoreKey(const QString &line)
{
    return platform::Val(line);
}

bool earnsPlace(const ListVariant &variant, const QStringList &lines, int points)
{
    bool beatsALine = false;
    for (const QString &line : lines)
        beatsALine = beatsALine || points > scoreKey(line);
    const bool byRule = lines.size() < variant.fewerLinesThan || beatsALine;
    return byRule && insertionPoint(lines, points).has_value();
}

QStringList withEntry(const QStringList &lines, const QString &entry)
{
    QStringList result = lines.mid(0, keptOldLines);
    if (const std::optional<qsizetype> at = insertionPoint(lines, scoreKey(entry)))
        result.insert(*at, entry);
    return result;
}

QString cleanName(const QString &typed)
{
    const std::bitset<65536> &fits = codePageChars();
    QString name;
    for (const QChar c : typed) {
        if (name.size() == nameMaxLength)
            break;
        if (c.category() != QChar::Other_Control && fits.test(c.unicode()))
            name += c;
    }
    return name;
}

} // namespace entrylines
