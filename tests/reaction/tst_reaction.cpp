#include "keyboard.h"
#include "platform/controls.h"
#include "platform/timer.h"
#include "program.h"
#include "reaction/form1.h"
#include "reaction/verdicts.h"
#include "reaction/wrapbutton.h"

#include <QTest>
#include <QtWidgets>

using Click = reaction::Round::Click;

namespace {

// The stopwatch's counter around a reaction of `ms`: two reads to calibrate, Start, then Halt.
void scriptReaction(FakeCounter &counter, double ms)
{
    counter.readings = { 7'000'000'000, 7'000'000'000, 7'000'000'000, 7'000'000'000 + quint64(qRound64(ms * 1e6)) };
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

// The colours (0xRRGGBB) in a rectangle of a widget's picture.
QSet<QRgb> colours(QWidget *widget, QRect area)
{
    const QImage image = widget->grab(area).toImage();
    QSet<QRgb> found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            found << (image.pixel(x, y) & 0xffffff);
    return found;
}

// How many counter reads had been made at each paint of the widget it watches.
struct PaintWatch : QObject
{
    const FakeCounter *counter;
    QList<int> readsAtPaint;
    bool eventFilter(QObject *, QEvent *event) override
    {
        return event->type() == QEvent::Paint && (readsAtPaint << counter->reads).isEmpty();
    }
};

} // namespace

class TestReaction : public QObject
{
    Q_OBJECT

private slots:
    // The window as designed, at load: each control by its design name, with its geometry in twips, caption and tip;
    // then its look.
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
        for (const auto &[name, twips, caption, tip] : design) {
            const auto *control = form.frame()->findChild<QWidget *>(name);
            const QRect pixels = platform::twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
            QCOMPARE(std::tuple(name, control->geometry(), control->property("text").toString(), control->toolTip()),
                std::tuple(name, pixels, caption, tip));
        }
        QCOMPARE(std::tuple(form.frame()->windowTitle(), form.client()->size(), view(c), c.Timer1->Interval(),
                     program.fake.random.seeded),
            std::tuple(QStringLiteral("Reaktionstest"), QSize(423, 343), QStringList({ "Command1", "Label3" }), 0, 1));
        // The look: the design's small face, the instructions bold, the advertisement blue, both fitted to their
        // boxes; the field never the default button.
        QCOMPARE(std::tuple(c.Label1->font().pointSizeF(), c.Label2->font().bold(),
                     c.Label4->palette().color(QPalette::WindowText), c.Command3->autoDefault()),
            std::tuple(8.25, true, QColor(0, 0, 255), false));
        for (QLabel *label : { c.Label2, c.Label4 })
            QVERIFY(label->heightForWidth(label->width()) <= label->height());
        // The field: a flat light grey face inside its bevel; disabled, its caption embossed in the light and the dark
        // shade; pressed, the caption sinks by a pixel to the right and down.
        const QRect inner = c.Command3->rect().adjusted(5, 5, -5, -5);
        const QPalette &shades = c.Command3->palette();
        QCOMPARE(colours(c.Command3, QRect(2, 2, 4, 4)), QSet<QRgb> { 0xc0c0c0 });
        QVERIFY(colours(c.Command3, inner)
                    .contains({ shades.color(QPalette::Light).rgb() & 0xffffff,
                        shades.color(QPalette::Shadow).rgb() & 0xffffff }));
        const QImage up = c.Command3->grab(inner.adjusted(1, 1, -1, -1)).toImage();
        c.Command3->setDown(true);
        QCOMPARE(c.Command3->grab(inner.adjusted(2, 2, 0, 0)).toImage(), up);
    }

