// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakeservices.h"
#include "highscore/entrylines.h"
#include "highscore/highscorelist.h"

#include <QTest>
#include <QtWidgets>

#include <cerrno>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace entrylines;
using namespace Qt::StringLiterals;

namespace {

// Lines whose keys are the given points, named after their place.
QStringList linesWithKeys(const QList<int> &keys)
{
    QStringList lines;
    for (int i = 0; i < keys.size(); ++i)
        lines << entryLine(lists::arithmetic, { keys[i], 0, {} }, u"Spieler%1"_s.arg(i + 1));
    return lines;
}

const ListVariant *const variants[] = { &lists::memory, &lists::dexterity, &lists::arithmetic };
// Built when used: the separators of entry lines are made only after this file's constants.
const auto tenLines = [] {
    return linesWithKeys({ 90, 80, 70, 60, 50, 40, 30, 20, 10, 5 }).join("\r\n").toLatin1() + "\r\n";
};

// As much of a file as a test compares, and nothing from a pipe, which would block.
QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.read(1 << 20) : QByteArray();
}

// Writes the bytes, then grows the file to `size` with a hole: gigabytes at once.
bool writeBytes(const QString &path, const QByteArray &bytes, qint64 size = 0, int age = 0)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size()
        && (size == 0 || file.resize(size))
        && file.setFileTime(QDateTime::currentDateTime().addSecs(-age), QFileDevice::FileModificationTime);
}

// Mounts a small file system as the list folder, with the list in it, and fills
// it up to `left` bytes.
bool fillSmallDisk(const QDir &d, qint64 left)
{
    if (::mount("tmpfs", QFile::encodeName(d.path()), "tmpfs", 0, "size=64k") != 0
        || !writeBytes(d.filePath("notes.txt"), "Notizen\n") || !writeBytes(d.filePath("best.lst"), tenLines()))
        return false;
    QFile filler(d.filePath("filler"));
    filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    while (filler.write(QByteArray(4096, 'f')) == 4096) { }
    return filler.resize(filler.size() - left);
}

// Faults no real file shows on demand: our code's write, fsync and close are
// linked to these (-Wl,--wrap), which pass every call on unless a test arms a fault.
enum class Armed { Nothing, WriteTakesNothing, SyncFails, CloseFails } armed = Armed::Nothing;
int lastWritten = -1;
const auto arm = [](Armed fault) { return armed = fault, true; };

} // namespace

extern "C" ssize_t __real_write(int fd, const void *buffer, size_t count);
extern "C" int __real_fsync(int fd);
extern "C" int __real_close(int fd);

extern "C" ssize_t __wrap_write(int fd, const void *buffer, size_t count)
{
    static int tries = 0;
    lastWritten = fd;
    if (armed != Armed::WriteTakesNothing)
        return __real_write(fd, buffer, count);
    // A call that works leaves errno as it was, here an EINTR from before. Code that retried for ever would hang:
    // every 500th try fails instead, which the test sees.
    errno = ++tries % 500 != 0 ? EINTR : EIO;
    return errno == EINTR ? 0 : -1;
}

extern "C" int __wrap_fsync(int fd)
{
    return armed == Armed::SyncFails ? (errno = ENOSPC, -1) : __real_fsync(fd);
}

extern "C" int __wrap_close(int fd)
{
    const int closed = __real_close(fd);
    return armed == Armed::CloseFails && fd == lastWritten ? (errno = EIO, -1) : closed;
}

