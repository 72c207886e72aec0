#include "fakeservices.h"
#include "platform/controls.h"
#include "platform/timer.h"
#include "reaction/form1.h"
#include "reaction/verdicts.h"
#include "reaction/wrapbutton.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

namespace {

const QString verdictTitle = QStringLiteral("Auswertung");
const QString rebukeTitle = QStringLiteral("und tschüss");
const QString rebukePrompt
    = QStringLiteral("Man sollte nur drücken wenn man den Kreis sieht. Selbst schuld wenn Sie bescheissen wollen. ");
constexpr quint64 nsPerMs = 1'000'000;

QWidget *control(const Form1 &form, const QString &name)
{
    const Form1::Controls &c = form.controls();
    const QHash<QString, QWidget *> byName = {
        { "Label2", c.Label2 },
        { "Label4", c.Label4 },
        { "Shape1", c.Shape1 },
        { "Label1", c.Label1 },
        { "Label3", c.Label3 },
        { "Command3", c.Command3 },
        { "Command1", c.Command1 },
        { "Command2", c.Command2 },
    };
    return byName.value(name);
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
    counter.readings = { shown, shown, shown, shown + quint64(qRound64(milliseconds * nsPerMs)) };
}

// Counts the paints of one widget.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget)
        : QObject(widget)
    {
        widget->installEventFilter(this);
    }
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// A counter that notes, at every read, how often the circle has been painted.
class PaintAwareCounter : public platform::Counter
{
public:
    quint64 now() override
    {
        paintsAtRead << (circle ? circle->paints : -1);
        return 0;
    }
    quint64 frequency() override { return 1'000'000'000; }

    PaintCounter *circle = nullptr;
    QList<int> paintsAtRead;
};

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowAtLoad();
    void controlsAtDesignValues_data();
    void controlsAtDesignValues();
    void colours();
    void textsFitTheirBoxes();
    void menu();

    void roundStarts_data();
    void roundStarts();
    void waitIsDrawnAnewEachRound();
    void tickShowsCircleAndStartsStopwatch();
    void circleIsPaintedBeforeStopwatchStarts();
    void fullRound();
    void measuredTime_data();
    void measuredTime();
    void twoEarlyClicksThenMeasured();
    void thirdEarlyClickEndsProgram_data();
    void thirdEarlyClickEndsProgram();
    void stopwatchIsKeptAcrossRounds();

    void leavingDuringWait_data();
    void leavingDuringWait();
    void closingBehindVerdictBox();

private:
    void startRound(float rnd = 0.5f);
    void tick();

    std::unique_ptr<FakeServices> fake;
    std::unique_ptr<Form1> form;
};

void Form1Test::init()
{
    fake = std::make_unique<FakeServices>();
    form = std::make_unique<Form1>(fake->services);
    form->setVisible(true);
}

void Form1Test::cleanup()
{
    form.reset();
    fake.reset();
}

void Form1Test::startRound(float rnd)
{
    fake->random.values.prepend(rnd);
    click(form->controls().Command1);
}

void Form1Test::tick()
{
    form->controls().Timer1->tick();
}

void Form1Test::windowAtLoad()
{
    QCOMPARE(form->frame()->windowTitle(), QStringLiteral("Reaktionstest"));
    QCOMPARE(form->client()->size(), QSize(platform::px(6345), platform::px(5145)));
    QCOMPARE(fake->random.seeded, 1);
    QVERIFY(!form->controls().Timer1->Enabled());
}

void Form1Test::controlsAtDesignValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("Label2") << "Label2" << QRect(480, 0, 4815, 735)
                            << "Testen Sie Ihre Reaktionszeit, indem Sie nach dem Erscheinen eines roten Kreises "
                               "sofort auf den Button unten in der Mitte klicken."
                            << "" << true << true;
    QTest::newRow("Label4") << "Label4" << QRect(360, 840, 5535, 615)
                            << "Auf meiner Homepage finden Sie noch viel mehr solcher kleinen \"nützlichen\" "
                               "Programme. Dort gibt's auch jede Menge Scherzprogramme mit denen Sie Ihre "
                               "\"besten Freunde\" ärgern können."
                            << "" << true << true;
    QTest::newRow("Shape1") << "Shape1" << QRect(2160, 1920, 1815, 1215) << ""
                            << "" << false << true;
    QTest::newRow("Label1") << "Label1" << QRect(240, 3240, 1935, 255) << "Ihre Reaktionszeit ist"
                            << "" << false << true;
    QTest::newRow("Label3") << "Label3" << QRect(2280, 3240, 1935, 255) << ""
                            << "" << true << true;
    QTest::newRow("Command3") << "Command3" << QRect(1800, 3960, 2175, 1095)
                              << "Sobald Sie den Kreis sehen, klicken Sie mit der linken Maustaste auf dieses Feld."
                              << "Bitte volle Konzentration" << true << false;
    QTest::newRow("Command1") << "Command1" << QRect(0, 4440, 1215, 375) << "Ich bin bereit"
                              << "Los geht's" << true << true;
    QTest::newRow("Command2") << "Command2" << QRect(4440, 4440, 1575, 375) << "Kein Bock mehr"
                              << "Programm beenden" << true << true;
}

