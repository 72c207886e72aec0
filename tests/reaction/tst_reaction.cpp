// SPDX-License-Identifier: GPL-3.0-or-later

#include "keyboard.h"
#include "platform/controls.h"
#include "platform/timer.h"
#include "program.h"
#include "reaction/form1.h"
#include "reaction/verdicts.h"
#include "reaction/wrapbutton.h"

#include <QTest>
#include <QtWidgets>
#include <span>

namespace {

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
    const QImage image = widget->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> found;
    for (QRgb pixel : std::span(reinterpret_cast<const QRgb *>(image.constBits()), image.width() * image.height()))
        found << (pixel & 0xffffff);
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

// The reaction window opened from the start window, on fake services, with German figures.
struct Reaction : Program
{
    Form1 &form = open<Form1>(TestWindow::Reaction);
    const Form1::Controls &c = form.controls();
    platform::Frame *frame = form.frame();
    Reaction() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
};

} // namespace

class TestReaction : public QObject
{
    Q_OBJECT

private slots:
    // Bands from each bound to just below the next; in between, Rnd below a half picks the band's first comment and
    // from a half its second. The bounds are floats like the time: 0.7f, below the double 0.7, opens its band.
    void comments()
    {
        FakeRandom random;
        const auto index = [&random](float seconds) { return reaction::verdictIndex(seconds, random); };
        QList<short> indices { index(-0.02f), index(std::nextafter(0.1f, 0.0f)) };
        for (int band = 1; band < 8; ++band) { // band / 10.0f is exactly the float nearest to the tenth
            random.values = { 0.49999997f, 0.5f };
            indices << index(band / 10.0f) << index(std::nextafter((band + 1) / 10.0f, 0.0f));
        }
        QCOMPARE(indices << index(0.8f), QList<short>({ 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15 }));
    }

