// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/services.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

class QSqlError;

// The results in one SQLite file: a versioned schema, every change in a
// transaction, a short busy timeout so that a locked file fails at once
// instead of freezing the game, and a file from a newer program left alone.
namespace history {

class Store
{
public:
    static constexpr int schemaVersion = 1;

    explicit Store(const QString &path);
    ~Store();
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    // Each answers whether it worked; failure() then says why, in German.
    bool open();
    bool insert(const platform::Outcome &outcome);
    std::optional<QList<platform::Outcome>> read(platform::Test test);
    bool clear(platform::Test test);

    QString failure() const { return failure_; }

private:
    QSqlDatabase database() const; // the open connection, looked up by its name
    bool createSchema();
    bool fail(const QString &cause);
    bool fail(const QSqlError &error);
    bool rollBack(const QSqlError &error);

    QString path_;
    QString connection_; // a handle on it kept here would have to go before the connection
    QString failure_;
};

} // namespace history
