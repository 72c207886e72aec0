// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/fittingcache.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <cmath>

namespace platform {

namespace {

const QByteArray heading = QByteArrayLiteral("korvane fitting ");
// A window has a few dozen texts; only the points sentences differ from game
// to game. More sizes than this, and the cache starts afresh.
constexpr qsizetype mostSizes = 500;
constexpr qint64 largestFile = 64 * 1024;

FittingCache *cacheInUse = nullptr;

QByteArray key(const QString &measure)
{
    return QCryptographicHash::hash(measure.toUtf8(), QCryptographicHash::Sha1).toHex();
}

} // namespace

FittingCache::FittingCache(QString file, QByteArray environment)
    : file_(std::move(file))
    , environment_(std::move(environment))
{
    QFile stored(file_);
    if (!stored.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> lines = stored.read(largestFile).split('\n');
    if (lines.first() != heading + environment_)
        return;
    for (const QByteArray &line : lines.mid(1)) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() != 2)
            continue;
        bool number = false;
        const double size = fields[1].toDouble(&number);
        if (number)
            sizes_.insert(fields[0], size);
    }
}

std::optional<double> FittingCache::find(const QString &measure, double designSize) const
{
    const auto found = sizes_.constFind(key(measure));
    if (found == sizes_.constEnd())
        return std::nullopt;
    // Not a number, too small, too large or between the steps: written by something else.
    const double steps = (designSize - *found) / fittingStep;
    if (*found < smallestFittedSize || steps < 0 || steps != std::round(steps))
        return std::nullopt;
    return *found;
}

void FittingCache::remember(const QString &measure, double pointSize)
{
    const QByteArray measureKey = key(measure);
    if (sizes_.value(measureKey) == pointSize)
        return;
    if (sizes_.size() >= mostSizes)
        sizes_.clear();
    sizes_.insert(measureKey, pointSize);
    changed_ = true;
}

void FittingCache::save()
{
    if (!changed_)
        return;
    QDir().mkpath(QFileInfo(file_).absolutePath());
    QSaveFile file(file_);
    if (!file.open(QIODevice::WriteOnly))
        return;
    QByteArray text = heading + environment_ + '\n';
    for (auto size = sizes_.constBegin(); size != sizes_.constEnd(); ++size)
        text += size.key() + ' ' + QByteArray::number(*size) + '\n';
    file.write(text);
    if (file.commit())
        changed_ = false;
}

FittingCache *FittingCache::inUse()
{
    return cacheInUse;
}

void FittingCache::use(FittingCache *cache)
{
    cacheInUse = cache;
}

QByteArray fittingEnvironment()
{
    QByteArray environment = qVersion() + QByteArrayLiteral(" ") + QApplication::style()->name().toUtf8();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        environment += ' ' + QByteArray::number(screen->logicalDotsPerInchY()) + ' '
            + QByteArray::number(screen->devicePixelRatio());
    // Installing, updating or configuring fonts changes one of these folders:
    // fontconfig's settings and its caches, the system's and the user's.
    const QString folders[] = { QStringLiteral("/etc/fonts/conf.d"), QStringLiteral("/var/cache/fontconfig"),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/fontconfig"),
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/fontconfig") };
    for (const QString &folder : folders) {
        const QFileInfo info(folder);
        environment += ' ' + QByteArray::number(info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1);
    }
    return QCryptographicHash::hash(environment, QCryptographicHash::Sha1).toHex();
}

} // namespace platform