    // The window as designed, at load: each control by its design name, with its caption; the buttons' tips, then
    // its look, and what a screen reader and the keyboard find. Then, from the start window, by mouse or by keyboard
    // alone (Space on "Ich bin bereit", the key on the field): the longest wait, Int(Rnd * 5000 + 1000) in double (in
    // single precision the largest Rnd would wait 6000 ms); the field has the focus, not "Kein Bock mehr", and shows
    // its focus frame; two early clicks only counted; the circle painted before the stopwatch's first read; the verdict
    // box with the result caption but not yet the time, then the result (the stopwatch's milliseconds less 50, in
    // seconds) and "Ich bin bereit" focused for the next round. That one, below 50 ms and so negative, is closed behind
    // its verdict; opened again, the window is idle, and "Kein Bock mehr" leaves it; opened once more, three early
    // clicks end the program.
    void playthrough_data()
    {
        QTest::addColumn<Qt::Key>("key"); // none: the mouse
        for (Qt::Key key : { Qt::Key {}, Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter })
            QTest::addRow("%s", key ? qPrintable(QKeySequence(key).toString()) : "mouse") << key;
    }
    void playthrough()
    {
        QFETCH(Qt::Key, key);
        Reaction r;
        const Form1::Controls &c = r.c;
        const auto press = [&](auto *w, Qt::Key k) { key ? type(r.frame, k) : QTest::mouseClick(w, Qt::LeftButton); };
        QStringList texts;
        for (auto name : { "Label2", "Label4", "Shape1", "Label1", "Label3", "Command3", "Command1", "Command2" })
            texts << r.frame->findChild<QWidget *>(name)->property("text").toString();
        QCOMPARE(texts,
            QStringList({ "Testen Sie Ihre Reaktionszeit, indem Sie nach dem Erscheinen eines roten Kreises sofort auf "
                          "den Button unten in der Mitte klicken.",
                "Auf meiner Homepage finden Sie noch viel mehr solcher kleinen \"nützlichen\" Programme. Dort gibt's "
                "auch jede Menge Scherzprogramme mit denen Sie Ihre \"besten Freunde\" ärgern können.",
                "", "Ihre Reaktionszeit ist", "",
                "Sobald Sie den Kreis sehen, klicken Sie mit der linken Maustaste auf dieses Feld.", "Ich bin bereit",
                "Kein Bock mehr" }));
        // The design's small face, the instructions bold, the advertisement blue; the field never the default button.
        QCOMPARE(std::tuple(QStringList({ c.Command3->toolTip(), c.Command1->toolTip(), c.Command2->toolTip() }),
                     r.frame->windowTitle(), r.form.client()->size(), view(c), c.Timer1->Interval(),
                     r.fake.random.seeded, c.Label1->font().pointSizeF(), c.Label2->font().bold(),
                     c.Label4->palette().color(QPalette::WindowText), c.Command3->autoDefault()),
            std::tuple(QStringList({ "Bitte volle Konzentration", "Los geht's", "Programm beenden" }),
                QStringLiteral("Reaktionstest"), QSize(423, 343), QStringList({ "Command1", "Label3" }), 0, 1, 8.25,
                true, QColor(0, 0, 255), false));
        // The field: a flat light grey face inside its bevel; disabled, its caption embossed in the light and the dark
        // shade; pressed, the caption sinks by a pixel to the right and down.
        const QRect inner = c.Command3->rect().adjusted(5, 5, -5, -5);
        const QPalette &shades = c.Command3->palette();
        QCOMPARE(colours(c.Command3, QRect(2, 2, 4, 4)), QSet<QRgb> { 0xc0c0c0 });
        QVERIFY(colours(c.Command3, inner)
                    .contains({ shades.light().color().rgb() & 0xffffff, shades.shadow().color().rgb() & 0xffffff }));
        const QImage up = c.Command3->grab(inner.adjusted(1, 1, -1, -1)).toImage();
        c.Command3->setDown(true);
        QCOMPARE(c.Command3->grab(inner.adjusted(2, 2, 0, 0)).toImage(), up);
        c.Command3->setDown(false);
        // What a screen reader says of the field and the circle; an Alt letter of its own for each title of the menu
        // bar and each item of a menu.
        QCOMPARE(std::pair(QList({ spoken(c.Command3), spoken(c.Shape1) }), menuKeys(r.frame->menuBar())),
            std::pair(QList<Spoken>({ { "Klickfeld", QAccessible::Button }, { "Roter Kreis", QAccessible::Graphic } }),
                QList<QStringList>({ { "Alt+I", "Alt+V" }, { "Alt+R" } })));
        QVERIFY(QTest::qWaitForWindowExposed(r.frame));
        PaintWatch circle;
        circle.counter = &r.fake.counter;
        c.Shape1->installEventFilter(&circle);
        r.fake.random.values = { 0.99999994f, 0.0f }; // the wait, then the comment's draw
        // The stopwatch's counter: two reads to calibrate, Start, then Halt 284.4 ms later.
        r.fake.counter.readings = { 7'000'000'000, 7'000'000'000, 7'000'000'000, 7'284'400'000 };
        press(c.Command1, Qt::Key_Space);
        QCOMPARE(std::tuple(view(c), c.Timer1->Interval(), focusName(r.frame)),
            std::tuple(QStringList({ "Command3", "Timer1" }), 5999, QStringLiteral("Command3")));
        type(r.frame, Qt::Key_Tab);
        type(r.frame, Qt::Key_Backtab);
        QVERIFY(c.Command3->hasFocus() && !colours(c.Command3, QRect(4, 3, 20, 1)).contains(0xc0c0c0));
        press(c.Command3, key);
        press(c.Command3, key);
        QCOMPARE(std::pair(r.form.round.clicks, r.form.isLoaded()), std::pair(short(2), true));
        c.Timer1->tick();
        QCOMPARE(std::tuple(view(c), circle.readsAtPaint.value(0, -1),
                     colours(c.Shape1, QRect(c.Shape1->rect().center(), QSize(1, 1)))),
            std::tuple(QStringList({ "Command3", "Shape1" }), 0, QSet<QRgb> { 0xff0000 }));
        QStringList whileBoxOpen;
        r.fake.dialogs.whileOpen = [&] { whileBoxOpen = view(c); };
        press(c.Command3, key);
        const ShownBox box = r.fake.dialogs.shown.value(0);
        QCOMPARE(std::tuple(box.prompt, box.buttons, box.title, c.Label3->text()),
            std::tuple(QStringLiteral(" Hervorragende Zeit. Sie sind echt gut "), 48, QStringLiteral("Auswertung"),
                QStringLiteral("0,234 Sekunden")));
        QCOMPARE(std::tuple(whileBoxOpen, view(c), r.form.round.state, focusName(r.frame)),
            std::tuple(QStringList({ "Command3", "Shape1", "Label1" }), QStringList({ "Command1", "Label1", "Label3" }),
                reaction::Round::State::Idle, QStringLiteral("Command1")));
        QCOMPARE(
            r.fake.history.recorded, QList({ platform::Outcome::reaction(r.form.round.reactiontime, box.prompt) }));

        r.fake.counter.readings = { 7'000'000'000, 7'000'000'000, 7'000'000'000, 7'030'000'000 };
        QTest::mouseClick(c.Command1, Qt::LeftButton);
        QCOMPARE(std::pair(view(c), c.Timer1->Interval()), std::pair(QStringList({ "Command3", "Timer1" }), 1000));
        c.Timer1->tick();
        r.fake.dialogs.whileOpen = [&] { r.frame->close(); }; // then touches no control
        QTest::mouseClick(c.Command3, Qt::LeftButton);
        QVERIFY(!r.form.isLoaded() && r.start().Visible());
        QCOMPARE(r.fake.history.recorded.value(1).seconds, double(-0.02f)); // kept, though the window went
        QCOMPARE(view(r.open<Form1>(TestWindow::Reaction).controls()), QStringList({ "Command1", "Label3" }));
        QTest::mouseClick(r.form.controls().Command2, Qt::LeftButton);
        QVERIFY(!r.form.isLoaded() && r.start().Visible() && r.fake.program.ended == 0);
        // Once more, the third click before the circle: the rebuke, then the program ends at once, nothing else run.
        const int reads = r.fake.counter.reads;
        r.fake.dialogs.whileOpen = nullptr;
        QTest::mouseClick(r.open<Form1>(TestWindow::Reaction).controls().Command1, Qt::LeftButton);
        for (int click = 0; click < 3; ++click)
            QTest::mouseClick(r.form.controls().Command3, Qt::LeftButton);
        const ShownBox rebuke = r.fake.dialogs.shown.last();
        QCOMPARE(std::tuple(rebuke.prompt, rebuke.buttons, rebuke.title, r.fake.program.ended,
                     r.fake.counter.reads - reads, r.fake.history.recorded.size()),
            std::tuple(QStringLiteral("Man sollte nur drücken wenn man den Kreis sieht. Selbst schuld wenn Sie "
                                      "bescheissen wollen. "),
                48, QStringLiteral("und tschüss"), 1, 0, 2));
    }
};

QTEST_MAIN(TestReaction)

#include "tst_reaction.moc"