namespace {

// Puts something in the way of a save in the list folder, maybe taking the lock
// as another copy would; false where this machine does not allow it (mounting
// needs root).
using Setup = bool (*)(const QDir &folder, QLockFile &otherCopy);

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestHighScore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Where allowed, the mounts of these tests stay private to this process and end with it.
        if (::unshare(CLONE_NEWNS) == 0)
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    }

    // Who earns a place, and where the new line goes: above the first old line it
    // does not rank below, among at most ten old lines.
    void ranking_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("earns");
        QTest::addColumn<int>("newAt"); // -1: not written
        const QList<int> nine(9, 50), ten(10, 50), falling { 100, 90, 80, 70, 60, 50, 40, 30, 20, 10, 5 };
        QTest::newRow("below zero ranks by its key") << 2 << QList<int> { 30, -20 } << -10 << true << 1;
        QTest::newRow("memory: 9 lines refuse the lowest") << 0 << nine << 1 << false << 9;
        QTest::newRow("arithmetic: 9 lines take the lowest") << 2 << nine << 1 << true << 9;
        QTest::newRow("tie does not qualify, goes above the older") << 0 << nine << 50 << false << 0;
        QTest::newRow("dexterity: 10 lines, lowest would not be written") << 1 << ten << 1 << false << -1;
        QTest::newRow("dexterity: 10 lines, tie is written") << 1 << ten << 50 << true << 0;
        QTest::newRow("11 lines, beating only the 11th") << 2 << falling << 6 << false << -1;
        QTest::newRow("11 lines, the 11th drops out") << 2 << falling << 15 << true << 9;
        // Only the first three or four characters would rank 123 as 12 and 1000 as 100.
        QTest::newRow("whole numbers rank") << 2 << QList<int> { 1000, 123 } << 124 << true << 1;
    }
    void ranking()
    {
        QFETCH(int, list);
        QFETCH(QList<int>, keys);
        QFETCH(int, points);
        QFETCH(int, newAt);
        const QStringList lines = linesWithKeys(keys);
        QTEST(earnsPlace(*variants[list], lines, points), "earns");
        const QString entry = entryLine(lists::arithmetic, { points, 0, {} }, u"Neu"_s);
        const QStringList kept = lines.mid(0, 10); // and the new line among them at newAt
        QCOMPARE(withEntry(lines, entry), newAt < 0 ? kept : kept.mid(0, newAt) << entry << kept.mid(newAt));
    }

    void showlistShowsTheFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("shown");
        QStringList many;
        for (int i = 1; i <= 1001; ++i)
            many << QString::number(i);
        QTest::newRow("as stored, any line end, no blank lines")
            << QByteArray("\r\n 185  Punkte f\xFCr  Gast --- 15 x\r\n  \n\r\n-50  Punkte f\xFCr  Zo\xEB \x80")
            << QStringList { u" 185  Punkte für  Gast --- 15 x"_s, u"-50  Punkte für  Zoë €"_s };
        QTest::newRow("1000 lines") << many.mid(0, 1000).join("\n").toLatin1() << many.mid(0, 1000);
        QTest::newRow("not more") << many.join("\n").toLatin1() << (many.mid(0, 1000) << u"…"_s);
        // Long lines up to the read limit, where the one begun is left unseen, though 4096 characters of it were read.
        const QByteArray lines = QByteArray(300, 'x') + '\n' + QByteArray(7858, 'x') + '\n';
        QTest::newRow("300 characters shown, longer lines cut, 1 MB read")
            << lines + (QByteArray(4079, 'x') + '\n').repeated(254) + QByteArray(5000, 'x')
            << (QStringList { QString(300, 'x') } << QStringList(255, QString(300, 'x') + "…") << "…");
    }
    void showlistShowsTheFile()
    {
        QFETCH(QByteArray, bytes);
        FakeServices fake;
        HighScoreList list(lists::arithmetic, fake.services);
        QVERIFY(writeBytes(list.path(), bytes));
        QListWidget List1; // standing in for its panel too
        List1.addItem(u"alt"_s);
        errno = EINTR; // left over from an earlier call, which must not count as this read's
        list.showlist(&List1, &List1);
        QVERIFY(!List1.isHidden());
        QStringList rows;
        for (int i = 0; i < List1.count(); ++i)
            rows << List1.item(i)->text();
        QTEST(rows, "shown");
    }

    // Every save starts among the leftovers of crashed saves: a lock (empty, or of
    // a process that is gone) and temporary files; this program's own go once a
    // minute old. The name is typed or pasted into a prepared name box.
    void savingWritesTheFile_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QByteArray>("before"); // null: no file yet; else grown to 1 GB
        QTest::addColumn<QByteArray>("lock"); // the empty one is old enough to be stale
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("first entry, a name as the code page holds it")
            << 1 << QByteArray() << QByteArray("2147483646\nkorvane\n\n") << u"Zoë\r\n\t→✓😀\uFFFD €"_s
            << QByteArray(" 55  Punkte f\xFCr  Zo\xEB \x80 ---  15 Sekunden ben\xF6tigt im Modus normal\r\n");
        // As ever with long lists: the first ten lines stay, with the new one among them; a kept
        // line may be as long as the cap, a name 100 characters.
        const QByteArray atCap = " 9  " + QByteArray(listfile::lineCap - 4, 'x') + "\r\n";
        const qsizetype eleventh = tenLines().indexOf(" 5  ");
        QByteArray after = tenLines().left(eleventh) + atCap;
        after.insert(after.indexOf(" 50"), " 55  Punkte f\xFCr  " + QByteArray(100, 'n') + "\r\n");
        QTest::newRow("a 1 GB list keeps its first ten lines")
            << 2 << tenLines().insert(eleventh, atCap) << QByteArray("") << QString(150, 'n') << after;
    }
    void savingWritesTheFile()
    {
        QFETCH(int, list);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, lock);
        QFETCH(QString, typed);
        FakeServices fake;
        HighScoreList highScores(*variants[list], fake.services);
        highScores.setLockWait(0);
        const QDir folder(fake.program.dir);
        const QString name = variants[list]->fileName;
        for (const QString &stray : { name + ".korvane-Ab3dEf", name + ".lock.rmlock", name + ".backup" })
            QVERIFY(writeBytes(folder.filePath(stray), "x", 0, 120));
        QVERIFY(writeBytes(folder.filePath(name + ".korvane-fresh1"), "x"));
        QVERIFY(lock.isNull() || writeBytes(highScores.path() + ".lock", lock, 0, lock.isEmpty() ? 5 : 0));
        QVERIFY(before.isNull() || writeBytes(highScores.path(), before, 1LL << 30));
        const int input = ::dup(0); // started without standard input, the program may read a list as descriptor 0
        ::close(0);
        QVERIFY(before.isNull() || highScores.checkqualification(55) == 1);
        ::dup2(input, 0), ::close(input);

        QLineEdit nameBox;
        HighScoreList::prepareNameBox(&nameBox);
        nameBox.insert(typed); // as keys or a paste arrive
        QVERIFY(highScores.saveEntry({ 55, 15, u"normal"_s }, &nameBox));
        QTEST(readBytes(highScores.path()), "after");
        QCOMPARE(nameBox.text(), cleanName(typed)); // shown, never cleared
        QVERIFY(fake.dialogs.shown.isEmpty());
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList({ name, name + ".backup", name + ".korvane-fresh1" }));
    }

    void refusedSaveChangesNothing_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("cause");
        const QString full = u"gespeichert werden. Auf dem Datenträger ist nicht genug Platz frei."_s;
        QTest::newRow("pipe at the list's name") << Setup([](auto &d, auto &) {
            const QString path = d.filePath("best.lst");
            return QFile::remove(path) && ::mkfifo(QFile::encodeName(path), 0600) == 0;
        }) << false << u"An ihrer Stelle steht keine gewöhnliche Datei, sondern ein Ordner"_s;
        QTest::newRow("link to the player's file") << Setup([](auto &d, auto &) {
            const QString path = d.filePath("best.lst");
            return QFile::remove(path) && QFile::link("notes.txt", path);
        }) << false << u"An ihrer Stelle steht eine symbolische Verknüpfung. Korvane folgt keiner"_s;
        // Cut just after a CR, which is no line end there.
        QTest::newRow("a line beyond the cap") << Setup([](auto &d, auto &) {
            return writeBytes(d.filePath("best.lst"), QByteArray(listfile::lineCap, 'x') + "\ry\n");
        }) << false << u"Ihre ersten zehn Einträge lassen sich nicht"_s;
        QTest::newRow("a folder as the lock") << Setup([](auto &d, auto &) { return d.mkdir("best.lst.lock"); }) << true
                                              << u"Sperrdatei best.lst.lock steht keine gewöhnliche Datei."_s;
        QTest::newRow("another copy saving") << Setup([](auto &, auto &otherCopy) { return otherCopy.tryLock(0); })
                                             << true << u"best.lst wird gerade von einem anderen Korvane benutzt."_s;
        // One page left takes the lock, and the list's write fails; none fails the lock.
        QTest::newRow("one page left") << Setup([](auto &d, auto &) { return fillSmallDisk(d, 4096); }) << true << full;
        QTest::newRow("disk full") << Setup([](auto &d, auto &) { return fillSmallDisk(d, 0); }) << true << full;
        QTest::newRow("a write takes nothing")
            << Setup([](auto &, auto &) { return arm(Armed::WriteTakesNothing); }) << true << full;
        QTest::newRow("full at the sync")
            << Setup([](auto &, auto &) { return arm(Armed::SyncFails); }) << true << full;
        QTest::newRow("closing fails") << Setup([](auto &, auto &) { return arm(Armed::CloseFails); }) << true
                                       << u"Beim Zugriff auf die Datei ist ein Fehler aufgetreten."_s;
        QTest::newRow("read-only list") << Setup([](auto &d, auto &) {
            // Read-only even for root: mounted over itself, read-only.
            const QByteArray name = QFile::encodeName(d.filePath("best.lst"));
            ::chmod(name, 0444);
            return ::access(name, W_OK) != 0
                || (::mount(name, name, nullptr, MS_BIND, nullptr) == 0
                    && ::mount(nullptr, name, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0);
        }) << true << u"gespeichert werden. Die Datei ist schreibgeschützt."_s;
    }
    // Tried once more in vain, then given up; the player learns why each time.
    void refusedSaveChangesNothing()
    {
        QFETCH(Setup, setup);
        FakeServices fake;
        const QDir folder(fake.program.dir);
        HighScoreList list(lists::memory, fake.services);
        list.setLockWait(0);
        const auto undo = qScopeGuard([&] {
            armed = Armed::Nothing;
            ::umount2(QFile::encodeName(folder.filePath("best.lst")), MNT_DETACH);
            ::umount2(QFile::encodeName(folder.path()), MNT_DETACH);
        });
        QVERIFY(writeBytes(folder.filePath("notes.txt"), "Notizen\n")
            && writeBytes(folder.filePath("best.lst"), tenLines()));
        QLockFile otherCopy(folder.filePath("best.lst.lock"));
        if (!setup(folder, otherCopy))
            QSKIP("This machine does not allow the obstacle");
        const auto state = [&] {
            return QStringList { readBytes(folder.filePath("notes.txt")), readBytes(folder.filePath("best.lst")),
                QString::number(QFileInfo(folder.filePath("best.lst")).size()) }
            + folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        };
        const QStringList before = state();

        // Reading, qualifying and saving follow one rule.
        QFETCH(bool, readable);
        QCOMPARE(list.checkqualification(95), readable ? std::optional(1) : std::nullopt);
        fake.dialogs.answers = { platform::vbYes, platform::vbNo };
        QLineEdit name(u"C"_s);
        QVERIFY(!list.saveEntry({ 95, 0, {} }, &name));
        QCOMPARE(fake.dialogs.shown.size(), readable ? 2 : 3);
        QFETCH(QString, cause);
        for (const ShownBox &box : fake.dialogs.shown)
            QVERIFY2(box.title == "Bestenliste" && box.prompt.contains(cause), qPrintable(box.prompt));
        QCOMPARE(fake.dialogs.shown.last().buttons, platform::vbYesNo + platform::vbExclamation);
        QVERIFY(fake.dialogs.shown.last().prompt.endsWith(u"\n\nNoch einmal versuchen?"_s));
        QCOMPARE(state(), before);
    }

    // The per-user list folder is made by the first save, not by looking; what
    // stands in its way is named, and the player may clear it and try again.
    void listFolderIsMadeByTheFirstSave()
    {
        FakeServices fake;
        const QString share = fake.program.temporary.filePath(u"share"_s);
        fake.program.dir = share + u"/korvane"_s;
        HighScoreList list(lists::memory, fake.services);
        list.showlist(nullptr, nullptr); // no list yet: says so, shows nothing
        QVERIFY(!QFileInfo::exists(fake.program.dir));
        QVERIFY(writeBytes(share, "x"));
        fake.dialogs.answers = { platform::vbYes };
        fake.dialogs.whileOpen = [&] { QFile::remove(share); };
        QLineEdit name;
        QVERIFY(list.saveEntry({ 4, 0, {} }, &name));
        QCOMPARE(readBytes(fake.program.dir + u"/best.lst"_s), QByteArray(" 4  Punkte f\xFCr  Anonymer\r\n"));
        const ShownBox none = fake.dialogs.shown.value(0); // and the name box shows what was saved
        QCOMPARE(std::tuple(int(fake.dialogs.shown.size()), none.title, none.prompt, none.buttons, name.text()),
            std::tuple(2, u"Na sowas"_s, u"Es ist leider noch kein Eintrag vorhanden"_s, 48, u"Anonymer"_s));
        QCOMPARE(fake.dialogs.shown.value(1).prompt,
            u"Die Bestenliste best.lst kann nicht gespeichert werden. Bitte prüfen Sie, ob der Ordner %1 "
            "beschreibbar ist.\n\nNoch einmal versuchen?"_s.arg(fake.program.dir));
    }
};

QTEST_MAIN(TestHighScore)
#include "tst_highscore.moc"
