// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/store.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

using platform::Outcome;
using platform::Test;

namespace history {

namespace {

const QString driver = QStringLiteral("QSQLITE");
// Long enough for another copy of the program to finish its write, short enough to go unnoticed.
const QString busyTimeout = QStringLiteral("QSQLITE_BUSY_TIMEOUT=100");

const QString noDriver = QStringLiteral("Qt fehlt der SQLite-Treiber, Debian-Paket libqt6sql6-sqlite");
const QString noFolder = QStringLiteral("der Ordner „%1“ lässt sich nicht anlegen");
const QString cannotOpen = QStringLiteral("die Datei „%1“ lässt sich nicht anlegen oder öffnen");
const QString locked = QStringLiteral("die Datei „%1“ ist von einem anderen Programm gesperrt");
const QString damaged = QStringLiteral("die Datei „%1“ ist beschädigt");
const QString newer = QStringLiteral("die Datei „%1“ stammt von einer neueren Fassung von Korvane");
const QString otherFailure = QStringLiteral("Fehler in der Datei „%1“: %2");

// SQLite's primary result codes that a player can do something about; the
// others (a full disc, a read-only file) are told in SQLite's own words.
enum SqliteCode : int {
    sqliteBusy = 5,
    sqliteLocked = 6,
    sqliteCorrupt = 11,
    sqliteCantOpen = 14,
    sqliteNotADatabase = 26,
};

const QString createTable = QStringLiteral("CREATE TABLE IF NOT EXISTS results ("
                                           "id INTEGER PRIMARY KEY, test TEXT NOT NULL, at TEXT NOT NULL, "
                                           "seconds REAL, points INTEGER, colours INTEGER, display_ms INTEGER, "
                                           "mode TEXT, won INTEGER, lowfactor INTEGER, factorspan INTEGER, "
                                           "sentence TEXT NOT NULL)");
const QString createIndex = QStringLiteral("CREATE INDEX IF NOT EXISTS results_by_test ON results (test, at)");
const QString insertRow
    = QStringLiteral("INSERT INTO results (test, at, seconds, points, colours, display_ms, mode, "
                     "won, lowfactor, factorspan, sentence) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
const QString selectRows = QStringLiteral("SELECT at, seconds, points, colours, display_ms, mode, won, lowfactor, "
                                          "factorspan, sentence FROM results WHERE test = ? ORDER BY at, id");
const QString deleteRows = QStringLiteral("DELETE FROM results WHERE test = ?");

// Names, not numbers, in the file: readable, and safe against a reordered enum.
QString key(Test test)
{
    switch (test) {
    case Test::Reaction:
        return QStringLiteral("reaction");
    case Test::Memory:
        return QStringLiteral("memory");
    case Test::Dexterity:
        return QStringLiteral("dexterity");
    case Test::Arithmetic:
        break;
    }
    return QStringLiteral("arithmetic");
}

} // namespace

Store::Store(const QString &path)
    : path_(path)
    , connection_(QStringLiteral("korvane-history-%1").arg(quintptr(this))) // one per store while it lives
{ }

Store::~Store()
{
    QSqlDatabase::removeDatabase(connection_);
}

QSqlDatabase Store::database() const
{
    return QSqlDatabase::database(connection_);
}

bool Store::open()
{
    if (!QSqlDatabase::isDriverAvailable(driver))
        return fail(noDriver);
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(noFolder.arg(QDir::toNativeSeparators(folder)));
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, connection_);
    db.setDatabaseName(path_);
    db.setConnectOptions(busyTimeout);
    if (!db.open())
        return fail(db.lastError());

    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return fail(query.lastError());
    const int version = query.value(0).toInt();
    if (version > schemaVersion)
        return fail(newer.arg(QDir::toNativeSeparators(path_))); // and never written
    // Readers never wait for a writer, and a commit needs no flush to the disc.
    query.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    query.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
    // A new file (version 0) gets its schema.
    return version != 0 || createSchema();
}

bool Store::createSchema()
{
    QSqlQuery query(database());
    // The write lock first, so that two copies starting together create it once.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(query.lastError());
    const QString steps[] = { createTable, createIndex, QStringLiteral("PRAGMA user_version = %1").arg(schemaVersion) };
    for (const QString &step : steps) {
        if (!query.exec(step))
            return rollBack(query.lastError());
    }
    return query.exec(QStringLiteral("COMMIT")) || rollBack(query.lastError());
}

bool Store::insert(const Outcome &outcome)
{
    QSqlDatabase db = database();
    if (!db.transaction())
        return fail(db.lastError());
    QSqlQuery query(db);
    // A damaged file may refuse the statement itself: that error says why, a later one would not.
    const bool prepared = query.prepare(insertRow);
    for (const QVariant &value :
        { QVariant(key(outcome.test)), QVariant(outcome.when.toUTC().toString(Qt::ISODateWithMs)),
            QVariant(outcome.seconds), QVariant(outcome.points), QVariant(outcome.colours), QVariant(outcome.displayMs),
            QVariant(outcome.mode), QVariant(outcome.won), QVariant(outcome.lowfactor), QVariant(outcome.factorspan),
            QVariant(outcome.sentence) })
        query.addBindValue(value);
    if (!prepared || !query.exec())
        return rollBack(query.lastError());
    return db.commit() || rollBack(db.lastError());
}

std::optional<QList<Outcome>> Store::read(Test test)
{
    QSqlQuery query(database());
    const bool prepared = query.prepare(selectRows);
    query.addBindValue(key(test));
    if (!prepared || !query.exec()) {
        fail(query.lastError());
        return std::nullopt;
    }
    QList<Outcome> outcomes;
    while (query.next()) {
        auto column = [&](int i) { return query.value(i); };
        outcomes << Outcome { test, QDateTime::fromString(column(0).toString(), Qt::ISODateWithMs),
            column(1).toDouble(), column(2).toInt(), column(3).toInt(), column(4).toInt(), column(5).toString(),
            column(6).toBool(), column(7).toInt(), column(8).toInt(), column(9).toString() };
    }
    // A damaged page may show up halfway through.
    if (query.lastError().isValid()) {
        fail(query.lastError());
        return std::nullopt;
    }
    return outcomes;
}

bool Store::clear(Test test)
{
    QSqlDatabase db = database();
    if (!db.transaction())
        return fail(db.lastError());
    QSqlQuery query(db);
    const bool prepared = query.prepare(deleteRows);
    query.addBindValue(key(test));
    if (!prepared || !query.exec())
        return rollBack(query.lastError());
    return db.commit() || rollBack(db.lastError());
}

bool Store::rollBack(const QSqlError &error)
{
    QSqlQuery(database()).exec(QStringLiteral("ROLLBACK"));
    return fail(error);
}

bool Store::fail(const QString &cause)
{
    failure_ = cause;
    return false;
}

bool Store::fail(const QSqlError &error)
{
    const QString file = QDir::toNativeSeparators(path_);
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case sqliteBusy:
    case sqliteLocked:
        return fail(locked.arg(file));
    case sqliteCorrupt:
    case sqliteNotADatabase:
        return fail(damaged.arg(file));
    case sqliteCantOpen:
        return fail(cannotOpen.arg(file));
    }
    return fail(otherFailure.arg(file, error.text()));
}

} // namespace history
