#include "highscore/entrylines.h"

#include "platform/runtime.h"

#include <QStringEncoder>

namespace entrylines {

namespace {
const QString pointsSeparator = QStringLiteral("  Punkte für  ");
const QString secondsSeparator = QStringLiteral(" --- ");
const QString modeSeparator = QStringLiteral(" Sekunden benötigt im Modus ");

// Where a new line goes, or -1 when it ranks below every line that is kept.
qsizetype insertionPoint(const QStringList &lines, double key)
{
    const qsizetype kept = std::min<qsizetype>(lines.size(), keptOldLines);
    for (qsizetype i = 0; i < kept; ++i) {
        if (scoreKey(lines.at(i)) <= key)
            return i;
    }
    return -1;
}

bool fitsCodePage(QChar c)
{
    QStringEncoder encoder("windows-1252");
    const QByteArray bytes = encoder.encode(QString(c));
    return !encoder.hasError() && bytes.size() == 1;
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
    const bool written = insertionPoint(lines, points) >= 0 || lines.size() < keptOldLines;
    return byRule && written;
}

QStringList withEntry(const QStringList &lines, const QString &entry)
{
    QStringList result = lines.mid(0, keptOldLines);
    const qsizetype at = insertionPoint(lines, scoreKey(entry));
    if (at >= 0)
        result.insert(at, entry);
    else if (lines.size() < keptOldLines)
        result.append(entry);
    return result;
}

QString cleanName(const QString &typed)
{
    QString name;
    for (const QChar c : typed) {
        if (c.category() != QChar::Other_Control && fitsCodePage(c))
            name += c;
    }
    return name;
}

} // namespace entrylines