void Form1Test::controlsAtDesignValues()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(bool, shown);
    QFETCH(bool, enabled);

    QWidget *widget = control(*form, name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), platform::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), text);
    if (auto *button = qobject_cast<QPushButton *>(widget))
        QCOMPARE(button->text(), text);
    QCOMPARE(widget->toolTip(), toolTip);
    QCOMPARE(!widget->isHidden(), shown);
    QCOMPARE(widget->isEnabled(), enabled);
}

void Form1Test::colours()
{
    const Form1::Controls &c = form->controls();
    QVERIFY(c.Label2->font().bold());
    QCOMPARE(c.Label4->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(c.Command3->palette().color(QPalette::Button), QColor(192, 192, 192));
    // The field's face is flat light grey, top to bottom.
    const QImage field = c.Command3->grab().toImage();
    QCOMPARE(field.pixelColor(6, 6), QColor(192, 192, 192));
    QCOMPARE(field.pixelColor(6, field.height() - 7), QColor(192, 192, 192));
    // Disabled, its sentence stays readable: some of it is clearly darker than the face.
    int darkest = 255;
    for (int y = 6; y < field.height() - 6; ++y) {
        for (int x = 6; x < field.width() - 6; ++x)
            darkest = std::min(darkest, qGray(field.pixel(x, y)));
    }
    QVERIFY2(darkest < 140, qPrintable(QString::number(darkest)));

    // The circle: red in its middle, the window's own background in the corners of its box.
    c.Shape1->show();
    const QImage circle = c.Shape1->grab().toImage();
    QCOMPARE(circle.pixelColor(circle.rect().center()), QColor(255, 0, 0));
    QVERIFY(circle.pixelColor(0, 0) != QColor(255, 0, 0));
}

void Form1Test::textsFitTheirBoxes()
{
    const Form1::Controls &c = form->controls();
    c.Label1->show();
    c.Label3->setText("-12,345 Sekunden");
    for (QLabel *label : { c.Label2, c.Label4, c.Label1, c.Label3 })
        QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(label->text()));
    // The field's sentence wraps inside the button's face.
    const QRect face = c.Command3->rect().adjusted(5, 5, -5, -5);
    const QRect needed
        = c.Command3->fontMetrics().boundingRect(face, Qt::AlignCenter | Qt::TextWordWrap, c.Command3->text());
    QVERIFY(face.contains(needed));
    QVERIFY(c.Label2->font().pointSizeF() >= 7);
    QVERIFY(c.Label4->font().pointSizeF() >= 7);
}

void Form1Test::menu()
{
    const QList<QAction *> titles = form->frame()->menuBar()->actions();
    QCOMPARE(titles.size(), 1);
    QCOMPARE(titles.first()->text(), QStringLiteral("INFO"));
    const QList<QAction *> entries = titles.first()->menu()->actions();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first(), form->controls().reak);
    QCOMPARE(entries.first()->text(), QStringLiteral("Reaktionstest, Version " KORVANE_VERSION));

    // The entry does nothing when chosen.
    entries.first()->trigger();
    QVERIFY(form->Visible());
    QVERIFY(fake->dialogs.shown.isEmpty());
}

