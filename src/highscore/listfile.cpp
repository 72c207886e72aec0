// SPDX-License-Identifier: GPL-3.0-or-later

#include "highscore/listfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace listfile {

namespace {
// Qt's own converters know only Unicode and Latin-1; this name goes through ICU.
constexpr const char *codePage = "windows-1252";
constexpr char lineEnd[] = "\r\n";
constexpr qsizetype chunkSize = 64 * 1024;

using Status = struct stat;

Fault kindOf(mode_t mode)
{
    if (S_ISLNK(mode))
        return Fault::Link;
    return S_ISREG(mode) ? Fault::None : Fault::NotAFile;
}

Fault faultOf(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return Fault::NoSpace;
    case EACCES:
    case EPERM:
    case EROFS:
        return Fault::FolderReadOnly;
    case EISDIR:
        return Fault::NotAFile;
    default:
        return Fault::Other;
    }
}

// Splits the bytes of a file into decoded lines as they come in, keeping at
// most one byte more of a line than the cap.
class LineCollector
{
public:
    explicit LineCollector(int maxLines)
        : maxLines_(maxLines)
    { }

    bool full() const { return lines.size() >= maxLines_; }

    // How many of the bytes went into lines; the rest lies beyond the last line wanted.
    qsizetype take(const char *data, qsizetype size)
    {
        qsizetype used = 0;
        while (used < size && !full()) {
            const auto *end = static_cast<const char *>(std::memchr(data + used, '\n', size_t(size - used)));
            const qsizetype length = end ? end - (data + used) : size - used;
            const qsizetype room = lineCap + 1 - line_.size();
            cut_ = cut_ || length > room;
            line_.append(data + used, std::min(length, room));
            used += length;
            if (!end)
                break;
            ++used;
            endLine();
        }
        return used;
    }

    // At the end of the file the last line counts, though it lacks a line end;
    // at the read limit only a line already past the cap, which is cut anyway.
    void finish(bool atEnd)
    {
        if (!full() && (atEnd ? !line_.isEmpty() : line_.size() > lineCap))
            endLine();
    }

    QStringList lines;

private:
    void endLine()
    {
        if (!cut_ && line_.endsWith('\r'))
            line_.chop(1);
        const QString text = decoder_.decode(line_);
        if (line_.size() > lineCap || !text.trimmed().isEmpty())
            lines.append(text);
        line_.clear();
        cut_ = false;
    }

    const int maxLines_;
    QByteArray line_;
    bool cut_ = false; // bytes of this line were left out
    QStringDecoder decoder_ { codePage };
};

enum class Collected { Error, Partly, Whole };

// Fills `collector` from the file, never reading more than readLimit bytes.
Collected collect(int fd, LineCollector &collector)
{
    QByteArray chunk(chunkSize, Qt::Uninitialized);
    qint64 left = readLimit;
    while (!collector.full()) {
        // At the read limit, one byte more tells whether the file ends there.
        const qint64 wanted = std::clamp<qint64>(left, 1, chunkSize);
        const ssize_t got = ::read(fd, chunk.data(), size_t(wanted));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Collected::Error;
        if (got == 0 || left == 0) {
            collector.finish(got == 0);
            return got == 0 ? Collected::Whole : Collected::Partly;
        }
        left -= got;
        if (collector.take(chunk.constData(), got) < got)
            return Collected::Partly;
    }
    char probe = 0;
    return ::read(fd, &probe, 1) == 0 ? Collected::Whole : Collected::Partly;
}

// Opens the list for reading when a regular file stands at its name, without
// following a link or waiting on a pipe.
Fault openList(const QByteArray &name, int *fd)
{
    Status status {};
    if (::lstat(name.constData(), &status) == 0 && kindOf(status.st_mode) != Fault::None)
        return kindOf(status.st_mode);
    *fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (*fd < 0)
        return errno == ELOOP ? Fault::Link : Fault::Unreadable;
    // Whatever stands there now, after the look above, is what counts.
    const Fault kind = ::fstat(*fd, &status) == 0 ? kindOf(status.st_mode) : Fault::Unreadable;
    if (kind != Fault::None)
        ::close(*fd);
    return kind;
}

// Whether the first `whole` lines stand in full: none cut, none left unread.
bool holdsWhole(const Reading &reading, int whole)
{
    if (reading.lines.size() < whole && !reading.toEnd)
        return false;
    const QStringList needed = reading.lines.mid(0, whole);
    return std::all_of(needed.begin(), needed.end(), [](const QString &line) { return line.size() <= lineCap; });
}

QString randomPart()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString part;
    for (int i = 0; i < 6; ++i)
        part += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    return part;
}

// A new file beside the list, under a name no other file has.
int createTemporary(const QString &path, QByteArray *name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = QFile::encodeName(path + temporaryMark + randomPart());
        const int fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// 0 once every byte is on the disk and the file is closed, else the error.
int fill(int fd, const QByteArray &bytes)
{
    int error = 0;
    for (qsizetype done = 0; done < bytes.size() && error == 0;) {
        const ssize_t put = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        // A write that takes nothing would be tried for ever; no room is the likely reason.
        if (put <= 0)
            error = put < 0 ? errno : ENOSPC;
        else
            done += put;
    }
    // A full disk may show only when the data must reach it.
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    return error;
}

// Whether the folder takes a new file and an existing list may be replaced: a
// rename would ignore the file's own write protection, which the player set.
Fault writability(const QString &path, bool replacing)
{
    if (::access(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), W_OK) != 0)
        return Fault::FolderReadOnly;
    if (replacing && ::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return Fault::FileReadOnly;
    return Fault::None;
}
} // namespace

bool fileexists(const QString &path)
{
    Status status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

Reading read(const QString &path, int maxLines, int whole)
{
    Reading reading;
    int fd = -1;
    // Without the code page every list would read as empty.
    reading.fault = QStringDecoder(codePage).isValid() ? openList(QFile::encodeName(path), &fd) : Fault::Unreadable;
    if (reading.fault != Fault::None)
        return reading;
    LineCollector collector(maxLines);
    const Collected collected = collect(fd, collector);
    ::close(fd);
    if (collected == Collected::Error) {
        reading.fault = Fault::Unreadable;
        return reading;
    }
    reading.lines = collector.lines;
    reading.toEnd = collected == Collected::Whole;
    if (!holdsWhole(reading, whole))
        reading.fault = Fault::TooLarge;
    return reading;
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

Fault write(const QString &path, const QStringList &lines)
{
    bool encoded = false;
    const QByteArray bytes = encode(lines, &encoded);
    if (!encoded)
        return Fault::Other;
    const QByteArray name = QFile::encodeName(path);
    Status old {};
    const bool replacing = ::lstat(name.constData(), &old) == 0;
    if (replacing && kindOf(old.st_mode) != Fault::None)
        return kindOf(old.st_mode);
    if (const Fault fault = writability(path, replacing); fault != Fault::None)
        return fault;

    QByteArray temporary;
    const int fd = createTemporary(path, &temporary);
    if (fd < 0)
        return faultOf(errno);
    if (replacing)
        ::fchmod(fd, old.st_mode & 0777);
    int error = fill(fd, bytes);
    // A rename replaces the name itself: whatever stands there now is never written through.
    if (error == 0 && ::rename(temporary.constData(), name.constData()) != 0)
        error = errno;
    if (error == 0)
        return Fault::None;
    ::unlink(temporary.constData());
    return faultOf(error);
}

} // namespace listfile