    // A round from its wait, Int(Rnd * 5000 + 1000) in double (in single precision the largest Rnd would wait
    // 6000 ms), through its clicks; a measured time is the stopwatch's milliseconds less 50, in seconds.
    void round_data()
    {
        QTest::addColumn<float>("rnd");
        QTest::addColumn<int>("wait");
        QTest::addColumn<int>("early");
        QTest::addColumn<double>("stopwatch"); // negative: the circle never shows
        QTest::addColumn<QList<Click>>("clicks");
        QTest::addColumn<float>("seconds");
        const Click early = Click::Early;
        QTest::newRow("third early click")
            << 0.0f << 1000 << 3 << -1.0 << QList { early, early, Click::Cheated } << 0.0f;
        QTest::newRow("two early, then measured")
            << 0.99999994f << 5999 << 2 << 400.0 << QList { early, early, Click::Measured } << 0.35f;
        QTest::newRow("below 50 ms: negative") << 0.5f << 3500 << 0 << 30.0 << QList { Click::Measured } << -0.02f;
    }
    void round()
    {
        QFETCH(float, rnd);
        QFETCH(int, early);
        QFETCH(double, stopwatch);
        FakeServices fake;
        fake.random.values = { rnd };
        reaction::Round round(fake.random, fake.counter);
        QTEST(round.start(), "wait");
        QList<Click> clicks;
        while (early-- > 0)
            clicks << round.click();
        if (stopwatch >= 0) {
            scriptReaction(fake.counter, stopwatch);
            round.circleShown();
            clicks << round.click();
        }
        QTEST(clicks, "clicks");
        QTEST(round.reactiontime, "seconds");
    }

    // Bands from each bound to just below the next; in between, Rnd below a half picks the band's first comment and
    // from a half its second. The bounds are floats like the time: 0.7f, below the double 0.7, opens its band.
    void verdictIndex_data()
    {
        QTest::addColumn<float>("seconds");
        QTest::addColumn<float>("rnd");
        QTest::addColumn<short>("index");
        QTest::newRow("negative") << -0.02f << 0.9f << short(0);
        QTest::newRow("just below 0.1") << std::nextafter(0.1f, 0.0f) << 0.9f << short(0);
        for (short band = 1; band < 8; ++band) { // band / 10.0f is exactly the float nearest to the tenth
            const float low = band / 10.0f, high = (band + 1) / 10.0f;
            QTest::addRow("%.1f, Rnd below 0.5", low) << low << 0.49999997f << short(2 * band - 1);
            QTest::addRow("below %.1f, Rnd 0.5", high) << std::nextafter(high, 0.0f) << 0.5f << short(2 * band);
        }
        QTest::newRow("0.8") << 0.8f << 0.0f << short(15);
    }
    void verdictIndex()
    {
        QFETCH(float, seconds);
        QFETCH(float, rnd);
        FakeRandom random;
        random.values = { rnd };
        QTEST(reaction::verdictIndex(seconds, random), "index");
    }

    // From the start window: the field's focus frame; a round whose circle is painted before the stopwatch's first
    // read, the verdict box with the result caption but not yet the time, then the result. The next round is closed
    // behind its verdict; opened again, the window is idle, and "Kein Bock mehr" leaves it.
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
        // The field has taken the focus; Tab and back show its focus frame just inside its bevel.
        QCOMPARE(focusName(form.frame()), QStringLiteral("Command3"));
        type(form.frame(), Qt::Key_Tab);
        type(form.frame(), Qt::Key_Backtab);
        QVERIFY(c.Command3->hasFocus() && !colours(c.Command3, QRect(4, 3, 20, 1)).contains(0xc0c0c0));
        c.Timer1->tick();
        const QRect middle(c.Shape1->rect().center(), QSize(1, 1));
        QCOMPARE(std::tuple(view(c), circle.readsAtPaint.value(0, -1), colours(c.Shape1, middle)),
            std::tuple(QStringList({ "Command3", "Shape1" }), 0, QSet<QRgb> { 0xff0000 }));
        QStringList whileBoxOpen;
        program.fake.dialogs.whileOpen = [&] { whileBoxOpen = view(c); };
        QTest::mouseClick(c.Command3, Qt::LeftButton);
        const ShownBox box = program.fake.dialogs.shown.value(0);
        QCOMPARE(std::tuple(box.prompt, box.buttons, box.title, c.Label3->text()),
            std::tuple(QStringLiteral(" Hervorragende Zeit. Sie sind echt gut "), 48, QStringLiteral("Auswertung"),
                QStringLiteral("0,234 Sekunden")));
        QCOMPARE(std::tuple(whileBoxOpen, view(c), form.round.state),
            std::tuple(QStringList({ "Command3", "Shape1", "Label1" }), QStringList({ "Command1", "Label1", "Label3" }),
                reaction::Round::State::Idle));
        const auto verdict = platform::Outcome::reaction(form.round.reactiontime, box.prompt);
        QCOMPARE(program.fake.history.recorded, QList({ verdict }));

