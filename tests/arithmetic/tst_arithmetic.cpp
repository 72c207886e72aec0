#include "arithmetic/form4.h"
#include "fakeservices.h"
#include "platform/timer.h"
#include "shell/registry.h"
#include "shell/start.h"

#include <QTest>
#include <QtWidgets>

namespace {

using Task = std::pair<int, int>; // the two factors
enum RangeItem { z10, z20, z100 };
const drill::Range ranges[] = { drill::upToTen, drill::tenToTwenty, drill::tenToHundred };

// What Drill::state() reads in the three states of the window.
const QString idle = QStringLiteral("Command1");
const QString running = QStringLiteral("Command2 Text1 eins- Timer1");
const QString endedWithEntry = QStringLiteral("Command1 Text1- Frame1 eins-");
const QString noEntry = QStringLiteral(" Sie haben %1 Punkte erreicht das gibt keinen Eintrag in die Highscoreliste!");

QString listPath(FakeServices &fake)
{
    return QDir(fake.program.dir).filePath(QStringLiteral("best2.lst"));
}

QByteArray readList(FakeServices &fake)
{
    QFile file(listPath(fake));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program on fake services, with the arithmetic window opened from the start window.
struct Drill
{
    FakeServices fake;
    WindowRegistry registry { fake.services };
    Start &startWindow = registry.start();
    drill::Range range = drill::upToTen;

    Drill()
    {
        fake.program.onShowStart = [this] { startWindow.setVisible(true); };
        startWindow.setVisible(true);
        open();
    }
    void open() { QTest::mouseClick(startWindow.controls().Command1, Qt::LeftButton); } // Kopfrechnen
    Form4 &form() { return *static_cast<Form4 *>(registry.test(TestWindow::Arithmetic)); }
    const Form4::Controls &c() { return form().controls(); }
    void choose(int item)
    {
        (item == z10 ? c().z10 : item == z20 ? c().z20 : c().z100)->trigger();
        range = ranges[item];
    }
    // Scripts the random numbers that draw these tasks: the middle of each factor's slot.
    void tasks(const QList<Task> &next)
    {
        for (const Task &task : next)
            for (int factor : { task.first, task.second })
                fake.random.values << (float(factor - range.lowfactor) + 0.5f) / float(range.factorspan);
    }
    int highest() const { return range.lowfactor + range.factorspan - 1; }
    void start() { QTest::mouseClick(c().Command1, Qt::LeftButton); }
    void confirm() { QTest::mouseClick(c().Command3, Qt::LeftButton); }
    // Keys typed into Text1; '^' is Shift and '<' the left arrow, which judge as well.
    void type(const QString &keys)
    {
        const QHash<QChar, Qt::Key> special { { '^', Qt::Key_Shift }, { '<', Qt::Key_Left } };
        for (QChar key : keys) {
            if (special.contains(key))
                QTest::keyClick(c().Text1, special[key]);
            else
                QTest::keyClick(c().Text1, key.toLatin1()); // '\b' is Backspace
        }
    }
    void tick(int times)
    {
        for (int i = 0; i < times; ++i)
            form().Timer1_Timer();
    }
    // Starts a drill and answers the tasks right; the largest task of the range is on show afterwards.
    void answerRight(const QList<Task> &answered)
    {
        tasks(answered + QList<Task> { { highest(), highest() } });
        start();
        for (const Task &task : answered)
            type(QString::number(task.first * task.second));
    }
    QList<bool> marks() { return { c().z10->isChecked(), c().z20->isChecked(), c().z100->isChecked() }; }
    QStringList labels() { return { c().Label1->text(), c().Label2->text(), c().Label3->text() }; }
    // The controls shown ("-" where disabled), the range menu where disabled, and the timer where running.
    QString state()
    {
        const std::pair<QString, QWidget *> controls[] = { { "Command1", c().Command1 }, { "Command2", c().Command2 },
            { "Text1", c().Text1 }, { "Frame1", c().Frame1 } };
        QStringList parts;
        for (const auto &[name, widget] : controls)
            if (!widget->isHidden())
                parts << name + (widget->isEnabled() ? "" : "-");
        if (!c().eins->menuAction()->isEnabled())
            parts << "eins-";
        if (c().Timer1->Enabled())
            parts << "Timer1";
        return parts.join(' ');
    }
};

} // namespace

class TestArithmetic : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void factorsCoverTheirRange_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("factor");
        constexpr float justBelowOne = 0.99999994f; // in single precision 10 * r + 10 would give 20
        QTest::newRow("1 to 10, lowest") << int(z10) << 0.0f << 1;
        QTest::newRow("1 to 10, highest") << int(z10) << justBelowOne << 10;
        QTest::newRow("10 to 19, lowest") << int(z20) << 0.0f << 10;
        QTest::newRow("10 to 19, highest, never 20") << int(z20) << justBelowOne << 19;
        QTest::newRow("10 to 99, lowest") << int(z100) << 0.0f << 10;
        QTest::newRow("10 to 99, highest, never 100") << int(z100) << justBelowOne << 99;
    }
    void factorsCoverTheirRange()
    {
        QFETCH(int, item);
        QFETCH(float, r);
        QFETCH(int, factor);
        Drill drill;
        drill.choose(item);
        drill.fake.random.values = { r, r };
        drill.start();
        QCOMPARE(drill.c().Label1->text(), QStringLiteral(" %1 x %1").arg(factor));
        QCOMPARE(drill.form().product, factor * factor);
    }

    void judging_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<Task>("task");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("judgedAtKey"); // 0: never
        QTest::addColumn<bool>("right");
        QTest::newRow("below 10, right digit") << int(z10) << Task { 2, 3 } << "6" << 1 << true;
        QTest::newRow("below 10, wrong digit") << int(z10) << Task { 2, 3 } << "7" << 1 << false;
        QTest::newRow("below 10, Backspace on nothing") << int(z10) << Task { 2, 3 } << "\b" << 1 << false;
        QTest::newRow("below 10, Shift") << int(z10) << Task { 2, 3 } << "^" << 1 << false;
        QTest::newRow("below 10, arrow") << int(z10) << Task { 3, 3 } << "<" << 1 << false;
        QTest::newRow("below 10, not a number") << int(z10) << Task { 1, 1 } << "a" << 1 << false;
        QTest::newRow("10-99, right") << int(z10) << Task { 7, 8 } << "56" << 2 << true;
        QTest::newRow("10-99, 056 at the third key") << int(z10) << Task { 7, 8 } << "056" << 3 << true;
        QTest::newRow("10-99, wrong of right size") << int(z10) << Task { 7, 8 } << "65" << 2 << false;
        QTest::newRow("10-99, one digit waits") << int(z10) << Task { 7, 8 } << "5" << 0 << false;
        QTest::newRow("10-99, not a number waits") << int(z10) << Task { 7, 8 } << "ab" << 0 << false;
        QTest::newRow("10-99, lowest") << int(z10) << Task { 2, 5 } << "10" << 2 << true;
        QTest::newRow("100-999, right") << int(z20) << Task { 10, 19 } << "190" << 3 << true;
        QTest::newRow("100-999, 99 waits") << int(z20) << Task { 10, 10 } << "99" << 0 << false;
        QTest::newRow("100-999, wrong of right size") << int(z20) << Task { 12, 13 } << "165" << 3 << false;
        QTest::newRow("1000+, right") << int(z100) << Task { 99, 99 } << "9801" << 4 << true;
        QTest::newRow("1000+, 999 waits") << int(z100) << Task { 99, 99 } << "999" << 0 << false;
        QTest::newRow("1000+, wrong of right size") << int(z100) << Task { 99, 99 } << "1000" << 4 << false;
    }
    void judging()
    {
        QFETCH(int, item);
        QFETCH(Task, task);
        QFETCH(QString, keys);
        QFETCH(int, judgedAtKey);
        QFETCH(bool, right);
        Drill drill;
        drill.choose(item);
        drill.tasks({ task, { drill.highest(), drill.highest() } }); // no key here judges the next task
        drill.start();
        for (int key = 1; key <= keys.size(); ++key) {
            drill.type(keys.mid(key - 1, 1));
            QCOMPARE(drill.fake.random.drawn, judgedAtKey != 0 && key >= judgedAtKey ? 4 : 2);
        }
        QCOMPARE(drill.c().Text1->text(), judgedAtKey == 0 ? keys : QString());
        QCOMPARE(drill.form().rightanswers, right ? 1 : 0);
        const int points = right ? drill.range.taskpoints : 0;
        QCOMPARE(drill.c().Label2->text(), judgedAtKey == 0 ? QString() : QStringLiteral(" %1 Punkte").arg(points));
        QCOMPARE(drill.form().frame()->focusWidget(), drill.c().Text1);
    }

    void fastTypingJudgesEveryRelease_data()
    {
        QTest::addColumn<Task>("next");
        QTest::addColumn<bool>("emptyJudged");
        QTest::newRow("next product below 10") << Task { 1, 3 } << true;
        QTest::newRow("next product 10 or more") << Task { 3, 4 } << false;
    }
    void fastTypingJudgesEveryRelease()
    {
        QFETCH(Task, next);
        QFETCH(bool, emptyJudged);
        Drill drill;
        drill.tasks({ { 7, 8 }, next, { 9, 9 } });
        drill.start();
        QLineEdit *answer = drill.c().Text1;
        QTest::keyPress(answer, Qt::Key_5);
        QTest::keyPress(answer, Qt::Key_6);
        QTest::keyRelease(answer, Qt::Key_5);
        QCOMPARE(drill.form().rightanswers, 1); // «56» judged right
        QCOMPARE(drill.form().product, next.first * next.second);
        QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_6, Qt::NoModifier, QStringLiteral("6"), true);
        QApplication::sendEvent(answer, &repeated); // an auto-repeat release judges nothing
        QCOMPARE(drill.fake.random.drawn, 4);
        QTest::keyRelease(answer, Qt::Key_6); // finds the box empty
        QCOMPARE(drill.form().product, emptyJudged ? 81 : 12);
        QCOMPARE(drill.c().Label2->text(), QStringLiteral(" 1 Punkte")); // 0 is no right answer
    }

    // Right answers are squares of the lowest factor; the largest task is left with an unjudged «5».
    void sixtyTicksEndTheDrill_data()
    {
        QTest::addColumn<QList<int>>("list"); // empty: no best2.lst
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("right");
        QTest::addColumn<bool>("entry");
        const QList<int> tenLines { 100, 90, 80, 70, 60, 50, 40, 30, 20, 2 };
        QTest::newRow("no list, 0 points") << QList<int> {} << int(z10) << 0 << true;
        QTest::newRow("no list, 4 right in 1 to 10") << QList<int> {} << int(z10) << 4 << true;
        QTest::newRow("no list, 4 right in 10 to 19") << QList<int> {} << int(z20) << 4 << true;
        QTest::newRow("no list, 4 right in 10 to 99") << QList<int> {} << int(z100) << 4 << true;
        QTest::newRow("short list, 0 points") << QList<int> { 50, 40, 30 } << int(z10) << 0 << true;
        QTest::newRow("ten lines, 0 points") << tenLines << int(z10) << 0 << false;
        QTest::newRow("ten lines, tie with the last") << tenLines << int(z10) << 2 << false;
        QTest::newRow("ten lines, beating the last") << tenLines << int(z10) << 3 << true;
    }
    void sixtyTicksEndTheDrill()
    {
        QFETCH(QList<int>, list);
        QFETCH(int, item);
        QFETCH(int, right);
        QFETCH(bool, entry);
        Drill drill;
        if (!list.isEmpty()) {
            QFile file(listPath(drill.fake));
            QVERIFY(file.open(QIODevice::WriteOnly));
            for (int key : list)
                file.write(QStringLiteral(" %1  Punkte für  Spieler\r\n").arg(key).toLatin1());
        }
        const QByteArray before = readList(drill.fake);
        drill.choose(item);
        const int low = drill.range.lowfactor, points = right * drill.range.taskpoints;
        drill.answerRight(QList<Task>(right, Task { low, low }));
        const QString pointsText = right ? QStringLiteral(" %1 Punkte").arg(points) : QString();
        QCOMPARE(drill.state(), running);
        QVERIFY(drill.c().Label3->text().isEmpty()); // until the first tick
        drill.type(QStringLiteral("5"));
        QString stateWhileBoxOpen;
        drill.fake.dialogs.whileOpen = [&] { stateWhileBoxOpen = drill.state(); };
        drill.tick(1);
        QCOMPARE(drill.c().Label3->text(), QStringLiteral("Noch 59 Sekunden"));
        drill.tick(58);
        QCOMPARE(drill.state(), running);
        drill.tick(1);

        QCOMPARE(readList(drill.fake), before);
        if (!entry) {
            QCOMPARE(drill.fake.dialogs.shown.size(), 1);
            const ShownBox box = drill.fake.dialogs.shown[0];
            QCOMPARE(box.prompt, noEntry.arg(points));
            QCOMPARE(box.title, QStringLiteral("Das könnte noch besser werden"));
            QCOMPARE(box.buttons, int(platform::vbOKOnly));
            QCOMPARE(stateWhileBoxOpen, QStringLiteral("Command1 Text1- eins-"));
            QCOMPARE(drill.state(), idle);
            QCOMPARE(drill.labels(), QStringList(3, QString()));
            return;
        }
        QVERIFY(drill.fake.dialogs.shown.isEmpty());
        QCOMPARE(drill.state(), endedWithEntry);
        QCOMPARE(drill.c().Label5->text(), QStringLiteral("Sie haben %1  Punkte errechnet.").arg(points));
        const QString lastTask = QStringLiteral(" %1 x %1").arg(drill.highest());
        QCOMPARE(drill.labels(), QStringList({ lastTask, pointsText, QStringLiteral("Noch 0 Sekunden") }));
        drill.start(); // the unjudged text waits for the next drill; the countdown until the first tick
        QCOMPARE(drill.c().Text1->text(), QStringLiteral("5"));
        QCOMPARE(drill.c().Label3->text(), QStringLiteral("Noch 0 Sekunden"));
    }

    // The entry keeps the points of its own drill through a new drill and a failed save; once saved, the range
    // menu stays disabled until a cancel, which resets the window and leaves the typed text for the next drill.
    void entryPointsAndRangeMenuAcrossDrills()
    {
        Drill drill;
        drill.answerRight({ { 7, 8 }, { 2, 3 }, { 9, 9 } });
        drill.tick(60);
        drill.answerRight({ { 1, 1 }, { 5, 5 } }); // Frame1 is still open
        QCOMPARE(drill.state(), QStringLiteral("Command2 Text1 Frame1 eins- Timer1"));
        const QString folder = drill.fake.program.dir;
        drill.fake.program.dir = QDir(folder).filePath(QStringLiteral("gone"));
        QTest::keyClicks(drill.c().Text2, QStringLiteral("Anna"));
        drill.confirm();
        QCOMPARE(drill.fake.dialogs.shown.size(), 1); // told, and the panel stays for another try
        QVERIFY(!drill.c().Frame1->isHidden());
        drill.fake.program.dir = folder;
        drill.confirm();
        QCOMPARE(readList(drill.fake), QByteArray(" 3  Punkte f\xfcr  Anna\r\n"));
        QCOMPARE(drill.state(), running);
        drill.tick(60); // 2 points take a place in the one-line list
        drill.confirm();
        QCOMPARE(drill.state(), QStringLiteral("Command1 Text1- eins-"));

        drill.tasks({ { 7, 8 }, { 2, 5 }, { 2, 5 } });
        drill.start();
        drill.type(QStringLiteral("561"));
        drill.tick(3);
        QTest::mouseClick(drill.c().Command2, Qt::LeftButton);
        QCOMPARE(drill.state(), idle);
        QCOMPARE(drill.labels(), QStringList(3, QString()));
        drill.start();
        QCOMPARE(drill.c().Text1->text(), QStringLiteral("1"));
        drill.type(QStringLiteral("0"));
        QCOMPARE(drill.form().rightanswers, 1);
    }

    // From the start window to a saved entry; a later drill closed with the close box while an entry waits; the
    // window opens again idle in the range 1 to 10, and "Programm verlassen" goes back to the start window.
    void playthroughFromStartToSavedEntryAndBack()
    {
        Drill drill;
        QVERIFY(drill.form().Visible() && !drill.startWindow.isLoaded());
        drill.choose(z20);
        QCOMPARE(drill.marks(), QList<bool>({ false, true, false }));
        drill.answerRight({ { 12, 12 }, { 15, 11 } });
        drill.tick(60);
        QCOMPARE(drill.c().Label5->text(), QStringLiteral("Sie haben 6  Punkte errechnet."));
        QTest::keyClicks(drill.c().Text2, QStringLiteral("Jo"));
        drill.confirm();
        const QByteArray saved(" 6  Punkte f\xfcr  Jo\r\n");
        QCOMPARE(readList(drill.fake), saved);
        drill.c().lis->trigger();
        QCOMPARE(drill.c().List1->item(0)->text(), QStringLiteral(" 6  Punkte für  Jo"));

        drill.start();
        drill.tick(60); // 0 points take a place in the one-line list
        drill.start();
        drill.c().hilf->trigger();
        drill.tick(5);
        QCOMPARE(drill.c().Label3->text(), QStringLiteral("Noch 55 Sekunden")); // help does not stop the drill
        drill.form().frame()->close();
        QVERIFY(!drill.form().isLoaded() && drill.startWindow.Visible());
        QCOMPARE(readList(drill.fake), saved); // the waiting entry is dropped

        drill.open();
        QCOMPARE(drill.state(), idle);
        QCOMPARE(drill.labels(), QStringList(3, QString()));
        QCOMPARE(drill.marks(), QList<bool>({ true, false, false }));
        QVERIFY(drill.form().lowfactor == 1 && drill.form().factorspan == 10 && drill.form().taskpoints == 1);
        QVERIFY(drill.c().Frame3->isHidden() && drill.c().Text1->text().isEmpty());
        QCOMPARE(drill.fake.random.seeded, 2);
        drill.c().verlass->trigger();
        QVERIFY(!drill.form().isLoaded() && drill.startWindow.Visible());
        QVERIFY(drill.fake.dialogs.shown.isEmpty() && drill.fake.program.ended == 0);
    }
};

QTEST_MAIN(TestArithmetic)

#include "tst_arithmetic.moc"
