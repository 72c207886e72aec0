#include "fakeservices.h"
#include "platform/controls.h"
#include "platform/timer.h"
#include "reaction/form1.h"
#include "reaction/verdicts.h"
#include "reaction/wrapbutton.h"
#include "shell/registry.h"
#include "shell/start.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <limits>

namespace {

const QString verdictTitle = QStringLiteral("Auswertung");
constexpr int okWithExclamation = 48;
constexpr float highestRnd = 0.99999994f; // the largest float below 1

float justBelow(float bound)
{
    return std::nextafter(bound, -std::numeric_limits<float>::infinity());
}

void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

// The stopwatch reads as it would around a reaction of `milliseconds`:
// calibration (two reads, no cost), Start, then Halt.
void scriptReaction(FakeCounter &counter, double milliseconds)
{
    const quint64 shown = 7'000'000'000;
    counter.readings = { shown, shown, shown, shown + quint64(qRound64(milliseconds * 1'000'000)) };
}

// Notes how many counter reads had been made when the watched widget was first painted.
struct PaintWatch : QObject
{
    const FakeCounter *counter = nullptr;
    int readsAtFirstPaint = -1;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && readsAtFirstPaint < 0)
            readsAtFirstPaint = counter->reads;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

// The reaction test as the program wires it: opened from the start window with
// fake dialogs, random numbers and counter.
class ReactionTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ratereactionBands_data();
    void ratereactionBands();
    void verdictTextsHaveOneBlankAtEachEnd();

    void fullRoundThenTwoEarlyClicksAndAMeasuredOne_data();
    void fullRoundThenTwoEarlyClicksAndAMeasuredOne();
    void threeEarlyClicksEndTheProgram();
    void leavingDuringTheWait_data();
    void leavingDuringTheWait();
    void closingBehindTheVerdictBox();

private:
    Form1 *openReactionTest();

    std::unique_ptr<FakeServices> fake;
    std::unique_ptr<WindowRegistry> registry;
    Form1 *form = nullptr;
};

void ReactionTest::init()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    fake = std::make_unique<FakeServices>();
    registry = std::make_unique<WindowRegistry>(fake->services);
    fake->program.onShowStart = [this] { registry->start().setVisible(true); };
    registry->start().setVisible(true);
    form = openReactionTest();
    QVERIFY(form);
}

void ReactionTest::cleanup()
{
    registry.reset();
    fake.reset();
}

Form1 *ReactionTest::openReactionTest()
{
    click(registry->start().controls().Command2);
    return &static_cast<Form1 &>(registry->test(TestWindow::Reaction));
}

void ReactionTest::ratereactionBands_data()
{
    QTest::addColumn<float>("seconds");
    QTest::addColumn<float>("rnd");
    QTest::addColumn<short>("index");
    QTest::addColumn<int>("draws");

    QTest::newRow("negative") << -0.02f << 0.9f << short(0) << 0;
    QTest::newRow("0.099") << 0.099f << 0.9f << short(0) << 0;
    QTest::newRow("just below 0.1") << justBelow(0.1f) << 0.9f << short(0) << 0;
    // Every band from its bound to just below the next: Rnd below a half picks
    // its first comment, from a half on its second. The bounds are floats like
    // the time: 0.7f lies below the double 0.7 and must still open its band.
    const float bounds[] = { 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f };
    for (int band = 0; band < 7; ++band) {
        const float low = bounds[band];
        const float high = bounds[band + 1];
        const short first = short(2 * band + 1);
        QTest::addRow("%.1f, Rnd just below 0.5", double(low)) << low << 0.49999997f << first << 1;
        QTest::addRow("below %.1f, Rnd 0.5", double(high)) << justBelow(high) << 0.5f << short(first + 1) << 1;
    }
    QTest::newRow("0.8") << 0.8f << 0.0f << short(15) << 0;
    QTest::newRow("5") << 5.0f << 0.0f << short(15) << 0;
}

void ReactionTest::ratereactionBands()
{
    QFETCH(float, seconds);
    QFETCH(float, rnd);
    QFETCH(short, index);
    QFETCH(int, draws);

    fake->random.values = { rnd };
    form->reactiontime = seconds;
    form->ratereaction();
    QCOMPARE(form->verdictindex, index);
    QCOMPARE(form->verdicttext, reaction::verdictText(index));
    QCOMPARE(fake->random.drawn, draws);
}

void ReactionTest::verdictTextsHaveOneBlankAtEachEnd()
{
    for (short index = 0; index < reaction::verdictCount; ++index) {
        const QString &text = reaction::verdictText(index);
        const bool oneBlankAtEachEnd
            = text.startsWith(' ') && text.endsWith(' ') && text.trimmed().size() == text.size() - 2;
        QVERIFY2(oneBlankAtEachEnd, qPrintable(text));
    }
}

void ReactionTest::fullRoundThenTwoEarlyClicksAndAMeasuredOne_data()
{
    QTest::addColumn<float>("waitRnd");
    QTest::addColumn<int>("wait");
    QTest::addColumn<double>("stopwatchMs");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("verdict");

    // The fixed 50 ms come off every time; below 50 ms the time is negative.
    const QString fast = " Hervorragende Zeit. Sie sind echt gut ";
    QTest::newRow("shortest wait") << 0.0f << 1000 << 284.4 << "0,234 Sekunden" << fast;
    QTest::newRow("longest wait") << highestRnd << 5999 << 284.6 << "0,235 Sekunden" << fast;
    QTest::newRow("negative time") << 0.5f << 3500 << 30.0 << "-0,020 Sekunden"
                                   << " Sie sind der Knaller, das macht Ihnen so schnell keiner nach ";
}

