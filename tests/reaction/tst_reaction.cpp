#include "platform/controls.h"
#include "platform/timer.h"
#include "program.h"
#include "reaction/form1.h"
#include "reaction/verdicts.h"
#include "reaction/wrapbutton.h"

#include <QTest>
#include <QtWidgets>

using reaction::Round;
using Click = Round::Click;

namespace {

const QStringList idle { "Command1", "Label1", "Label3" };

// The stopwatch's counter as it reads around a reaction of `milliseconds`: calibration (two reads), Start, Halt.
void scriptReaction(FakeCounter &counter, double milliseconds)
{
    const quint64 shown = 7'000'000'000;
    counter.readings = { shown, shown, shown, shown + quint64(qRound64(milliseconds * 1'000'000)) };
}

// The buttons that take clicks, the circle and labels shown, and Timer1 where it runs.
QStringList view(const Form1::Controls &c)
{
    QStringList shown;
    for (QWidget *w : std::initializer_list<QWidget *> { c.Command1, c.Command3, c.Shape1, c.Label1, c.Label3 })
        if (!w->isHidden() && w->isEnabled())
            shown << w->objectName();
    return c.Timer1->Enabled() ? shown << "Timer1" : shown;
}

// Notes how many counter reads had been made at each paint of the widget it watches.
struct PaintWatch : QObject
{
    const FakeCounter *counter;
    QList<int> readsAtPaint;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            readsAtPaint << counter->reads;
        return false;
    }
};

} // namespace

class TestReaction : public QObject
{
    Q_OBJECT

private slots:
    // The window as designed, at load: each control by its design name, with its geometry in twips, caption and tip.
    void design()
    {
        const std::tuple<QString, QRect, QString, QString> design[] = {
            { "Label2", { 480, 0, 4815, 735 },
                "Testen Sie Ihre Reaktionszeit, indem Sie nach dem Erscheinen eines roten Kreises sofort auf den "
                "Button unten in der Mitte klicken.",
                "" },
            { "Label4", { 360, 840, 5535, 615 },
                "Auf meiner Homepage finden Sie noch viel mehr solcher kleinen \"nützlichen\" Programme. Dort gibt's "
                "auch jede Menge Scherzprogramme mit denen Sie Ihre \"besten Freunde\" ärgern können.",
                "" },
            { "Shape1", { 2160, 1920, 1815, 1215 }, "", "" },
            { "Label1", { 240, 3240, 1935, 255 }, "Ihre Reaktionszeit ist", "" },
            { "Label3", { 2280, 3240, 1935, 255 }, "", "" },
            { "Command3", { 1800, 3960, 2175, 1095 },
                "Sobald Sie den Kreis sehen, klicken Sie mit der linken Maustaste auf dieses Feld.",
                "Bitte volle Konzentration" },
            { "Command1", { 0, 4440, 1215, 375 }, "Ich bin bereit", "Los geht's" },
            { "Command2", { 4440, 4440, 1575, 375 }, "Kein Bock mehr", "Programm beenden" },
        };
        Program program;
        Form1 &form = program.open<Form1>(TestWindow::Reaction);
        const Form1::Controls &c = form.controls();
        QCOMPARE(std::tuple(form.frame()->windowTitle(), form.client()->size(), view(c), c.reak->text().isEmpty()),
            std::tuple(QStringLiteral("Reaktionstest"), QSize(423, 343), QStringList({ "Command1", "Label3" }), false));
        for (const auto &[name, twips, caption, tip] : design) {
            const auto *control = form.frame()->findChild<QWidget *>(name);
            const QRect pixels = platform::twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
            QCOMPARE(std::tuple(name, control->geometry(), control->property("text").toString(), control->toolTip()),
                std::tuple(name, pixels, caption, tip));
        }
    }

