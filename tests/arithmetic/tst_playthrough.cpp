#include "drillfixture.h"
#include "shell/registry.h"
#include "shell/start.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace fixture;

namespace {

// The whole program on fake services, started into its start window.
struct Program
{
    FakeServices fake;
    WindowRegistry registry { fake.services };
    Start &start = registry.start();

    Program()
    {
        fake.program.onShowStart = [this] { start.setVisible(true); };
        start.setVisible(true);
    }
    Form4 &openArithmetic()
    {
        QTest::mouseClick(start.controls().Command1, Qt::LeftButton);
        return *static_cast<Form4 *>(registry.test(TestWindow::Arithmetic));
    }
};

} // namespace

class TestPlaythrough : public QObject
{
    Q_OBJECT

private slots:
    void kopfrechnenOpensTheDrillAndUnloadsStart();
    void drillToSavedEntryAndBack();
};

void TestPlaythrough::kopfrechnenOpensTheDrillAndUnloadsStart()
{
    Program program;
    Form4 &form = program.openArithmetic();
    QVERIFY(form.Visible());
    QVERIFY(!program.start.isLoaded());
    QCOMPARE(program.fake.random.seeded, 1);
    QCOMPARE(rangeMarks(form), QList<bool>({ true, false, false }));
    QCOMPARE(program.fake.program.ended, 0);

    form.frame()->close();
    QVERIFY(program.start.Visible());
    QVERIFY(!form.isLoaded());
    QCOMPARE(program.fake.program.ended, 0);
}

void TestPlaythrough::drillToSavedEntryAndBack()
{
    Program program;
    Form4 &form = program.openArithmetic();
    const Form4::Controls &c = form.controls();
    c.z20->trigger();
    scriptTasks(program.fake.random, { { 12, 12 }, { 15, 11 }, { 19, 10 } }, drill::tenToTwenty);
    QTest::mouseClick(c.Command1, Qt::LeftButton);
    typeKeys(c.Text1, QStringLiteral("144"));
    typeKeys(c.Text1, QStringLiteral("165"));
    QCOMPARE(c.Label2->text(), QStringLiteral(" 6 Punkte"));
    for (int second = 0; second < 60; ++second)
        form.Timer1_Timer();

    QVERIFY(!c.Frame1->isHidden());
    QCOMPARE(c.Label5->text(), QStringLiteral("Sie haben 6  Punkte errechnet."));
    QTest::keyClicks(c.Text2, QStringLiteral("J"));
    QTest::sendKeyEvent(QTest::Click, c.Text2, Qt::Key_Odiaeresis, QStringLiteral("ö"), Qt::NoModifier);
    QTest::keyClicks(c.Text2, QStringLiteral("rg"));
    QTest::mouseClick(c.Command3, Qt::LeftButton);
    QCOMPARE(readList(program.fake), QByteArray(" 6  Punkte f\xfcr  J\xf6rg\r\n"));

    c.lis->trigger();
    QCOMPARE(c.List1->item(0)->text(), QStringLiteral(" 6  Punkte für  Jörg"));

    c.verlass->trigger();
    QVERIFY(!form.isLoaded());
    QVERIFY(program.start.Visible());
    QCOMPARE(program.fake.program.ended, 0);
    QVERIFY(program.fake.dialogs.shown.isEmpty());

    // Back again: the list is still there, the window starts idle.
    Form4 &again = program.openArithmetic();
    QCOMPARE(&again, &form);
    QVERIFY(again.controls().Frame1->isHidden());
    QVERIFY(again.controls().Text2->text().isEmpty());
    QCOMPARE(readList(program.fake), QByteArray(" 6  Punkte f\xfcr  J\xf6rg\r\n"));
}

QObject *makePlaythroughTest()
{
    return new TestPlaythrough;
}

#include "tst_playthrough.moc"