void ReactionTest::fullRoundThenTwoEarlyClicksAndAMeasuredOne()
{
    QFETCH(float, waitRnd);
    QFETCH(int, wait);
    QFETCH(double, stopwatchMs);
    QFETCH(QString, shown);
    QFETCH(QString, verdict);

    const Form1::Controls &c = form->controls();
    QVERIFY(QTest::qWaitForWindowExposed(form->frame()));
    PaintWatch circle;
    circle.counter = &fake->counter;
    c.Shape1->installEventFilter(&circle);
    fake->random.values = { waitRnd, 0.0f }; // the wait, then the comment's draw
    scriptReaction(fake->counter, stopwatchMs);

    click(c.Command1);
    QCOMPARE(c.Timer1->Interval(), wait);
    QVERIFY(c.Timer1->Enabled());
    c.Timer1->tick();
    QVERIFY(!c.Shape1->isHidden());
    QVERIFY(!c.Timer1->Enabled());
    // No event is handled between the tick and the stopwatch's reads, so the
    // circle must have been painted inside the tick, before the first read.
    QCOMPARE(circle.readsAtFirstPaint, 0);

    // While the verdict is up, the result caption shows and the time waits behind the box.
    bool captionWithoutTimeWhileOpen = false;
    fake->dialogs.whileOpen = [&] { captionWithoutTimeWhileOpen = !c.Label1->isHidden() && c.Label3->isHidden(); };
    click(c.Command3);
    QVERIFY(captionWithoutTimeWhileOpen);
    fake->dialogs.whileOpen = nullptr;
    QCOMPARE(fake->dialogs.shown.size(), 1);
    QCOMPARE(fake->dialogs.shown.first().prompt, verdict);
    QCOMPARE(fake->dialogs.shown.first().title, verdictTitle);
    QCOMPARE(fake->dialogs.shown.first().buttons, okWithExclamation);

    // Idle, with the result on show.
    QCOMPARE(c.Label3->text(), shown);
    QVERIFY(!c.Label1->isHidden() && !c.Label3->isHidden());
    QVERIFY(c.Shape1->isHidden());
    QVERIFY(c.Command1->isEnabled() && !c.Command3->isEnabled());

    // The next round draws its own wait, hides the result and counts early
    // clicks anew; two of them neither stop nor restart the wait.
    fake->random.values = { 0.75f };
    scriptReaction(fake->counter, 400);
    click(c.Command1);
    QVERIFY(c.Label1->isHidden() && c.Label3->isHidden());
    click(c.Command3);
    click(c.Command3);
    QCOMPARE(fake->dialogs.shown.size(), 1);
    QVERIFY(c.Timer1->Enabled());
    QCOMPARE(c.Timer1->Interval(), 4750);
    c.Timer1->tick();
    click(c.Command3); // the third click, but the circle is up: measured
    QCOMPARE(fake->dialogs.shown.size(), 2);
    QCOMPARE(c.Label3->text(), QStringLiteral("0,350 Sekunden"));
    QCOMPARE(fake->program.ended, 0);
}

void ReactionTest::threeEarlyClicksEndTheProgram()
{
    const Form1::Controls &c = form->controls();
    click(c.Command1);
    click(c.Command3);
    click(c.Command3);
    click(c.Command3);

    QCOMPARE(fake->dialogs.shown.size(), 1);
    const ShownBox &box = fake->dialogs.shown.first();
    QCOMPARE(box.prompt,
        QStringLiteral("Man sollte nur drücken wenn man den Kreis sieht. Selbst schuld wenn Sie bescheissen wollen. "));
    QCOMPARE(box.title, QStringLiteral("und tschüss"));
    QCOMPARE(box.buttons, okWithExclamation);
    QCOMPARE(fake->program.ended, 1);

    // Nothing else ran: no measurement, no verdict, no way back to Start.
    QCOMPARE(fake->random.drawn, 1);
    QCOMPARE(fake->counter.reads, 0);
    QVERIFY(c.Label1->isHidden() && c.Label3->text().isEmpty());
    QCOMPARE(fake->program.startShown, 0);
    QVERIFY(form->isLoaded());
}

void ReactionTest::leavingDuringTheWait_data()
{
    QTest::addColumn<bool>("byCloseBox");
    QTest::newRow("Kein Bock mehr") << false;
    QTest::newRow("close box") << true;
}

void ReactionTest::leavingDuringTheWait()
{
    QFETCH(bool, byCloseBox);

    click(form->controls().Command1);
    click(form->controls().Command3); // one early click
    if (byCloseBox)
        form->frame()->close();
    else
        click(form->controls().Command2);
    QVERIFY(!form->isLoaded());
    QVERIFY(registry->start().Visible());
    QCOMPARE(fake->program.ended, 0);

    // Reopened: the same window, Idle, the old wait gone with its controls.
    QCOMPARE(openReactionTest(), form);
    const Form1::Controls &c = form->controls();
    QVERIFY(!c.Timer1->Enabled());
    QVERIFY(c.Command1->isEnabled() && !c.Command3->isEnabled());
    QVERIFY(c.Shape1->isHidden() && c.Label1->isHidden());
    // And it plays as before.
    click(c.Command1);
    c.Timer1->tick();
    click(c.Command3);
    QCOMPARE(fake->dialogs.shown.size(), 1);
}

void ReactionTest::closingBehindTheVerdictBox()
{
    // The round ends quietly; nothing touches the controls gone with the window.
    click(form->controls().Command1);
    form->controls().Timer1->tick();
    fake->dialogs.whileOpen = [this] { form->frame()->close(); };
    click(form->controls().Command3);
    QVERIFY(!form->isLoaded());
    QVERIFY(registry->start().Visible());
    QCOMPARE(fake->program.ended, 0);
}

QTEST_MAIN(ReactionTest)

#include "tst_reaction.moc"