    // Int(Rnd * 5000 + 1000) in double: in single precision the largest Rnd below 1 would wait 6000 ms.
    void wait_data()
    {
        QTest::addColumn<float>("rnd");
        QTest::addColumn<int>("wait");
        QTest::newRow("Rnd 0") << 0.0f << 1000;
        QTest::newRow("largest Rnd") << 0.99999994f << 5999;
    }
    void wait()
    {
        QFETCH(float, rnd);
        FakeServices fake;
        fake.random.values = { rnd };
        Round round(fake.random, fake.counter);
        round.clicks = 2;
        round.reactiontime = 1;
        QTEST(round.start(), "wait");
        QCOMPARE(std::tuple(round.state, round.clicks, round.reactiontime), std::tuple(Round::State::Waiting, 0, 0.0f));
    }

    // The clicks of a round, and the time kept: the stopwatch's milliseconds less 50, in seconds.
    void clicks_data()
    {
        QTest::addColumn<int>("early");
        QTest::addColumn<double>("stopwatch"); // no circle when negative
        QTest::addColumn<QList<Click>>("outcomes");
        QTest::addColumn<float>("seconds");
        QTest::newRow("three early clicks")
            << 3 << -1.0 << QList { Click::Early, Click::Early, Click::Cheated } << 0.0f;
        QTest::newRow("two early, then measured")
            << 2 << 400.0 << QList { Click::Early, Click::Early, Click::Measured } << 0.35f;
        QTest::newRow("below 50 ms: negative") << 0 << 30.0 << QList { Click::Measured } << -0.02f;
    }
    void clicks()
    {
        QFETCH(int, early);
        QFETCH(double, stopwatch);
        FakeServices fake;
        Round round(fake.random, fake.counter);
        round.start();
        QList<Click> outcomes;
        while (early-- > 0)
            outcomes << round.click();
        if (stopwatch >= 0) {
            scriptReaction(fake.counter, stopwatch);
            round.circleShown();
            outcomes << round.click();
        }
        QTEST(outcomes, "outcomes");
        QTEST(round.reactiontime, "seconds");
    }

    // Bands from each bound to just below the next; in between, Rnd below a half picks the band's first comment and
    // from a half its second. The bounds are floats like the time: 0.7f, below the double 0.7, opens its band.
    void ratereaction_data()
    {
        QTest::addColumn<float>("seconds");
        QTest::addColumn<float>("rnd");
        QTest::addColumn<short>("index");
        const float bounds[] = { 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f };
        const auto below = [](float bound) { return std::nextafter(bound, 0.0f); };
        QTest::newRow("negative") << -0.02f << 0.9f << short(0);
        QTest::newRow("just below 0.1") << below(0.1f) << 0.9f << short(0);
        for (short band = 1; band < 8; ++band) {
            QTest::addRow("%.1f, Rnd below 0.5", bounds[band - 1])
                << bounds[band - 1] << 0.49999997f << short(2 * band - 1);
            QTest::addRow("below %.1f, Rnd 0.5", bounds[band]) << below(bounds[band]) << 0.5f << short(2 * band);
        }
        QTest::newRow("0.8") << 0.8f << 0.0f << short(15);
    }
    void ratereaction()
    {
        QFETCH(float, seconds);
        QFETCH(float, rnd);
        QFETCH(short, index);
        FakeServices fake;
        fake.random.values = { rnd };
        Round round(fake.random, fake.counter);
        round.reactiontime = seconds;
        round.ratereaction();
        const int draws = index % 15 ? 1 : 0; // none below 0.1 s and from 0.8 s
        QCOMPARE(std::tuple(round.verdictindex, round.verdicttext, fake.random.drawn),
            std::tuple(index, reaction::verdictText(index), draws));
    }

