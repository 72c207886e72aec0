// SPDX-License-Identifier: GPL-3.0-or-later

#include "highscore/listlock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <ctime>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace listlock {

namespace {
using Status = struct stat;
using Space = struct statvfs;

QByteArray nativeName(const QString &path)
{
    return QFile::encodeName(path);
}

bool folderWritable(const QString &path)
{
    return ::access(nativeName(QFileInfo(path).absolutePath()).constData(), W_OK) == 0;
}

// QLockFile does not say why it could not create its file; a full disk is the usual reason.
bool diskFull(const QString &path)
{
    Space space {};
    return ::statvfs(nativeName(QFileInfo(path).absolutePath()).constData(), &space) == 0
        && (space.f_bavail == 0 || space.f_favail == 0);
}
} // namespace

listfile::Fault take(QLockFile &lock, int waitMs)
{
    using listfile::Fault;
    Status status {};
    // QLockFile would wait in vain for a folder or a link at its name to go.
    if (::lstat(nativeName(lock.fileName()).constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return Fault::LockInTheWay;
    lock.setStaleLockTime(staleMs);
    if (lock.tryLock(waitMs))
        return Fault::None;
    switch (lock.error()) {
    case QLockFile::LockFailedError:
        // A lock left in a folder that became read-only cannot be cleared.
        return folderWritable(lock.fileName()) ? Fault::Busy : Fault::FolderReadOnly;
    case QLockFile::PermissionError:
        return Fault::FolderReadOnly;
    default:
        return diskFull(lock.fileName()) ? Fault::NoSpace : Fault::Other;
    }
}

void removeStrays(const QString &listPath)
{
    const QFileInfo list(listPath);
    const QString name = list.fileName();
    const QStringList patterns { name + listfile::temporaryMark + QStringLiteral("??????"),
        name + QStringLiteral(".lock.rmlock") };
    const QDir folder = list.absoluteDir();
    const std::time_t oldest = std::time(nullptr) - strayAgeSeconds;
    for (const QString &stray : folder.entryList(patterns, QDir::Files | QDir::Hidden | QDir::CaseSensitive)) {
        const QByteArray path = nativeName(folder.filePath(stray));
        Status status {};
        if (::lstat(path.constData(), &status) == 0 && S_ISREG(status.st_mode) && status.st_mtime < oldest)
            ::unlink(path.constData());
    }
}

} // namespace listlock
