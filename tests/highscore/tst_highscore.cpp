#include "fakeservices.h"
#include "highscore/entrylines.h"
#include "highscore/highscorelist.h"
#include "highscore/listfile.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QTest>

using namespace entrylines;

namespace {

// Lines whose keys are the given points, named after their place.
QStringList linesWithKeys(const QList<int> &keys)
{
    QStringList lines;
    for (int i = 0; i < keys.size(); ++i)
        lines << entryLine(lists::arithmetic, { keys[i], 0, {} }, QStringLiteral("Spieler%1").arg(i + 1));
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

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestHighScore : public QObject
{
    Q_OBJECT

private slots:
    void entryLineFormat_data();
    void entryLineFormat();
    void keyIsTheWholeLeadingNumber_data();
    void keyIsTheWholeLeadingNumber();
    void qualification_data();
    void qualification();
    void insertion_data();
    void insertion();
    void namesNeverBreakALine_data();
    void namesNeverBreakALine();

    void filesAreWindows1252WithCrLf();
    void handEditedFilesRead_data();
    void handEditedFilesRead();

    void showlistShowsLinesAsStored();
    void savingWritesTheFile_data();
    void savingWritesTheFile();
    void unwritableListStaysUnchanged_data();
    void unwritableListStaysUnchanged();
    void busyListIsNotTouched();
    void nameBoxDropsWhatTheFileCannotHold();
};

void TestHighScore::entryLineFormat_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<Result>("result");
    QTest::addColumn<QString>("expected");
    QTest::newRow("memory") << 0 << Result { 12, 0, {} } << QStringLiteral(" 12  Punkte für  Gast");
    QTest::newRow("arithmetic zero") << 2 << Result { 0, 0, {} } << QStringLiteral(" 0  Punkte für  Gast");
    QTest::newRow("dexterity") << 1 << Result { 185, 15, QStringLiteral("normal") }
                               << QStringLiteral(" 185  Punkte für  Gast ---  15 Sekunden benötigt im Modus normal");
    QTest::newRow("dexterity negative") << 1 << Result { -50, 250, QStringLiteral("normal") }
                                        << QStringLiteral(
                                               "-50  Punkte für  Gast ---  250 Sekunden benötigt im Modus normal");
}

void TestHighScore::entryLineFormat()
{
    QFETCH(int, list);
    QFETCH(Result, result);
    QFETCH(QString, expected);
    QCOMPARE(entryLine(*variants[list], result, QStringLiteral("Gast")), expected);
}

void TestHighScore::keyIsTheWholeLeadingNumber_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<double>("key");
    // Only the first three or four characters would rank 123 as 12 and 1000 as 100.
    QTest::newRow("three digits") << QStringLiteral(" 123  Punkte für  Gast") << 123.0;
    QTest::newRow("four digits") << QStringLiteral(" 1000  Punkte für  Gast") << 1000.0;
    QTest::newRow("negative") << QStringLiteral("-50  Punkte für  Gast") << -50.0;
    QTest::newRow("no number") << QStringLiteral("Gast") << 0.0;
}

void TestHighScore::keyIsTheWholeLeadingNumber()
{
    QFETCH(QString, line);
    QFETCH(double, key);
    QCOMPARE(scoreKey(line), key);
}

void TestHighScore::qualification_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("earns");
    const QList<int> nine(9, 50);
    const QList<int> ten(10, 50);
    QList<int> elevenWithLowLast(10, 50);
    elevenWithLowLast << 5;

    QTest::newRow("empty list takes anything") << 0 << QList<int> {} << -7 << true;
    QTest::newRow("memory: 8 lines take the lowest") << 0 << QList<int>(8, 50) << 1 << true;
    QTest::newRow("memory: 9 lines refuse the lowest") << 0 << nine << 1 << false;
    QTest::newRow("arithmetic: 9 lines take the lowest") << 2 << nine << 1 << true;
    QTest::newRow("tie does not qualify") << 0 << nine << 50 << false;
    QTest::newRow("beating one line qualifies") << 0 << nine << 51 << true;
    QTest::newRow("memory: 123 beats 124 only as 12") << 0 << QList<int>(9, 124) << 123 << false;
    QTest::newRow("dexterity: 10 lines, lowest would not be written") << 1 << ten << 1 << false;
    QTest::newRow("dexterity: 10 lines, tie is written") << 1 << ten << 50 << true;
    QTest::newRow("11 lines, beating only the 11th") << 2 << elevenWithLowLast << 6 << false;
    QTest::newRow("11 lines, reaching the 10th") << 2 << elevenWithLowLast << 51 << true;
}

void TestHighScore::qualification()
{
    QFETCH(int, list);
    QFETCH(QList<int>, keys);
    QFETCH(int, points);
    QFETCH(bool, earns);
    QCOMPARE(earnsPlace(*variants[list], linesWithKeys(keys), points), earns);
}