    // From the start window: a round whose circle is painted before the stopwatch reads its counter, the verdict box
    // with the result caption but not yet the time, the result; a round with two early clicks; "Kein Bock mehr".
    void playthrough()
    {
        Program program;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Form1 &form = program.open<Form1>(TestWindow::Reaction);
        const Form1::Controls &c = form.controls();
        QVERIFY(QTest::qWaitForWindowExposed(form.frame()));
        PaintWatch circle;
        circle.counter = &program.fake.counter;
        c.Shape1->installEventFilter(&circle);
        program.fake.random.values = { 0.5f, 0.0f }; // the wait, then the comment's draw
        scriptReaction(program.fake.counter, 284.4);
        QTest::mouseClick(c.Command1, Qt::LeftButton);
        QCOMPARE(std::pair(view(c), c.Timer1->Interval()), std::pair(QStringList({ "Command3", "Timer1" }), 3500));
        c.Timer1->tick();
        QCOMPARE(std::pair(view(c), circle.readsAtPaint),
            std::pair(QStringList({ "Command3", "Shape1" }), QList<int> { 0 }));
        QStringList whileBoxOpen;
        program.fake.dialogs.whileOpen = [&] { whileBoxOpen = view(c); };
        QTest::mouseClick(c.Command3, Qt::LeftButton);
        const ShownBox box = program.fake.dialogs.shown.value(0);
        QCOMPARE(std::tuple(box.prompt, box.buttons, box.title),
            std::tuple(QStringLiteral(" Hervorragende Zeit. Sie sind echt gut "), 48, QStringLiteral("Auswertung")));
        QCOMPARE(std::tuple(whileBoxOpen, view(c), c.Label3->text()),
            std::tuple(QStringList({ "Command3", "Shape1", "Label1" }), idle, QStringLiteral("0,234 Sekunden")));
        // The field's face is flat light grey, also while disabled.
        QCOMPARE(c.Command3->grab().toImage().pixelColor(6, 6), QColor(192, 192, 192));

        program.fake.random.values = { 0.75f };
        scriptReaction(program.fake.counter, 400);
        QTest::mouseClick(c.Command1, Qt::LeftButton);
        QTest::mouseClick(c.Command3, Qt::LeftButton);
        QTest::mouseClick(c.Command3, Qt::LeftButton);
        QCOMPARE(std::tuple(view(c), c.Timer1->Interval(), program.fake.dialogs.shown.size()),
            std::tuple(QStringList({ "Command3", "Timer1" }), 4750, 1));
        c.Timer1->tick();
        QTest::mouseClick(c.Command3, Qt::LeftButton); // the third click, with the circle up: measured
        QCOMPARE(std::tuple(c.Label3->text(), program.fake.dialogs.shown.size()),
            std::tuple(QStringLiteral("0,350 Sekunden"), 2));
        QTest::mouseClick(c.Command2, Qt::LeftButton);
        QVERIFY(!form.isLoaded() && program.start().Visible() && program.fake.program.ended == 0);
    }

    // The third click before the circle: the rebuke, then the program ends at once, with nothing else run.
    void threeEarlyClicks()
    {
        Program program;
        const Form1::Controls &c = program.open<Form1>(TestWindow::Reaction).controls();
        QTest::mouseClick(c.Command1, Qt::LeftButton);
        for (int click = 0; click < 3; ++click)
            QTest::mouseClick(c.Command3, Qt::LeftButton);
        const ShownBox box = program.fake.dialogs.shown.value(0);
        QCOMPARE(std::tuple(box.prompt, box.buttons, box.title),
            std::tuple(
                QStringLiteral(
                    "Man sollte nur drücken wenn man den Kreis sieht. Selbst schuld wenn Sie bescheissen wollen. "),
                48, QStringLiteral("und tschüss")));
        QCOMPARE(std::tuple(
                     program.fake.program.ended, program.fake.counter.reads, program.fake.program.startShown, view(c)),
            std::tuple(1, 0, 0, QStringList({ "Command3", "Timer1" })));
    }

    // Closed while the verdict is shown: the round ends quietly, and the window opens again idle.
    void closedBehindTheVerdict()
    {
        Program program;
        Form1 &form = program.open<Form1>(TestWindow::Reaction);
        QTest::mouseClick(form.controls().Command1, Qt::LeftButton);
        form.controls().Timer1->tick();
        program.fake.dialogs.whileOpen = [&] { form.frame()->close(); };
        QTest::mouseClick(form.controls().Command3, Qt::LeftButton);
        QVERIFY(!form.isLoaded() && program.start().Visible());
        program.open<Form1>(TestWindow::Reaction);
        QCOMPARE(std::pair(view(form.controls()), program.fake.program.ended),
            std::pair(QStringList({ "Command1", "Label3" }), 0));
    }
};

QTEST_MAIN(TestReaction)

#include "tst_reaction.moc"