        QTest::mouseClick(c.Command1, Qt::LeftButton);
        QCOMPARE(view(c), QStringList({ "Command3", "Timer1" })); // the last result hidden
        c.Timer1->tick();
        program.fake.dialogs.whileOpen = [&] { form.frame()->close(); }; // then touches no control
        QTest::mouseClick(c.Command3, Qt::LeftButton);
        QVERIFY(!form.isLoaded() && program.start().Visible());
        QCOMPARE(program.fake.history.recorded.size(), 2); // kept, though the window went
        QCOMPARE(view(program.open<Form1>(TestWindow::Reaction).controls()), QStringList({ "Command1", "Label3" }));
        QTest::mouseClick(form.controls().Command2, Qt::LeftButton);
        QVERIFY(!form.isLoaded() && program.start().Visible() && program.fake.program.ended == 0);
    }

    // By keyboard alone: Space on "Ich bin bereit" hands the focus to the field, not to "Kein Bock mehr"; the key
    // on the field before the circle is an early click, after it the measured one; then "Ich bin bereit" has the
    // focus for the next round.
    void keyboard_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("Space") << Qt::Key_Space;
        QTest::newRow("Return") << Qt::Key_Return;
        QTest::newRow("Enter") << Qt::Key_Enter;
    }
    void keyboard()
    {
        QFETCH(Qt::Key, key);
        Program program;
        Form1 &form = program.open<Form1>(TestWindow::Reaction);
        const Form1::Controls &c = form.controls();
        program.fake.random.values = { 0.5f, 0.0f };
        scriptReaction(program.fake.counter, 284.4);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto focus = [&form] { return focusName(form.frame()); };
        QCOMPARE(focus(), QStringLiteral("Command1"));
        type(form.frame(), Qt::Key_Space);
        QCOMPARE(
            std::pair(focus(), view(c)), std::pair(QStringLiteral("Command3"), QStringList({ "Command3", "Timer1" })));
        type(form.frame(), key);
        QCOMPARE(std::pair(form.round.clicks, form.isLoaded()), std::pair(short(1), true));
        c.Timer1->tick();
        type(form.frame(), key);
        QCOMPARE(std::tuple(program.fake.dialogs.shown.size(), c.Label3->text(), view(c), focus()),
            std::tuple(1, QStringLiteral("0,234 Sekunden"), QStringList({ "Command1", "Label1", "Label3" }),
                QStringLiteral("Command1")));
    }

    // The field and the circle as a screen reader names them.
    void accessibleNames()
    {
        Program program;
        const Form1::Controls &c = program.open<Form1>(TestWindow::Reaction).controls();
        QCOMPARE(QList({ spoken(c.Command3), spoken(c.Shape1), spoken(c.Command1), spoken(c.Command2) }),
            QList<Spoken>({ { "Klickfeld", QAccessible::Button }, { "Roter Kreis", QAccessible::Graphic },
                { "Ich bin bereit", QAccessible::Button }, { "Kein Bock mehr", QAccessible::Button } }));
    }

    // Each title of the menu bar and each item of a menu has an Alt letter of its own.
    void mnemonics()
    {
        Program program;
        const QList<QStringList> keys = menuKeys(program.open<Form1>(TestWindow::Reaction).frame()->menuBar());
        QCOMPARE(keys, QList<QStringList>({ { "Alt+I", "Alt+V" }, { "Alt+R" } }));
        QCOMPARE(clashes(keys), QStringList());
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
        QCOMPARE(std::tuple(box.prompt, box.buttons, box.title, program.fake.program.ended, program.fake.counter.reads),
            std::tuple(QStringLiteral("Man sollte nur drücken wenn man den Kreis sieht. Selbst schuld wenn Sie "
                                      "bescheissen wollen. "),
                48, QStringLiteral("und tschüss"), 1, 0));
        QVERIFY(program.fake.history.recorded.isEmpty());
    }
};

QTEST_MAIN(TestReaction)

#include "tst_reaction.moc"
