#include "highscore/highscorelist.h"

#include "highscore/entrylines.h"
#include "highscore/listfile.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QValidator>

namespace {

const QString anonymous = QStringLiteral("Anonymer");
const QString noListPrompt = QStringLiteral("Es ist leider noch kein Eintrag vorhanden");
const QString noListTitle = QStringLiteral("Na sowas");
const QString failureTitle = QStringLiteral("Bestenliste");
const QString unreadablePrompt = QStringLiteral("Die Bestenliste %1 kann nicht gelesen werden.");
const QString unwritablePrompt
    = QStringLiteral("Die Bestenliste %1 kann nicht gespeichert werden. Bitte prüfen Sie, ob der Ordner des Programms "
                     "beschreibbar ist, und versuchen Sie es noch einmal.");
const QString busyPrompt = QStringLiteral(
    "Die Bestenliste %1 wird gerade von einem anderen Korvane benutzt. Bitte versuchen Sie es gleich noch einmal.");

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
    return QDir(services_.program.applicationDir()).filePath(variant_.fileName);
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
    const listfile::Reading reading = listfile::read(path(), variant_.room);
    if (!reading.ok) {
        complain(unreadablePrompt);
        return;
    }
    listPanel->show();
    listPanel->raise();
    List1->clear();
    List1->addItems(reading.lines);
}

int HighScoreList::checkqualification(int points)
{
    const listfile::Reading reading = listfile::read(path(), variant_.room);
    if (!reading.ok) {
        complain(unreadablePrompt);
        return 0;
    }
    return entrylines::earnsPlace(variant_, reading.lines, points) ? 1 : 0;
}

bool HighScoreList::saveEntry(const Result &result, QLineEdit *nameBox)
{
    QLockFile lock(path() + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWaitMs_)) {
        complain(lock.error() == QLockFile::LockFailedError ? busyPrompt : unwritablePrompt);
        return false;
    }
    if (nameBox->text().isEmpty())
        nameBox->setText(anonymous);
    const QString entry = entrylines::entryLine(variant_, result, entrylines::cleanName(nameBox->text()));
    return fileexists() ? insertentry(entry) : writefirstentry(entry);
}

bool HighScoreList::writefirstentry(const QString &entry)
{
    if (!listfile::write(path(), { entry })) {
        complain(unwritablePrompt);
        return false;
    }
    return true;
}

bool HighScoreList::insertentry(const QString &entry)
{
    const listfile::Reading reading = listfile::read(path(), variant_.room);
    if (!reading.ok) {
        complain(unreadablePrompt);
        return false;
    }
    if (!listfile::write(path(), entrylines::withEntry(reading.lines, entry))) {
        complain(unwritablePrompt);
        return false;
    }
    return true;
}

void HighScoreList::complain(const QString &prompt)
{
    services_.dialogs.MsgBox(prompt.arg(variant_.fileName), platform::vbOKOnly + platform::vbExclamation, failureTitle);
}

void HighScoreList::prepareNameBox(QLineEdit *nameBox)
{
    nameBox->setValidator(new NameValidator(nameBox));
}