void Form1Test::roundStarts_data()
{
    QTest::addColumn<float>("rnd");
    QTest::addColumn<int>("wait");

    QTest::newRow("lowest") << 0.0f << 1000;
    QTest::newRow("just above lowest") << 0.0003f << 1001;
    QTest::newRow("middle") << 0.5f << 3500;
    QTest::newRow("highest") << 0.99999994f << 5999;
}

void Form1Test::roundStarts()
{
    QFETCH(float, rnd);
    QFETCH(int, wait);

    // Left-overs of an earlier round that the new one must clear.
    form->clicks = 2;
    form->reactiontime = 0.4f;
    const Form1::Controls &c = form->controls();
    c.Label1->show();
    c.Label3->setText("0,400 Sekunden");

    startRound(rnd);
    QCOMPARE(fake->random.drawn, 1);
    QCOMPARE(c.Timer1->Interval(), wait);
    QVERIFY(c.Timer1->Enabled());
    QCOMPARE(form->clicks, short(0));
    QCOMPARE(form->reactiontime, 0.0f);
    QVERIFY(c.Command3->isEnabled());
    QVERIFY(!c.Command1->isEnabled());
    QVERIFY(c.Label1->isHidden());
    QVERIFY(c.Label3->isHidden());
    QVERIFY(c.Shape1->isHidden());
}

void Form1Test::waitIsDrawnAnewEachRound()
{
    fake->random.values = { 0.1f, 0.0f, 0.75f }; // wait, verdict, wait
    scriptReaction(fake->counter, 300);
    click(form->controls().Command1);
    QCOMPARE(form->controls().Timer1->Interval(), 1500);
    tick();
    click(form->controls().Command3);

    click(form->controls().Command1);
    QCOMPARE(form->controls().Timer1->Interval(), 4750);
    QVERIFY(form->controls().Timer1->Enabled());
    QCOMPARE(fake->random.drawn, 3);
}

void Form1Test::tickShowsCircleAndStartsStopwatch()
{
    startRound();
    const Form1::Controls &c = form->controls();
    QVERIFY(c.Shape1->isHidden());
    QVERIFY(!form->stopwatch);
    tick();
    QVERIFY(!c.Shape1->isHidden());
    QVERIFY(!c.Timer1->Enabled());
    QVERIFY(form->stopwatch);
    QCOMPARE(fake->counter.reads, 3); // Calibrieren reads twice, Start once

    // One-shot: a stray tick after it does nothing.
    tick();
    QCOMPARE(fake->counter.reads, 3);
}

void Form1Test::circleIsPaintedBeforeStopwatchStarts()
{
    form.reset();
    PaintAwareCounter counter;
    platform::Services services { fake->dialogs, fake->random, fake->desktop, counter, fake->program };
    Form1 window(services);
    window.setVisible(true);
    QVERIFY(QTest::qWaitForWindowExposed(window.frame()));
    counter.circle = new PaintCounter(window.controls().Shape1);

    fake->random.values = { 0.5f };
    click(window.controls().Command1);
    QCoreApplication::processEvents();
    QCOMPARE(counter.circle->paints, 0);

    // No event is processed between the tick and the stopwatch's reads: only a
    // paint made inside the tick can be counted here.
    window.controls().Timer1->tick();
    QCOMPARE(counter.paintsAtRead.size(), 3);
    QVERIFY2(counter.paintsAtRead.first() >= 1, "the stopwatch started before the circle was painted");
}

