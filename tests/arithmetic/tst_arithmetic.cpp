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

// What Drill::state() reads idle, during a drill, and after an end without a waiting entry.
const QString idle = QStringLiteral("Command1");
const QString running = QStringLiteral("Command2 Text1 eins- Timer1");
const QString ended = QStringLiteral("Command1 Text1- eins-");
const QString cleared = QStringLiteral("||"); // Label1 to Label3 empty

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
        QTest::mouseClick(startWindow.controls().Command1, Qt::LeftButton); // Kopfrechnen
    }
    Form4 &form() { return static_cast<Form4 &>(registry.test(TestWindow::Arithmetic)); }
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
    void type(const QString &keys) { QTest::keyClicks(c().Text1, keys); } // one release per key; '\b' is Backspace
    void tick(int times)
    {
        while (times-- > 0)
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
    QByteArray list()
    {
        QFile file(QDir(fake.program.dir).filePath(QStringLiteral("best2.lst")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString labels() { return QStringList { c().Label1->text(), c().Label2->text(), c().Label3->text() }.join('|'); }
    // The controls shown ("-" where disabled), the range menu where disabled, and the timer where running.
    QString state()
    {
        const std::pair<QString, QWidget *> controls[] = { { "Command1", c().Command1 }, { "Command2", c().Command2 },
            { "Text1", c().Text1 }, { "Frame1", c().Frame1 } };
        QStringList parts;
        for (const auto &[name, widget] : controls)
            if (!widget->isHidden())
                parts << name + (widget->isEnabled() ? "" : "-");
        parts << (c().eins->menuAction()->isEnabled() ? "" : "eins-") << (c().Timer1->Enabled() ? "Timer1" : "");
        parts.removeAll(QString());
        return parts.join(' ');
    }
};

} // namespace

class TestArithmetic : public QObject
{
    Q_OBJECT

private slots:
    void judging_data()
    {
        QTest::addColumn<Task>("task"); // 1 to 10, or 10 to 99 for a factor above 10
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("judgedAtKey"); // 0: never
        QTest::newRow("below 10, Backspace on nothing") << Task { 2, 3 } << "\b" << 1;
        QTest::newRow("below 10, not a number") << Task { 1, 1 } << "a" << 1;
        QTest::newRow("10-99, lowest") << Task { 2, 5 } << "10" << 2;
        QTest::newRow("10-99, 056 at the third key") << Task { 7, 8 } << "056" << 3;
        QTest::newRow("10-99, wrong of right size") << Task { 7, 8 } << "65" << 2;
        QTest::newRow("10-99, not a number waits") << Task { 7, 8 } << "ab" << 0;
        QTest::newRow("100-999, lowest") << Task { 10, 10 } << "100" << 3;
        QTest::newRow("100-999, 99 waits, wrong of right size") << Task { 10, 10 } << "990" << 3;
        QTest::newRow("1000+, right") << Task { 99, 99 } << "9801" << 4;
        QTest::newRow("1000+, 999 waits, wrong of right size") << Task { 99, 99 } << "9991" << 4;
    }
    void judging()
    {
        QFETCH(Task, task);
        QFETCH(QString, keys);
        QFETCH(int, judgedAtKey);
        Drill drill;
        drill.choose(task.first > 10 ? z100 : z10);
        drill.tasks({ task, { drill.highest(), drill.highest() } }); // no key here judges the next task
        drill.start();
        for (int key = 1; key <= keys.size(); ++key) {
            drill.type(keys.mid(key - 1, 1));
            QCOMPARE(drill.fake.random.drawn, judgedAtKey != 0 && key >= judgedAtKey ? 4 : 2);
        }
        const int points = keys.toInt() == task.first * task.second ? drill.range.taskpoints : 0;
        const QString pointsText = judgedAtKey ? QStringLiteral(" %1 Punkte").arg(points) : QString();
        QCOMPARE(QStringList({ drill.c().Text1->text(), drill.c().Label2->text() }),
            QStringList({ judgedAtKey == 0 ? keys : QString(), pointsText }));
        QCOMPARE(drill.form().frame()->focusWidget(), drill.c().Text1);
    }

    void fastTypingJudgesEveryRelease_data()
    {
        QTest::addColumn<Task>("next");
        QTest::newRow("next product below 10") << Task { 1, 3 };
        QTest::newRow("next product 10 or more") << Task { 3, 4 };
    }
    void fastTypingJudgesEveryRelease()
    {
        QFETCH(Task, next);
        Drill drill;
        drill.tasks({ { 7, 8 }, next, { 9, 9 } });
        drill.start();
        QLineEdit *answer = drill.c().Text1;
        QTest::keyPress(answer, Qt::Key_5);
        QTest::keyPress(answer, Qt::Key_6);
        QTest::keyRelease(answer, Qt::Key_5);
        QCOMPARE(drill.form().rightanswers, 1); // «56» judged right
        QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_6, Qt::NoModifier, QStringLiteral("6"), true);
        QApplication::sendEvent(answer, &repeated); // an auto-repeat release judges nothing
        QCOMPARE(drill.fake.random.drawn, 4);
        QTest::keyRelease(answer, Qt::Key_6); // finds the box empty
        const int nextProduct = next.first * next.second;
        QCOMPARE(drill.form().product, nextProduct < 10 ? 81 : nextProduct); // the empty box is judged below 10
        QCOMPARE(drill.c().Label2->text(), QStringLiteral(" 1 Punkte")); // 0 is no right answer
    }

    // The right answers are squares of the lowest factor, drawn from r = 0; the largest task, drawn from the largest
    // r below 1, is left with an unjudged «5».
    void sixtyTicksEndTheDrill_data()
    {
        QTest::addColumn<QList<int>>("lines"); // empty: no best2.lst
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("right");
        QTest::addColumn<bool>("entry");
        const QList<int> tenLines { 100, 90, 80, 70, 60, 50, 40, 30, 20, 2 };
        QTest::newRow("no list, 4 right in 10 to 19") << QList<int> {} << int(z20) << 4 << true;
        QTest::newRow("no list, 4 right in 10 to 99") << QList<int> {} << int(z100) << 4 << true;
        QTest::newRow("short list, 0 points") << QList<int> { 50, 40, 30 } << int(z10) << 0 << true;
        QTest::newRow("ten lines, tie with the last") << tenLines << int(z10) << 2 << false;
        QTest::newRow("ten lines, beating the last") << tenLines << int(z10) << 3 << true;
    }
    void sixtyTicksEndTheDrill()
    {
        QFETCH(QList<int>, lines);
        QFETCH(int, item);
        QFETCH(int, right);
        QFETCH(bool, entry);
        Drill drill;
        QFile file(QDir(drill.fake.program.dir).filePath(QStringLiteral("best2.lst")));
        QVERIFY(lines.isEmpty() || file.open(QIODevice::WriteOnly));
        for (int key : lines)
            file.write(QStringLiteral(" %1  Punkte für  Spieler\r\n").arg(key).toLatin1());
        file.close();
        const QByteArray before = drill.list();
        drill.choose(item);
        // In single precision 10 * r + 10 would give 20 for the largest r below 1.
        drill.fake.random.values = QList<float>(2 * right, 0.0f) << 0.99999994f << 0.99999994f;
        drill.start();
        drill.type(QString::number(drill.range.lowfactor * drill.range.lowfactor).repeated(right) + '5');
        QString stateWhileBoxOpen;
        drill.fake.dialogs.whileOpen = [&] { stateWhileBoxOpen = drill.state(); };
        drill.tick(59);
        QCOMPARE(drill.state() + ' ' + drill.c().Label3->text(), running + " Noch 1 Sekunden");
        drill.tick(1);

        QCOMPARE(drill.list(), before);
        QCOMPARE(drill.fake.dialogs.shown.size(), entry ? 0 : 1);
        const int points = right * drill.range.taskpoints;
        if (!entry) {
            const ShownBox box = drill.fake.dialogs.shown[0];
            const QString noEntry(" Sie haben %1 Punkte erreicht das gibt keinen Eintrag in die Highscoreliste!");
            QCOMPARE(box.prompt, noEntry.arg(points));
            QCOMPARE(box.title + ' ' + QString::number(box.buttons), QStringLiteral("Das könnte noch besser werden 0"));
            QCOMPARE(stateWhileBoxOpen + " / " + drill.state() + drill.labels(), ended + " / " + idle + cleared);
            return;
        }
        QCOMPARE(drill.state(), QStringLiteral("Command1 Text1- Frame1 eins-"));
        QCOMPARE(drill.c().Label5->text(), QStringLiteral("Sie haben %1  Punkte errechnet.").arg(points));
        const QString pointsText = right ? QStringLiteral(" %1 Punkte").arg(points) : QString();
        QCOMPARE(drill.labels(), QStringLiteral(" %1 x %1|%2|Noch 0 Sekunden").arg(drill.highest()).arg(pointsText));
        drill.start(); // the unjudged text waits for the next drill; the countdown until the first tick
        QCOMPARE(drill.c().Text1->text() + drill.c().Label3->text(), QStringLiteral("5Noch 0 Sekunden"));
    }

    // From the start window through drills in 10 to 19: the entry keeps the points of its own drill through a new
    // drill and a failed save; once saved, the range menu stays disabled until a cancel, which resets the window and
    // leaves the typed text for the next drill. A drill closed with the close box drops the waiting entry; the window
    // opens again idle in 1 to 10, and "Programm verlassen" goes back to the start window.
    void playthroughFromStartAndBack()
    {
        Drill drill;
        drill.choose(z20);
        drill.answerRight({ { 12, 12 }, { 15, 11 } });
        drill.tick(60);
        drill.answerRight({ { 11, 11 } }); // Frame1 is still open
        QCOMPARE(drill.state(), QStringLiteral("Command2 Text1 Frame1 eins- Timer1"));
        const QString folder = drill.fake.program.dir;
        drill.fake.program.dir = QDir(folder).filePath(QStringLiteral("gone"));
        QTest::keyClicks(drill.c().Text2, QStringLiteral("Jo"));
        QTest::mouseClick(drill.c().Command3, Qt::LeftButton); // Eintragen
        QVERIFY(drill.fake.dialogs.shown.size() == 1 && !drill.c().Frame1->isHidden()); // told; try again
        drill.fake.program.dir = folder;
        QTest::mouseClick(drill.c().Command3, Qt::LeftButton); // Eintragen
        QCOMPARE(drill.list(), QByteArray(" 6  Punkte f\xfcr  Jo\r\n"));
        QCOMPARE(drill.state(), running);
        drill.tick(60); // 3 points take a place in the one-line list
        QTest::mouseClick(drill.c().Command3, Qt::LeftButton); // Eintragen
        QCOMPARE(drill.state(), ended);

        drill.tasks({ { 12, 13 }, { 10, 10 } });
        drill.start();
        drill.type(QStringLiteral("1561"));
        drill.tick(3);
        QTest::mouseClick(drill.c().Command2, Qt::LeftButton);
        QCOMPARE(drill.state() + drill.labels(), idle + cleared);
        drill.start();
        drill.type(QStringLiteral("00")); // «1» was left over: «100» is right
        QCOMPARE(drill.form().rightanswers, 1);
        drill.tick(60);
        drill.start(); // while the entry of 3 points waits
        drill.c().hilf->trigger();
        const QByteArray twoLines = drill.list();
        drill.form().frame()->close();
        QVERIFY(!drill.form().isLoaded() && drill.startWindow.Visible());
        QCOMPARE(drill.list(), twoLines);

        QTest::mouseClick(drill.startWindow.controls().Command1, Qt::LeftButton);
        QCOMPARE(drill.state() + drill.labels(), idle + cleared);
        QVERIFY(drill.c().z10->isChecked() && !drill.c().z20->isChecked() && !drill.c().z100->isChecked());
        QVERIFY(drill.form().lowfactor == 1 && drill.form().factorspan == 10 && drill.form().taskpoints == 1);
        QVERIFY(drill.c().Frame3->isHidden() && drill.c().Text1->text().isEmpty());
        drill.c().verlass->trigger();
        QVERIFY(!drill.form().isLoaded() && drill.startWindow.Visible() && drill.fake.program.ended == 0);
    }
};

QTEST_MAIN(TestArithmetic)

#include "tst_arithmetic.moc"