void TestHighScore::insertion_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("points");
    QTest::addColumn<QList<int>>("expected");
    QTest::addColumn<int>("newAt"); // index of the new line, -1 when not written

    QTest::newRow("into the middle") << QList<int> { 30, 20, 10 } << 25 << QList<int> { 30, 25, 20, 10 } << 1;
    QTest::newRow("tie goes above the older") << QList<int> { 30, 20, 10 } << 20 << QList<int> { 30, 20, 20, 10 } << 1;
    QTest::newRow("below all is appended") << QList<int> { 30, 20 } << 5 << QList<int> { 30, 20, 5 } << 2;
    QTest::newRow("negative ranks by its key") << QList<int> { 30, -20 } << -10 << QList<int> { 30, -10, -20 } << 1;
    QList<int> ten { 100, 90, 80, 70, 60, 50, 40, 30, 20, 10 };
    QList<int> tenWithNew = ten;
    tenWithNew.insert(9, 15);
    QTest::newRow("ten lines grow to eleven") << ten << 15 << tenWithNew << 9;
    QList<int> eleven = ten;
    eleven << 5;
    QTest::newRow("the eleventh drops out") << eleven << 15 << tenWithNew << 9;
    QTest::newRow("ten lines, below all") << ten << 5 << ten << -1;
}

void TestHighScore::insertion()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, points);
    QFETCH(QList<int>, expected);
    QFETCH(int, newAt);
    const QString entry = entryLine(lists::arithmetic, { points, 0, {} }, QStringLiteral("Neu"));
    const QStringList result = withEntry(linesWithKeys(keys), entry);
    QCOMPARE(keysOf(result), expected);
    QCOMPARE(result.indexOf(entry), newAt);
}

void TestHighScore::namesNeverBreakALine_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("clean");
    QTest::newRow("umlauts and euro stay") << QStringLiteral("Jörg €") << QStringLiteral("Jörg €");
    QTest::newRow("line breaks and tabs go") << QStringLiteral("Ann\r\n\tBob") << QStringLiteral("AnnBob");
    QTest::newRow("outside the code page goes") << QStringLiteral("Zoë→✓😀") << QStringLiteral("Zoë");
}

void TestHighScore::namesNeverBreakALine()
{
    QFETCH(QString, typed);
    QFETCH(QString, clean);
    QCOMPARE(cleanName(typed), clean);
}

void TestHighScore::filesAreWindows1252WithCrLf()
{
    const QStringList lines { QStringLiteral(" 7  Punkte für  Zoë"), QStringLiteral("-5  Punkte für  €") };
    bool ok = false;
    const QByteArray bytes = listfile::encode(lines, &ok);
    QVERIFY(ok);
    QCOMPARE(bytes, QByteArray(" 7  Punkte f\xFCr  Zo\xEB\r\n-5  Punkte f\xFCr  \x80\r\n"));
    QCOMPARE(listfile::decode(bytes, 20), lines);
    listfile::encode({ QStringLiteral("→") }, &ok);
    QVERIFY(!ok);
}

void TestHighScore::handEditedFilesRead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("room");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("LF line ends") << QByteArray(" 5  a\n 3  b\n") << 20 << QStringList { " 5  a", " 3  b" };
    QTest::newRow("blank lines") << QByteArray("\r\n 5  a\r\n  \r\n\r\n 3  b") << 20
                                 << QStringList { " 5  a", " 3  b" };
    QTest::newRow("more than the room") << QByteArray("1\r\n2\r\n3\r\n4\r\n") << 3 << QStringList { "1", "2", "3" };
    QTest::newRow("empty") << QByteArray() << 20 << QStringList {};
}

void TestHighScore::handEditedFilesRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, room);
    QFETCH(QStringList, lines);
    QCOMPARE(listfile::decode(bytes, room), lines);
}

void TestHighScore::showlistShowsLinesAsStored()
{
    FakeServices fake;
    HighScoreList list(lists::dexterity, fake.services);
    QGroupBox panel;
    QListWidget List1(&panel);
    List1.addItem(QStringLiteral("old"));
    panel.hide();
    list.showlist(&panel, &List1);
    QCOMPARE(fake.dialogs.shown.size(), 1);
    QCOMPARE(fake.dialogs.shown[0].prompt, QStringLiteral("Es ist leider noch kein Eintrag vorhanden"));
    QCOMPARE(fake.dialogs.shown[0].title, QStringLiteral("Na sowas"));
    QCOMPARE(fake.dialogs.shown[0].buttons, 48);
    QVERIFY(panel.isHidden());

    writeBytes(list.path(), " 185  Punkte f\xFCr  Gast --- 15 x\r\n-50  Punkte f\xFCr  Ann\r\n");
    list.showlist(&panel, &List1);
    QVERIFY(!panel.isHidden());
    QCOMPARE(List1.count(), 2);
    QCOMPARE(List1.item(0)->text(), QStringLiteral(" 185  Punkte für  Gast --- 15 x"));
    QCOMPARE(List1.item(1)->text(), QStringLiteral("-50  Punkte für  Ann"));
}

