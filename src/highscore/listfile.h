#pragma once

#include <QString>
#include <QStringList>

// A best list on disk: Windows-1252 text, one entry per line, CR LF line ends.
namespace listfile {

bool fileexists(const QString &path);

struct Reading
{
    bool ok = false;
    QStringList lines; // blank lines left out, at most `room` lines
};
// Reads a hand-edited file too: LF line ends, blank lines, any text.
Reading read(const QString &path, int room);

// Replaces the file atomically, so a crash never leaves half a list.
// Fails when a line holds a character the code page cannot hold.
bool write(const QString &path, const QStringList &lines);

QByteArray encode(const QStringList &lines, bool *ok);
QStringList decode(const QByteArray &bytes, int room);

} // namespace listfile
