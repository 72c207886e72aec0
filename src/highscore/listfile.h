// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// A best list on disk: Windows-1252 text, one entry per line, CR LF line ends.
// Only a regular file is read or replaced; a symbolic link at the list's name is
// never followed, so nobody can make a save overwrite another file through it.
namespace listfile {

// Why a list cannot be read or saved.
enum class Fault {
    None,
    Link, // a symbolic link stands at the list's name
    NotAFile, // a folder, pipe, device or socket stands there
    TooLarge, // the lines the job needs cannot be read whole
    Unreadable,
    FileReadOnly,
    FolderReadOnly,
    NoSpace,
    LockInTheWay, // something other than a file stands at the lock's name
    Busy, // another running copy holds the lock
    Other,
};

// A line longer than this is kept cut, one character beyond it, so that whoever
// uses it can tell; hand-edited lines may be long, the program's own never are.
constexpr int lineCap = 4096;
// No reading goes further into a file than this, whatever its size.
constexpr qint64 readLimit = 1 << 20;
// Between a list's name and the random part of its temporary files.
inline const QString temporaryMark = QStringLiteral(".korvane-");

// Something stands at the list's name (a file, or something the reading refuses).
bool fileexists(const QString &path);

struct Reading
{
    Fault fault = Fault::None;
    QStringList lines; // blank lines left out
    bool toEnd = false; // nothing in the file went unread
};
// Reads at most maxLines lines; the first `whole` of them must stand in full
// (none cut, none missing within the read limit), else the reading is TooLarge.
Reading read(const QString &path, int maxLines, int whole);

// Replaces the list atomically with a new file, so a crash never leaves half a
// list; on any failure the old list stays as it was, byte for byte.
Fault write(const QString &path, const QStringList &lines);

QByteArray encode(const QStringList &lines, bool *ok);

} // namespace listfile
