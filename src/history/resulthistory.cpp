#include "history/resulthistory.h"

#include "history/historydialog.h"

#include <QApplication>
#include <QDir>
#include <algorithm>

using platform::Outcome;
using platform::Test;

namespace history {

const QString ResultHistory::fileName = QStringLiteral("korvane.sqlite");

namespace {

const QString failureTitle = QStringLiteral("Verlauf");
const QString failurePrompt = QStringLiteral("Der Verlauf kann nicht gespeichert werden (%1). Ihre Ergebnisse werden "
                                             "in dieser Sitzung weiter angezeigt, aber nicht aufbewahrt.");
const QString notClearedPrompt = QStringLiteral("Der Verlauf kann nicht gelöscht werden (%1). Ihre Ergebnisse werden "
                                                "in dieser Sitzung weiter angezeigt, aber nicht aufbewahrt.");
// How often a due failure box looks whether the game's own box has closed.
constexpr int retellMs = 250;

} // namespace

ResultHistory::ResultHistory(platform::Dialogs &dialogs, platform::Program &program)
    : dialogs_(dialogs)
    , program_(program)
{
    toldTimer_.setInterval(retellMs);
    QObject::connect(&toldTimer_, &QTimer::timeout, [this] { tellWhenFree(); });
}

ResultHistory::~ResultHistory() = default;

void ResultHistory::record(const Outcome &outcome)
{
    Kept kept { outcome, false };
    kept.outcome.when = clock();
    if (Store *file = store()) {
        kept.stored = file->insert(kept.outcome);
        if (!kept.stored)
            giveUp();
    }
    session_ << kept;
    if (!failure_.isEmpty() && !told_)
        toldTimer_.start();
}

void ResultHistory::show(Test test, QWidget *parent)
{
    HistoryDialog dialog(test, *this, dialogs_, parent);
    tell(); // a failure met while reading, before the window opens
    dialog.exec();
}

QList<Outcome> ResultHistory::outcomes(Test test)
{
    std::optional<QList<Outcome>> stored;
    if (Store *file = store()) {
        stored = file->read(test);
        if (!stored)
            giveUp();
    }
    // Once the file failed, everything of this run comes from memory.
    QList<Outcome> all = stored.value_or(QList<Outcome>());
    for (const Kept &kept : std::as_const(session_)) {
        if (kept.outcome.test == test && !(stored && kept.stored))
            all << kept.outcome;
    }
    std::stable_sort(all.begin(), all.end(), [](const Outcome &a, const Outcome &b) { return a.when < b.when; });
    return all;
}

void ResultHistory::clear(Test test)
{
    Store *file = store();
    if (file && !file->clear(test)) {
        giveUp();
        told_ = true; // this box says it all
        dialogs_.MsgBox(notClearedPrompt.arg(failure_), platform::vbOKOnly | platform::vbExclamation, failureTitle);
        return;
    }
    session_.removeIf([test](const Kept &kept) { return kept.outcome.test == test; });
}

Store *ResultHistory::store()
{
    if (!store_ && failure_.isEmpty()) {
        store_ = std::make_unique<Store>(QDir(program_.applicationDir()).filePath(fileName));
        if (!store_->open())
            giveUp();
    }
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
    dialogs_.MsgBox(failurePrompt.arg(failure_), platform::vbOKOnly | platform::vbExclamation, failureTitle);
}

} // namespace history