void Form1Test::fullRound()
{
    fake->random.values = { 0.25f, 0.0f }; // wait 2250 ms, then the first comment of the band
    scriptReaction(fake->counter, 284);
    const Form1::Controls &c = form->controls();

    click(c.Command1);
    QCOMPARE(c.Timer1->Interval(), 2250);
    tick();
    QVERIFY(!c.Shape1->isHidden());

    bool checkedWhileOpen = false;
    fake->dialogs.whileOpen = [&] {
        // The result caption is up, the time itself waits behind the box.
        QVERIFY(!c.Label1->isHidden());
        QVERIFY(c.Label3->isHidden());
        QCOMPARE(c.Label3->text(), QStringLiteral("0,234 Sekunden"));
        QVERIFY(!c.Shape1->isHidden());
        checkedWhileOpen = true;
    };
    click(c.Command3);
    QVERIFY(checkedWhileOpen);

    QCOMPARE(fake->dialogs.shown.size(), 1);
    const ShownBox &box = fake->dialogs.shown.first();
    QCOMPARE(box.prompt, reaction::verdictText(3));
    QCOMPARE(box.title, verdictTitle);
    QCOMPARE(box.buttons, 48);
    QCOMPARE(form->verdictindex, short(3));
    QCOMPARE(form->verdicttext, box.prompt);
    QCOMPARE(form->reactiontime, 0.234f);

    // Back to Idle, the result on show.
    QVERIFY(!c.Label1->isHidden());
    QVERIFY(!c.Label3->isHidden());
    QCOMPARE(c.Label3->text(), QStringLiteral("0,234 Sekunden"));
    QVERIFY(c.Shape1->isHidden());
    QVERIFY(!c.Command3->isEnabled());
    QVERIFY(c.Command1->isEnabled());
    QVERIFY(!c.Timer1->Enabled());
    QCOMPARE(fake->program.ended, 0);
    QCOMPARE(fake->program.startShown, 0);
}

void Form1Test::measuredTime_data()
{
    QTest::addColumn<double>("stopwatchMs");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<short>("verdict");

    // The fixed 50 ms come off every time; below 50 ms the time is negative.
    QTest::newRow("negative") << 30.0 << "-0,020 Sekunden" << short(0);
    QTest::newRow("exactly the allowance") << 50.0 << "0,000 Sekunden" << short(0);
    QTest::newRow("0.1 s") << 150.0 << "0,100 Sekunden" << short(1);
    QTest::newRow("rounded up") << 284.6 << "0,235 Sekunden" << short(3);
    QTest::newRow("rounded down") << 284.4 << "0,234 Sekunden" << short(3);
    QTest::newRow("0.7 s") << 750.0 << "0,700 Sekunden" << short(13);
    QTest::newRow("0.8 s") << 850.0 << "0,800 Sekunden" << short(15);
    QTest::newRow("several seconds") << 12345.2 << "12,295 Sekunden" << short(15);
}

void Form1Test::measuredTime()
{
    QFETCH(double, stopwatchMs);
    QFETCH(QString, shown);
    QFETCH(short, verdict);

    fake->random.values = { 0.0f }; // the verdict's draw, after the wait's
    scriptReaction(fake->counter, stopwatchMs);
    startRound(0.5f);
    tick();
    click(form->controls().Command3);

    QCOMPARE(form->controls().Label3->text(), shown);
    QCOMPARE(form->verdictindex, verdict);
    QCOMPARE(fake->dialogs.shown.size(), 1);
    QCOMPARE(fake->dialogs.shown.first().prompt, reaction::verdictText(verdict));
}

void Form1Test::twoEarlyClicksThenMeasured()
{
    scriptReaction(fake->counter, 400);
    startRound(0.3f);
    const Form1::Controls &c = form->controls();

    click(c.Command3);
    click(c.Command3);
    QCOMPARE(form->clicks, short(2));
    QVERIFY(fake->dialogs.shown.isEmpty());
    // The early clicks neither restart nor shorten the wait.
    QVERIFY(c.Timer1->Enabled());
    QCOMPARE(c.Timer1->Interval(), 2500);
    QVERIFY(c.Command3->isEnabled());

    tick();
    click(c.Command3); // the third click, but the circle is up: measured
    QCOMPARE(fake->program.ended, 0);
    QCOMPARE(fake->dialogs.shown.size(), 1);
    QCOMPARE(fake->dialogs.shown.first().title, verdictTitle);
    QCOMPARE(c.Label3->text(), QStringLiteral("0,350 Sekunden"));
}

