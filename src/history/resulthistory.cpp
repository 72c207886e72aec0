// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/resulthistory.h"

#include "history/windowmodule.h"

#include <QApplication>
#include <QDialog>
#include <QDir>

using platform::Outcome;
using platform::Test;

namespace history {

const QString ResultHistory::fileName = QStringLiteral("korvane.sqlite");

namespace {

const QString boxTitle = QStringLiteral("Verlauf");
const QString failurePrompt = QStringLiteral("Der Verlauf kann nicht gespeichert werden (%1). Ihre Ergebnisse werden "
                                             "in dieser Sitzung weiter angezeigt, aber nicht aufbewahrt.");
const QString notClearedPrompt = QStringLiteral("Der Verlauf kann nicht gelöscht werden (%1).");
const QString noWindowPrompt = QStringLiteral("Das Fenster „Verlauf“ kann nicht geöffnet werden: %1");
// How often a due failure box looks whether the game's own box has closed.
constexpr int retellMs = 250;

} // namespace

ResultHistory::ResultHistory(platform::Dialogs &dialogs, platform::Program &program)
    : windowFolders(windowModuleFolders())
    , dialogs_(dialogs)
    , program_(program)
{
    toldTimer_.setInterval(retellMs);
    QObject::connect(&toldTimer_, &QTimer::timeout, [this] { tellWhenFree(); });
}

ResultHistory::~ResultHistory() = default;

void ResultHistory::record(const Outcome &outcome)
{
    Outcome stamped = outcome;
    stamped.when = clock();
    Store *file = store();
    const bool stored = file && file->insert(stamped);
    if (file && !stored)
        giveUp();
    session_ << stamped;
    if (!failure_.isEmpty() && !told_)
        toldTimer_.start();
}

void ResultHistory::show(Test test, QWidget *parent)
{
    QString error;
    if (!makeWindow_)
        makeWindow_ = loadWindowModule(windowFolders, &error);
    if (!makeWindow_) {
        dialogs_.MsgBox(noWindowPrompt.arg(error), platform::vbOKOnly | platform::vbExclamation, boxTitle);
        return;
    }
    const std::unique_ptr<QDialog> window(makeWindow_(test, *this, dialogs_, parent));
    tell(); // a failure met while reading, before the window opens
    window->exec();
}

QList<Outcome> ResultHistory::outcomes(Test test)
{
    std::optional<QList<Outcome>> stored;
    if (Store *file = store()) {
        stored = file->read(test);
        if (!stored)
            giveUp();
    }
    // While the file works it holds every result; once it failed, this run's come from memory.
    if (stored)
        return *stored;
    QList<Outcome> kept;
    for (const Outcome &outcome : std::as_const(session_)) {
        if (outcome.test == test)
            kept << outcome;
    }
    return kept;
}

void ResultHistory::clear(Test test)
{
    // A file that refuses keeps everything, and the player, who asked, is told at once.
    Store *file = store();
    if (file && !file->clear(test)) {
        dialogs_.MsgBox(notClearedPrompt.arg(file->failure()), platform::vbOKOnly | platform::vbExclamation, boxTitle);
        return;
    }
    session_.removeIf([test](const Outcome &outcome) { return outcome.test == test; });
}

Store *ResultHistory::store()
{
    if (store_ || !failure_.isEmpty())
        return store_.get();
    store_ = std::make_unique<Store>(QDir(program_.listFolder()).filePath(fileName));
    if (!store_->open())
        giveUp();
    return store_.get();
}

void ResultHistory::giveUp()
{
    failure_ = store_->failure();
    store_.reset(); // closes the file: nothing more is read or written this run
}

void ResultHistory::tellWhenFree()
{
    if (!QApplication::activeModalWidget())
        tell();
}

void ResultHistory::tell()
{
    if (failure_.isEmpty() || told_)
        return;
    told_ = true;
    toldTimer_.stop();
    dialogs_.MsgBox(failurePrompt.arg(failure_), platform::vbOKOnly | platform::vbExclamation, boxTitle);
}

} // namespace history
