// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "history/store.h"
#include "history/windowmodule.h"
#include "platform/services.h"

#include <QDateTime>
#include <QList>
#include <QTimer>
#include <functional>
#include <memory>

// The history service of the running program: every result into the SQLite
// file in the list folder, opened on first use. When the file fails, the
// player is told once and the results of this run are kept in memory, so
// that the "Verlauf" window still shows them.
namespace history {

class ResultHistory : public platform::History
{
public:
    static const QString fileName;

    ResultHistory(platform::Dialogs &dialogs, platform::Program &program);
    ~ResultHistory() override;

    // Called while a result is shown: any box about a failure waits until
    // the game's own box is closed, so that the game goes on undisturbed.
    void record(const platform::Outcome &outcome) override;
    void show(platform::Test test, QWidget *parent) override;

    // A test's results, oldest first: the file's, or this run's once the file failed.
    QList<platform::Outcome> outcomes(platform::Test test);
    // Deletes a test's results; a file that refuses keeps them and is told at once.
    void clear(platform::Test test);

    // The failure box, due once per run: shown as soon as no other box is open.
    void tellWhenFree();
    bool tellingDue() const { return toldTimer_.isActive(); }

    // Where show() looks for the window's module; a test points it at the build folder.
    QStringList windowFolders;
    // Now, in UTC; a test puts in a clock of its own.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTimeUtc(); };

private:
    Store *store();
    void giveUp();
    void tell();

    platform::Dialogs &dialogs_;
    platform::Program &program_;
    std::unique_ptr<Store> store_;
    MakeWindow makeWindow_ = nullptr; // the module's entry, once loaded
    QString failure_; // why the file is no longer used; empty while it works
    bool told_ = false;
    QList<platform::Outcome> session_; // this run's results, shown from here once the file failed
    QTimer toldTimer_;
};

} // namespace history
