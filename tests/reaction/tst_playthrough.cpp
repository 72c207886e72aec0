#include "fakeservices.h"
#include "platform/timer.h"
#include "reaction/form1.h"
#include "reaction/wrapbutton.h"
#include "shell/registry.h"
#include "shell/start.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

// The reaction test as the program wires it: opened from the start window,
// played, and left again.
class PlaythroughTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void playFromStartAndBack_data();
    void playFromStartAndBack();

private:
    Form1 *openReactionTest();

    std::unique_ptr<FakeServices> fake;
    std::unique_ptr<WindowRegistry> registry;
};

void PlaythroughTest::init()
{
    fake = std::make_unique<FakeServices>();
    registry = std::make_unique<WindowRegistry>(fake->services);
    fake->program.onShowStart = [this] { registry->start().setVisible(true); };
    registry->start().setVisible(true);
}

void PlaythroughTest::cleanup()
{
    registry.reset();
    fake.reset();
}

Form1 *PlaythroughTest::openReactionTest()
{
    QTest::mouseClick(registry->start().controls().Command2, Qt::LeftButton);
    return dynamic_cast<Form1 *>(registry->test(TestWindow::Reaction));
}

void PlaythroughTest::playFromStartAndBack_data()
{
    QTest::addColumn<bool>("byCloseBox");
    QTest::newRow("Kein Bock mehr") << false;
    QTest::newRow("close box") << true;
}

void PlaythroughTest::playFromStartAndBack()
{
    QFETCH(bool, byCloseBox);
    Start &start = registry->start();

    Form1 *form = openReactionTest();
    QVERIFY(form);
    QVERIFY(form->Visible());
    QVERIFY(!start.Visible());
    QVERIFY(start.isLoaded()); // only hidden while the reaction test runs

    fake->random.values = { 0.0f, 0.0f };
    fake->counter.readings = { 0, 0, 0, 321 * 1'000'000 };
    QTest::mouseClick(form->controls().Command1, Qt::LeftButton);
    form->controls().Timer1->tick();
    QTest::mouseClick(form->controls().Command3, Qt::LeftButton);
    QCOMPARE(fake->dialogs.shown.size(), 1);
    QCOMPARE(fake->dialogs.shown.first().title, QStringLiteral("Auswertung"));
    QCOMPARE(form->controls().Label3->text(), QStringLiteral("0,271 Sekunden"));

    if (byCloseBox)
        form->frame()->close();
    else
        QTest::mouseClick(form->controls().Command2, Qt::LeftButton);
    QVERIFY(!form->isLoaded());
    QVERIFY(start.Visible());
    QCOMPARE(fake->program.ended, 0);

    // Again, into the same window object, Idle.
    QCOMPARE(openReactionTest(), form);
    QVERIFY(form->Visible());
    QVERIFY(!start.Visible());
    QVERIFY(form->controls().Command1->isEnabled());
    QVERIFY(!form->controls().Command3->isEnabled());
    QVERIFY(!form->controls().Timer1->Enabled());
}

QObject *makePlaythroughTest()
{
    return new PlaythroughTest;
}

#include "tst_playthrough.moc"
