#include "fakeservices.h"
#include "highscore/entrylines.h"
#include "highscore/highscorelist.h"

#include <QDateTime>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QScopeGuard>
#include <QTest>

#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
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

QList<int> keysOf(const QStringList &lines)
{
    QList<int> keys;
    for (const QString &line : lines)
        keys << int(scoreKey(line));
    return keys;
}

const ListVariant *const variants[] = { &lists::memory, &lists::dexterity, &lists::arithmetic };
const QByteArray tenLines = linesWithKeys({ 90, 80, 70, 60, 50, 40, 30, 20, 10, 5 }).join("\r\n").toLatin1() + "\r\n";

// As much of a file as a test compares, and nothing from a pipe, which would block.
QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.read(1 << 20) : QByteArray();
}

// Writes the bytes, then grows the file to `size` with a hole: gigabytes at once.
const char *writeBytes(const QString &path, const QByteArray &bytes, qint64 size = 0, int age = 0)
{
    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size()
        && (size == 0 || file.resize(size))
        && file.setFileTime(QDateTime::currentDateTime().addSecs(-age), QFileDevice::FileModificationTime);
    return written ? nullptr : "cannot write";
}

// A folder or file made read-only even for root: mounted over itself, read-only.
bool mountReadOnly(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    return ::access(name, W_OK) != 0
        || (::mount(name, name, nullptr, MS_BIND, nullptr) == 0
            && ::mount(nullptr, name, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0);
}

// Mounts a small file system as the list folder, with the list in it, and fills
// it up to `left` bytes.
const char *fillSmallDisk(const QDir &d, qint64 left)
{
    if (::mount("tmpfs", QFile::encodeName(d.path()), "tmpfs", 0, "size=64k") != 0)
        return "mounting a small file system is not allowed here";
    writeBytes(d.filePath("notes.txt"), "Notizen\n");
    writeBytes(d.filePath("best.lst"), tenLines);
    QFile filler(d.filePath("filler"));
    filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    while (filler.write(QByteArray(4096, 'f')) == 4096) { }
    return filler.resize(filler.size() - left) ? nullptr : "cannot free room";
}

// Puts something in the way of a save in the list folder, maybe taking the lock
// as another copy would; answers why it cannot, or nullptr.
using Setup = const char *(*)(const QDir &folder, QLockFile &otherCopy);

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
        std::signal(SIGXFSZ, SIG_IGN); // a write beyond the file size limit fails instead of ending us
    }

    void qualification_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("earns");
        const QList<int> nine(9, 50);
        const QList<int> ten(10, 50);
        const QList<int> elevenWithLowLast = QList<int>(ten) << 5;
        QTest::newRow("empty list takes anything") << 0 << QList<int> {} << -7 << true;
        QTest::newRow("memory: 8 lines take the lowest") << 0 << QList<int>(8, 50) << 1 << true;
        QTest::newRow("memory: 9 lines refuse the lowest") << 0 << nine << 1 << false;
        QTest::newRow("arithmetic: 9 lines take the lowest") << 2 << nine << 1 << true;
        QTest::newRow("tie does not qualify") << 0 << nine << 50 << false;
        QTest::newRow("beating one line qualifies") << 0 << nine << 51 << true;
        QTest::newRow("dexterity: 10 lines, lowest would not be written") << 1 << ten << 1 << false;
        QTest::newRow("dexterity: 10 lines, tie is written") << 1 << ten << 50 << true;
        QTest::newRow("11 lines, beating only the 11th") << 2 << elevenWithLowLast << 6 << false;
        QTest::newRow("11 lines, reaching the 10th") << 2 << elevenWithLowLast << 51 << true;
    }
    void qualification()
    {
        QFETCH(int, list);
        QFETCH(QList<int>, keys);
        QFETCH(int, points);
        QFETCH(bool, earns);
        QCOMPARE(earnsPlace(*variants[list], linesWithKeys(keys), points), earns);
    }

    void insertion_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("points");
        QTest::addColumn<QList<int>>("expected");
        QTest::addColumn<int>("newAt"); // index of the new line, -1 when not written
        const QList<int> ten { 100, 90, 80, 70, 60, 50, 40, 30, 20, 10 };
        const QList<int> tenWithNew = QList<int>(ten).mid(0, 9) << 15 << 10;
        QTest::newRow("into the middle") << QList<int> { 30, 20, 10 } << 25 << QList<int> { 30, 25, 20, 10 } << 1;
        QTest::newRow("tie goes above the older") << QList<int> { 30, 20 } << 20 << QList<int> { 30, 20, 20 } << 1;
        QTest::newRow("below all is appended") << QList<int> { 30, 20 } << 5 << QList<int> { 30, 20, 5 } << 2;
        QTest::newRow("negative ranks by its key") << QList<int> { 30, -20 } << -10 << QList<int> { 30, -10, -20 } << 1;
        // Only the first three or four characters would rank 123 as 12 and 1000 as 100.
        QTest::newRow("whole numbers rank") << QList<int> { 1000, 123 } << 124 << QList<int> { 1000, 124, 123 } << 1;
        QTest::newRow("ten lines grow to eleven") << ten << 15 << tenWithNew << 9;
        QTest::newRow("the eleventh drops out") << (QList<int>(ten) << 5) << 15 << tenWithNew << 9;
        QTest::newRow("ten lines, below all") << ten << 5 << ten << -1;
    }
    void insertion()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, points);
        QFETCH(QList<int>, expected);
        QFETCH(int, newAt);
        const QString entry = entryLine(lists::arithmetic, { points, 0, {} }, u"Neu"_s);
        const QStringList result = withEntry(linesWithKeys(keys), entry);
        QCOMPARE(keysOf(result), expected);
        QCOMPARE(result.indexOf(entry), newAt);
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
        QTest::newRow("more than the room") << many.mid(0, 25).join("\r\n").toLatin1() << many.mid(0, 25);
        QTest::newRow("a thousand lines") << many.mid(0, 1000).join("\n").toLatin1() << many.mid(0, 1000);
        QTest::newRow("not more") << many.join("\n").toLatin1() << (many.mid(0, 1000) << u"…"_s);
        QTest::newRow("300 characters shown") << QByteArray(300, 'x') << QStringList { QString(300, 'x') };
        QTest::newRow("a line of 10 MB") << QByteArray(10'000'000, 'x') << QStringList { QString(300, 'x') + "…", "…" };
    }
    void showlistShowsTheFile()
    {
        QFETCH(QByteArray, bytes);
        FakeServices fake;
        HighScoreList list(lists::arithmetic, fake.services);
        QGroupBox panel;
        QListWidget List1(&panel);
        panel.hide();
        list.showlist(&panel, &List1);
        QCOMPARE(fake.dialogs.shown.size(), 1);
        const ShownBox &box = fake.dialogs.shown[0];
        QCOMPARE(box.title + ": " + box.prompt + ' ' + QString::number(box.buttons),
            u"Na sowas: Es ist leider noch kein Eintrag vorhanden 48"_s);
        QVERIFY(panel.isHidden());

        QVERIFY(!writeBytes(list.path(), bytes));
        List1.addItem(u"alt"_s);
        list.showlist(&panel, &List1);
        QVERIFY(!panel.isHidden());
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
        QTest::addColumn<QByteArray>("before"); // null: no file yet
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<int>("points");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("after");
        const QByteArray goneProcess("2147483646\nkorvane\n\n");
        const QByteArray atCap = " 9  " + QByteArray(listfile::lineCap - 4, 'x') + "\r\n";
        QTest::newRow("first entry creates the file")
            << 1 << QByteArray() << 0LL << QByteArray("") << 185 << u"Gast"_s
            << QByteArray(" 185  Punkte f\xFCr  Gast ---  15 Sekunden ben\xF6tigt im Modus normal\r\n");
        QTest::newRow("empty name is saved as Anonymer") << 0 << QByteArray() << 0LL << goneProcess << 3 << QString()
                                                         << QByteArray(" 3  Punkte f\xFCr  Anonymer\r\n");
        QTest::newRow("tie goes above the older entry")
            << 0 << QByteArray(" 30  Punkte f\xFCr  A\r\n 20  Punkte f\xFCr  B\r\n") << 0LL << QByteArray() << 20
            << u"C"_s << QByteArray(" 30  Punkte f\xFCr  A\r\n 20  Punkte f\xFCr  C\r\n 20  Punkte f\xFCr  B\r\n");
        QTest::newRow("a name keeps what the code page holds")
            << 2 << QByteArray("") << 0LL << goneProcess << 0 << u"Zoë\r\n\t→✓😀 €"_s
            << QByteArray(" 0  Punkte f\xFCr  Zo\xEB \x80\r\n");
        QTest::newRow("a name has room for 100 characters")
            << 2 << atCap << 0LL << QByteArray() << 10 << QString(150, 'n')
            << " 10  Punkte f\xFCr  " + QByteArray(100, 'n') + "\r\n" + atCap;
        // As ever with long lists: the first ten lines stay, with the new one among them.
        QByteArray tenAndNew = tenLines;
        tenAndNew.insert(tenAndNew.indexOf(" 50"), " 55  Punkte f\xFCr  Neu\r\n");
        QTest::newRow("a 1 GB list keeps its first ten lines")
            << 2 << tenLines << (1LL << 30) << QByteArray("") << 55 << u"Neu"_s << tenAndNew;
    }
    void savingWritesTheFile()
    {
        QFETCH(int, list);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, lock);
        QFETCH(int, points);
        QFETCH(QString, typed);
        FakeServices fake;
        HighScoreList highScores(*variants[list], fake.services);
        highScores.setLockWait(0);
        const QDir folder(fake.program.dir);
        const QString name = variants[list]->fileName;
        for (const QString &stray : { name + ".korvane-Ab3dEf", name + ".lock.rmlock", name + ".backup" })
            QVERIFY(!writeBytes(folder.filePath(stray), "x", 0, 120));
        QVERIFY(!writeBytes(folder.filePath(name + ".korvane-fresh1"), "x"));
        QVERIFY(lock.isNull() || !writeBytes(highScores.path() + ".lock", lock, 0, lock.isEmpty() ? 5 : 0));
        QFETCH(qint64, size);
        QVERIFY(before.isNull() || !writeBytes(highScores.path(), before, size));
        QCOMPARE(highScores.fileexists(), !before.isNull());
        QVERIFY(before.isNull() || highScores.checkqualification(points) == 1);

        QLineEdit nameBox;
        HighScoreList::prepareNameBox(&nameBox);
        nameBox.insert(typed); // as keys or a paste arrive
        QVERIFY(highScores.saveEntry({ points, 15, u"normal"_s }, &nameBox));
        QFETCH(QByteArray, after);
        QCOMPARE(readBytes(highScores.path()), after);
        QCOMPARE(nameBox.text(), typed.isEmpty() ? u"Anonymer"_s : cleanName(typed)); // shown, never cleared
        QVERIFY(fake.dialogs.shown.isEmpty());
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList({ name, name + ".backup", name + ".korvane-fresh1" }));
    }

    void refusedSaveChangesNothing_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("cause");
        const QString notAFile = u"An ihrer Stelle steht keine gewöhnliche Datei, sondern ein Ordner"_s;
        const QString link = u"An ihrer Stelle steht eine symbolische Verknüpfung. Korvane folgt keiner"_s;
        const QString tooLarge = u"Ihre ersten zehn Einträge lassen sich nicht vollständig lesen"_s;
        const QString full = u"gespeichert werden. Auf dem Datenträger ist nicht genug Platz frei."_s;
        QTest::newRow("folder at the list's name") << Setup([](const QDir &d, QLockFile &) {
            return QFile::remove(d.filePath("best.lst")) && d.mkdir("best.lst") ? nullptr : "no folder";
        }) << false << notAFile;
        QTest::newRow("pipe at the list's name") << Setup([](const QDir &d, QLockFile &) {
            const QString path = d.filePath("best.lst");
            return QFile::remove(path) && ::mkfifo(QFile::encodeName(path), 0600) == 0 ? nullptr : "no pipe";
        }) << false << notAFile;
        QTest::newRow("link to the player's file") << Setup([](const QDir &d, QLockFile &) {
            const QString path = d.filePath("best.lst");
            return QFile::remove(path) && QFile::link("notes.txt", path) ? nullptr : "no link";
        }) << false << link;
        QTest::newRow("dangling link") << Setup([](const QDir &d, QLockFile &) {
            const QString path = d.filePath("best.lst");
            return QFile::remove(path) && QFile::link("../elsewhere.lst", path) ? nullptr : "no link";
        }) << false << link;
        QTest::newRow("a kept line beyond the cap") << Setup([](const QDir &d, QLockFile &) {
            return writeBytes(d.filePath("best.lst"), " 9  " + QByteArray(listfile::lineCap - 3, 'x'));
        }) << false << tooLarge;
        QTest::newRow("1 GB without a line end")
            << Setup([](const QDir &d, QLockFile &) { return writeBytes(d.filePath("best.lst"), "1\r\n2", 1LL << 30); })
            << false << tooLarge;
        QTest::newRow("folder at the lock's name")
            << Setup([](const QDir &d, QLockFile &) { return d.mkdir("best.lst.lock") ? nullptr : "no folder"; })
            << true << u"An der Stelle ihrer Sperrdatei best.lst.lock steht keine gewöhnliche Datei."_s;
        QTest::newRow("another copy saving")
            << Setup([](const QDir &, QLockFile &otherCopy) { return otherCopy.tryLock(0) ? nullptr : "cannot lock"; })
            << true << u"best.lst wird gerade von einem anderen Korvane benutzt. Bitte versuchen Sie es gleich"_s;
        QTest::newRow("a write fails: file size limit") << Setup([](const QDir &d, QLockFile &) {
            QLockFile probe(d.filePath("probe"));
            probe.lock(); // the lock must still fit, the list must not
            const rlimit small { rlim_t(QFileInfo(probe.fileName()).size() + 1), RLIM_INFINITY };
            return small.rlim_cur < 200 && ::setrlimit(RLIMIT_FSIZE, &small) == 0 ? nullptr : "no small limit";
        }) << true << full;
        // One page left takes the lock, and the list's write fails; none fails the lock.
        QTest::newRow("disk full, one page left")
            << Setup([](const QDir &d, QLockFile &) { return fillSmallDisk(d, 4096); }) << true << full;
        QTest::newRow("disk full") << Setup([](const QDir &d, QLockFile &) { return fillSmallDisk(d, 0); }) << true
                                   << full;
        QTest::newRow("read-only list") << Setup([](const QDir &d, QLockFile &) {
            ::chmod(QFile::encodeName(d.filePath("best.lst")), 0444);
            return mountReadOnly(d.filePath("best.lst")) ? nullptr : "mounting is not allowed here";
        }) << true << u"gespeichert werden. Die Datei ist schreibgeschützt."_s;
        QTest::newRow("read-only folder") << Setup([](const QDir &d, QLockFile &) {
            ::chmod(QFile::encodeName(d.path()), 0555);
            return mountReadOnly(d.path()) ? nullptr : "mounting is not allowed here";
        }) << true << u"Bitte prüfen Sie, ob der Ordner des Programms beschreibbar ist"_s;
    }
    void refusedSaveChangesNothing()
    {
        QFETCH(Setup, setup);
        FakeServices fake;
        const QDir folder(fake.program.dir);
        HighScoreList list(lists::memory, fake.services);
        list.setLockWait(0);
        const auto undo = qScopeGuard([&] {
            const rlimit none { RLIM_INFINITY, RLIM_INFINITY };
            ::setrlimit(RLIMIT_FSIZE, &none);
            ::umount2(QFile::encodeName(folder.filePath("best.lst")), MNT_DETACH);
            ::umount2(QFile::encodeName(folder.path()), MNT_DETACH);
            ::chmod(QFile::encodeName(folder.path()), 0700);
        });
        QVERIFY(!writeBytes(folder.filePath("notes.txt"), "Notizen\n"));
        QVERIFY(!writeBytes(folder.filePath("best.lst"), tenLines));
        QLockFile otherCopy(folder.filePath("best.lst.lock"));
        if (const char *impossible = setup(folder, otherCopy))
            QSKIP(impossible);
        const auto state = [&] {
            return QStringList { readBytes(folder.filePath("notes.txt")), readBytes(folder.filePath("best.lst")),
                QString::number(QFileInfo(folder.filePath("best.lst")).size()) }
            + folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        };
        const QStringList before = state();

        // Reading, qualifying and saving follow one rule, and the player learns why.
        QFETCH(bool, readable);
        QCOMPARE(list.checkqualification(95), readable ? std::optional(1) : std::nullopt);
        QLineEdit name(u"C"_s);
        QVERIFY(!list.saveEntry({ 95, 0, {} }, &name));
        QCOMPARE(fake.dialogs.shown.size(), readable ? 1 : 2);
        QFETCH(QString, cause);
        for (const ShownBox &box : fake.dialogs.shown)
            QVERIFY2(box.title == "Bestenliste" && box.prompt.contains(cause), qPrintable(box.prompt));
        QCOMPARE(state(), before);
        QVERIFY(!QFileInfo::exists(folder.filePath("../elsewhere.lst")));
    }
};

QTEST_MAIN(TestHighScore)
#include "tst_highscore.moc"
