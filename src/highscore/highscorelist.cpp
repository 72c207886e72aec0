// SPDX-License-Identifier: GPL-3.0-or-later

#include "highscore/highscorelist.h"

#include "highscore/entrylines.h"
#include "highscore/listfile.h"
#include "highscore/listlock.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QValidator>

namespace {

using listfile::Fault;

const QString anonymous = QStringLiteral("Anonymer");
const QString noListPrompt = QStringLiteral("Es ist leider noch kein Eintrag vorhanden");
const QString noListTitle = QStringLiteral("Na sowas");
const QString failureTitle = QStringLiteral("Bestenliste");
const QString unreadablePrompt = QStringLiteral("Die Bestenliste %1 kann nicht gelesen werden. ");
const QString unwritablePrompt = QStringLiteral("Die Bestenliste %1 kann nicht gespeichert werden. ");
const QString busyPrompt = QStringLiteral(
    "Die Bestenliste %1 wird gerade von einem anderen Korvane benutzt. Bitte versuchen Sie es gleich noch einmal.");
const QString folderReadOnlyCause = QStringLiteral("Bitte prüfen Sie, ob der Ordner %1 beschreibbar ist.");
const QString retryQuestion = QStringLiteral("\n\nNoch einmal versuchen?");
const QString ellipsis = QStringLiteral("…");

// The view shows this many lines at most, each cut to this many characters, so
// that no file can freeze it; the program's own lines are much shorter.
constexpr int viewMaxLines = 1000;
constexpr int viewCap = 300;

QString causeOf(Fault fault, const QString &name)
{
    switch (fault) {
    case Fault::Link:
        return QStringLiteral("An ihrer Stelle steht eine symbolische Verknüpfung. Korvane folgt keiner Verknüpfung "
                              "zu einer Bestenliste, damit niemand über sie andere Dateien überschreiben lassen kann. "
                              "Bitte legen Sie die Liste selbst an diese Stelle.");
    case Fault::NotAFile:
        return QStringLiteral("An ihrer Stelle steht keine gewöhnliche Datei, sondern ein Ordner, ein Gerät oder "
                              "etwas Ähnliches.");
    case Fault::TooLarge:
        return QStringLiteral("Ihre ersten zehn Einträge lassen sich nicht vollständig lesen, weil die Datei zu groß "
                              "ist oder zu lange Zeilen enthält.");
    case Fault::Unreadable:
        return QStringLiteral("Die Datei lässt sich nicht lesen. Bitte prüfen Sie ihre Zugriffsrechte.");
    case Fault::FileReadOnly:
        return QStringLiteral("Die Datei ist schreibgeschützt.");
    case Fault::NoSpace:
        return QStringLiteral(
            "Auf dem Datenträger ist nicht genug Platz frei. Die bisherige Liste bleibt unverändert.");
    case Fault::LockInTheWay:
        return QStringLiteral("An der Stelle ihrer Sperrdatei %1.lock steht keine gewöhnliche Datei.").arg(name);
    default:
        return QStringLiteral("Beim Zugriff auf die Datei ist ein Fehler aufgetreten. Bitte versuchen Sie es noch "
                              "einmal.");
    }
}

// The lines as the view shows them: long ones cut, and a last "…" when the file goes on.
QStringList shownLines(const listfile::Reading &reading)
{
    QStringList shown;
    for (const QString &line : reading.lines)
        shown << (line.size() > viewCap ? line.left(viewCap) + ellipsis : line);
    if (!reading.toEnd)
        shown << ellipsis;
    return shown;
}

class NameValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        const QString clean = entrylines::cleanName(input);
        if (clean != input) {
            pos = int(std::min(entrylines::cleanName(input.left(pos)).size(), clean.size()));
            input = clean; // a pasted text loses just the characters a list cannot hold
        }
        return Acceptable;
    }
};

} // namespace

HighScoreList::HighScoreList(const ListVariant &variant, platform::Services &services)
    : variant_(variant)
    , services_(services)
{ }

QString HighScoreList::path() const
{
    return QDir(services_.program.listFolder()).filePath(variant_.fileName);
}

bool HighScoreList::fileexists() const
{
    return listfile::fileexists(path());
}

void HighScoreList::showlist(QWidget *listPanel, QListWidget *List1)
{
    if (!fileexists()) {
        services_.dialogs.MsgBox(noListPrompt, platform::vbOKOnly + platform::vbExclamation, noListTitle);
        return;
    }
    const listfile::Reading reading = listfile::read(path(), viewMaxLines, 0);
    if (reading.fault != Fault::None) {
        complain(unreadablePrompt, reading.fault);
        return;
    }
    listPanel->show();
    listPanel->raise();
    List1->clear();
    List1->addItems(shownLines(reading));
}

std::optional<int> HighScoreList::checkqualification(int points)
{
    // What a save would keep must be readable whole, else the player would type a name in vain.
    const listfile::Reading reading = listfile::read(path(), variant_.room, entrylines::keptOldLines);
    if (reading.fault != Fault::None) {
        complain(unreadablePrompt, reading.fault);
        return std::nullopt;
    }
    return entrylines::earnsPlace(variant_, reading.lines, points) ? 1 : 0;
}

bool HighScoreList::saveEntry(const Result &result, QLineEdit *nameBox)
{
    if (nameBox->text().isEmpty())
        nameBox->setText(anonymous);
    const QString entry = entrylines::entryLine(variant_, result, entrylines::cleanName(nameBox->text()));
    // Whatever went wrong, the player may try again or give the entry up, never stays stuck.
    for (;;) {
        const Fault fault = trysave(entry);
        if (fault == Fault::None)
            return true;
        if (services_.dialogs.MsgBox(failurePrompt(unwritablePrompt, fault) + retryQuestion,
                platform::vbYesNo + platform::vbExclamation, failureTitle)
            != platform::vbYes)
            return false;
    }
}

Fault HighScoreList::trysave(const QString &entry)
{
    // The data folder is made by the first save, not by merely starting the program.
    if (!QDir().mkpath(services_.program.listFolder()))
        return Fault::FolderReadOnly;
    QLockFile lock(path() + QStringLiteral(".lock"));
    if (const Fault fault = listlock::take(lock, lockWaitMs_); fault != Fault::None)
        return fault;
    listlock::removeStrays(path());
    return fileexists() ? insertentry(entry) : writefirstentry(entry);
}

Fault HighScoreList::writefirstentry(const QString &entry)
{
    return listfile::write(path(), { entry });
}

Fault HighScoreList::insertentry(const QString &entry)
{
    // A save keeps the first ten lines, so only they are read, and only in full.
    const int kept = entrylines::keptOldLines;
    const listfile::Reading reading = listfile::read(path(), kept, kept);
    if (reading.fault != Fault::None)
        return reading.fault;
    return listfile::write(path(), entrylines::withEntry(reading.lines, entry));
}

QString HighScoreList::failurePrompt(const QString &prompt, Fault fault) const
{
    const QString name = variant_.fileName;
    if (fault == Fault::Busy)
        return busyPrompt.arg(name);
    if (fault == Fault::FolderReadOnly)
        return prompt.arg(name) + folderReadOnlyCause.arg(QDir::toNativeSeparators(services_.program.listFolder()));
    return prompt.arg(name) + causeOf(fault, name);
}

void HighScoreList::complain(const QString &prompt, Fault fault)
{
    services_.dialogs.MsgBox(failurePrompt(prompt, fault), platform::vbOKOnly + platform::vbExclamation, failureTitle);
}

void HighScoreList::prepareNameBox(QLineEdit *nameBox)
{
    nameBox->setValidator(new NameValidator(nameBox));
}
