#include "highscore/listfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace listfile {

namespace {
// Qt's own converters know only Unicode and Latin-1; this name goes through ICU.
constexpr const char *codePage = "windows-1252";
constexpr char lineEnd[] = "\r\n";
} // namespace

bool fileexists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

QStringList decode(const QByteArray &bytes, int room)
{
    QStringDecoder decoder(codePage);
    const QString text = decoder.decode(bytes);
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (lines.size() >= room)
            break;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            lines.append(line);
    }
    return lines;
}

QByteArray encode(const QStringList &lines, bool *ok)
{
    QStringEncoder encoder(codePage);
    if (!encoder.isValid()) {
        *ok = false;
        return {};
    }
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += encoder.encode(line);
        bytes += lineEnd;
    }
    *ok = !encoder.hasError();
    return bytes;
}

Reading read(const QString &path, int room)
{
    if (!QStringDecoder(codePage).isValid())
        return {}; // never take an unreadable list for an empty one
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {};
    return { true, decode(bytes, room) };
}

bool write(const QString &path, const QStringList &lines)
{
    bool encoded = false;
    const QByteArray bytes = encode(lines, &encoded);
    if (!encoded)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace listfile