void TestHighScore::savingWritesTheFile_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<Result>("result");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("nameBox");

    QTest::newRow("first entry creates the file")
        << 1 << false << QByteArray() << Result { 185, 15, QStringLiteral("normal") } << QStringLiteral("Gast")
        << QByteArray(" 185  Punkte f\xFCr  Gast ---  15 Sekunden ben\xF6tigt im Modus normal\r\n")
        << QStringLiteral("Gast");
    QTest::newRow("empty name is saved as Anonymer")
        << 0 << false << QByteArray() << Result { 3, 0, {} } << QString()
        << QByteArray(" 3  Punkte f\xFCr  Anonymer\r\n") << QStringLiteral("Anonymer");
    QTest::newRow("tie goes above the older entry")
        << 0 << true << QByteArray(" 30  Punkte f\xFCr  A\r\n 20  Punkte f\xFCr  B\r\n") << Result { 20, 0, {} }
        << QStringLiteral("C")
        << QByteArray(" 30  Punkte f\xFCr  A\r\n 20  Punkte f\xFCr  C\r\n 20  Punkte f\xFCr  B\r\n")
        << QStringLiteral("C");
    QTest::newRow("empty file takes the entry")
        << 2 << true << QByteArray() << Result { 0, 0, {} } << QStringLiteral("X")
        << QByteArray(" 0  Punkte f\xFCr  X\r\n") << QStringLiteral("X");
}

void TestHighScore::savingWritesTheFile()
{
    QFETCH(int, list);
    QFETCH(bool, exists);
    QFETCH(QByteArray, before);
    QFETCH(Result, result);
    QFETCH(QString, typed);
    QFETCH(QByteArray, after);
    QFETCH(QString, nameBox);
    FakeServices fake;
    HighScoreList highScores(*variants[list], fake.services);
    if (exists)
        writeBytes(highScores.path(), before);
    QCOMPARE(highScores.fileexists(), exists);
    if (exists)
        QCOMPARE(highScores.checkqualification(result.points), 1); // short lists take any result

    QLineEdit name(typed);
    QVERIFY(highScores.saveEntry(result, &name));
    QCOMPARE(readBytes(highScores.path()), after);
    QCOMPARE(name.text(), nameBox); // never cleared, "Anonymer" shown
    QVERIFY(fake.dialogs.shown.isEmpty());
}

void TestHighScore::unwritableListStaysUnchanged_data()
{
    QTest::addColumn<QString>("blocker");
    // Folders standing where the program must write: refused even to root, unlike permissions.
    QTest::newRow("lock cannot be made") << QStringLiteral("best.lst.lock/x");
    QTest::newRow("folder where the list goes") << QStringLiteral("best.lst/x");
}

void TestHighScore::unwritableListStaysUnchanged()
{
    QFETCH(QString, blocker);
    FakeServices fake;
    HighScoreList list(lists::memory, fake.services);
    list.setLockWait(0);
    const bool listIsBlocked = blocker.startsWith(QStringLiteral("best.lst/"));
    const QByteArray before(" 30  Punkte f\xFCr  A\r\n");
    if (!listIsBlocked)
        writeBytes(list.path(), before);
    QVERIFY(QDir(fake.program.dir).mkpath(blocker));

    QLineEdit name(QStringLiteral("C"));
    QVERIFY(!list.saveEntry({ 40, 0, {} }, &name));
    QCOMPARE(fake.dialogs.shown.size(), 1);
    QCOMPARE(fake.dialogs.shown[0].title, QStringLiteral("Bestenliste"));
    QVERIFY(fake.dialogs.shown[0].prompt.contains(QStringLiteral("best.lst")));
    if (!listIsBlocked)
        QCOMPARE(readBytes(list.path()), before);
    QCOMPARE(QDir(fake.program.dir).entryList(QDir::Files), listIsBlocked ? QStringList() : QStringList { "best.lst" });
}

void TestHighScore::busyListIsNotTouched()
{
    FakeServices fake;
    HighScoreList list(lists::arithmetic, fake.services);
    list.setLockWait(0);
    const QByteArray before(" 30  Punkte f\xFCr  A\r\n");
    writeBytes(list.path(), before);
    QLockFile otherCopy(list.path() + QStringLiteral(".lock"));
    QVERIFY(otherCopy.tryLock(0));

    QLineEdit name(QStringLiteral("C"));
    QVERIFY(!list.saveEntry({ 40, 0, {} }, &name));
    QCOMPARE(fake.dialogs.shown.size(), 1);
    QVERIFY(fake.dialogs.shown[0].prompt.contains(QStringLiteral("anderen Korvane")));
    QCOMPARE(readBytes(list.path()), before);

    otherCopy.unlock();
    QVERIFY(list.saveEntry({ 40, 0, {} }, &name)); // trying again works
    QCOMPARE(readBytes(list.path()), QByteArray(" 40  Punkte f\xFCr  C\r\n") + before);
}

void TestHighScore::nameBoxDropsWhatTheFileCannotHold()
{
    QLineEdit name;
    HighScoreList::prepareNameBox(&name);
    name.setFocus();
    QTest::keyClicks(&name, QStringLiteral("Zo"));
    name.insert(QStringLiteral("ë→\tX")); // as a paste arrives
    QCOMPARE(name.text(), QStringLiteral("ZoëX"));
}

QTEST_MAIN(TestHighScore)
#include "tst_highscore.moc"