void Form1Test::thirdEarlyClickEndsProgram_data()
{
    QTest::addColumn<bool>("waitRunsOutBehindBox");
    QTest::newRow("wait still running") << false;
    QTest::newRow("wait runs out behind the box") << true;
}

void Form1Test::thirdEarlyClickEndsProgram()
{
    QFETCH(bool, waitRunsOutBehindBox);

    startRound();
    const Form1::Controls &c = form->controls();
    click(c.Command3);
    click(c.Command3);
    if (waitRunsOutBehindBox)
        fake->dialogs.whileOpen = [this] { tick(); };
    click(c.Command3);

    QCOMPARE(fake->dialogs.shown.size(), 1);
    const ShownBox &box = fake->dialogs.shown.first();
    QCOMPARE(box.prompt, rebukePrompt);
    QCOMPARE(box.title, rebukeTitle);
    QCOMPARE(box.buttons, 48);
    QCOMPARE(fake->program.ended, 1);

    // Nothing else ran: no measurement, no verdict, no way back to Start.
    QCOMPARE(fake->program.startShown, 0);
    QCOMPARE(fake->random.drawn, 1);
    QVERIFY(c.Label1->isHidden());
    QCOMPARE(c.Label3->text(), QString());
    QCOMPARE(form->reactiontime, 0.0f);
    QVERIFY(form->isLoaded());
}

void Form1Test::stopwatchIsKeptAcrossRounds()
{
    startRound();
    tick();
    const xTimer *first = &*form->stopwatch;
    click(form->controls().Command3);
    startRound();
    tick();
    QCOMPARE(&*form->stopwatch, first);

    // Unloading keeps it too: it belongs to the window object, not its controls.
    form->unload();
    form->setVisible(true);
    startRound();
    tick();
    QCOMPARE(&*form->stopwatch, first);
}

void Form1Test::leavingDuringWait_data()
{
    QTest::addColumn<bool>("byCloseBox");
    QTest::newRow("Kein Bock mehr") << false;
    QTest::newRow("close box") << true;
}

void Form1Test::leavingDuringWait()
{
    QFETCH(bool, byCloseBox);

    startRound();
    click(form->controls().Command3);
    bool loadedWhenStartShown = false;
    fake->program.onShowStart = [&] { loadedWhenStartShown = form->isLoaded(); };
    if (byCloseBox)
        form->frame()->close();
    else
        click(form->controls().Command2);

    QVERIFY(fake->program.startShown >= 1);
    QVERIFY(loadedWhenStartShown); // Start is shown first, then the test unloads
    QVERIFY(!form->isLoaded());
    QCOMPARE(fake->program.ended, 0);
    QVERIFY(fake->dialogs.shown.isEmpty());

    // Coming back: a fresh Idle window, the old wait gone with its controls.
    form->setVisible(true);
    const Form1::Controls &c = form->controls();
    QVERIFY(!c.Timer1->Enabled());
    QVERIFY(c.Command1->isEnabled());
    QVERIFY(!c.Command3->isEnabled());
    QVERIFY(c.Shape1->isHidden());
    QVERIFY(c.Label1->isHidden());
    QVERIFY(!c.Label3->isHidden());
    QCOMPARE(fake->random.seeded, 2);

    // And it plays as before.
    fake->random.values = { 0.0f, 0.0f };
    scriptReaction(fake->counter, 250);
    click(c.Command1);
    tick();
    click(c.Command3);
    QCOMPARE(c.Label3->text(), QStringLiteral("0,200 Sekunden"));
}

void Form1Test::closingBehindVerdictBox()
{
    // Should the frame be closed while the verdict is up, the round ends quietly.
    startRound();
    tick();
    fake->dialogs.whileOpen = [this] { form->frame()->close(); };
    click(form->controls().Command3);
    QVERIFY(!form->isLoaded());
    QVERIFY(fake->program.startShown >= 1);
    QCOMPARE(fake->program.ended, 0);
}

QObject *makeForm1Test()
{
    return new Form1Test;
}

#include "tst_form1.moc"
