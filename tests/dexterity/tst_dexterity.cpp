// SPDX-License-Identifier: GPL-3.0-or-later

#include "dexterity/coursesurface.h"
#include "dexterity/form3.h"
#include "keyboard.h"
#include "platform/timer.h"
#include "program.h"

#include <QTest>
#include <QtMath>
#include <QtWidgets>
#include <ranges>
#include <span>

namespace {

constexpr quint32 black = 0x000000, yellow = 0x00FFFF, red = 0x0000FF; // 0x00BBGGRR
const QRect secondsBox(6720, 360, 735, 375), unitBox(7440, 360, 1815, 375); // twips
const QPoint onLine4(304, 160), inTarget(32, 224); // client pixels; Line4 runs down x = 304, 15 wide

// The centre line of the whole course as a player follows it, from the start area into the
// target, written down from the course plan on its own (not from the program's tables), so
// that a mistyped end point shows as a gap. Twips: corners, and rings (by the top-left corner
// of their 975 × 735 box, marked 1) gone round once where they are met.
using Stop = std::tuple<double, double, bool>;
const QList<Stop> coursePlan { { 375, 2100, 0 }, { 480, 2160, 0 }, { 1800, 1920, 0 }, { 3120, 2760, 0 },
    { 4560, 1920, 0 }, { 4560, 2880, 0 }, { 5280, 2880, 0 }, { 5280, 1920, 0 }, { 6120, 1920, 0 }, { 6120, 2880, 0 },
    { 6840, 2880, 0 }, { 6840, 1920, 0 }, { 7680, 1920, 0 }, { 7680, 2880, 0 }, { 8520, 2880, 0 }, { 8520, 1920, 0 },
    { 9120, 1920, 0 }, { 9120, 3240, 0 }, { 7440, 3240, 0 }, { 7440, 3600, 0 }, { 6960, 3600, 1 }, { 6960, 4320, 1 },
    { 7560, 5040, 0 }, { 8400, 5040, 0 }, { 8400, 3720, 0 }, { 9120, 3720, 0 }, { 9120, 5400, 0 }, { 8160, 6120, 0 },
    { 7080, 5400, 0 }, { 4920, 5400, 0 }, { 4080, 5040, 1 }, { 4080, 4320, 1 }, { 4080, 3600, 1 }, { 4560, 3600, 0 },
    { 2160, 3600, 0 }, { 3840, 5640, 0 }, { 480, 5640, 0 }, { 480, 3600, 0 } };

QList<QPointF> courseWalk(double step)
{
    auto mid = [](const Stop &s) { return QPointF(get<0>(s) + get<2>(s) * 487.5, get<1>(s) + get<2>(s) * 367.5) / 15; };
    auto near = [&](const Stop &s, QPointF to) { // the corner, or the point of the ring nearest to `to`
        return get<2>(s) ? QLineF(mid(s), to).unitVector().pointAt(24.5) : mid(s);
    };
    QList<QPointF> points;
    for (auto stop = coursePlan.begin(); stop + 1 != coursePlan.end(); ++stop) {
        for (double angle = 0; get<2>(*stop) && angle < 2 * M_PI; angle += step / 24.5)
            points << mid(*stop) + QPointF(std::cos(angle), std::sin(angle)) * 24.5;
        const QLineF leg(near(stop[0], mid(stop[1])), near(stop[1], mid(stop[0])));
        for (double t = 0; t < 1; t += step / leg.length())
            points << leg.pointAt(t);
        points << leg.p2();
    }
    return points;
}

// The dexterity window opened from the start window, on fake services.
struct Dexterity : Program
{
    Form3 *form = &open<Form3>(TestWindow::Dexterity);
    const Form3::Controls &c = form->controls(); // while the window is loaded

    // A real movement to a client point, routed by Qt to the widget under it as the
    // system's would be; no events run meanwhile, so the real timers cannot tick.
    quint32 moveTo(QPoint point)
    {
        const QPoint local = form->client()->mapTo(form->frame(), point);
        QMouseEvent move(QEvent::MouseMove, local, form->frame()->mapToGlobal(local), Qt::NoButton, {}, {});
        QGuiApplication::sendEvent(form->frame()->windowHandle(), &move);
        return quint32(form->run.pixelcolour);
    }
    // What runs: the two timers and the cross-hair.
    QList<bool> going() { return { c.Timer1->Enabled(), c.Timer2->Enabled(), c.surface->cursor() == Qt::CrossCursor }; }
    QStringList lastBox() const { return { fake.dialogs.shown.last().title, fake.dialogs.shown.last().prompt }; }
    QStringList seconds() const { return { c.Label1->Caption(), QString::number(form->run.seconds) }; }
};

} // namespace

class DexterityTest : public QObject
{
    Q_OBJECT

private slots:
    // The pointer reads every pixel of a picture up to its edges, and black beyond them.
    void pixelsReadToTheEdges()
    {
        QImage picture(2, 2, QImage::Format_RGB16);
        for (int i = 0; i < 4; ++i)
            picture.setPixelColor(i % 2, i / 2, QList<QColor>({ Qt::red, Qt::yellow, Qt::blue, Qt::white })[i]);
        const course::Pixels pixels(picture);
        QList<quint32> read;
        for (QPointF point :
            { QPointF(0, 0), { 1.9, 0 }, { 0, 1.9 }, { 1, 1 }, { -0.1, 0 }, { 0, -0.1 }, { 2, 0 }, { 0, 2 } })
            read << pixels.colourAt(point);
        QCOMPARE(read, QList<quint32>({ 0x0000FF, 0x00FFFF, 0xFF0000, 0xFFFFFF, 0, 0, 0, 0 }));
    }

    void coursePicture_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<qreal>("ratio"); // the screen's scale
        for (qreal ratio : { 1, 2 })
            for (int width : { 20, 15, 10, 5 })
                QTest::addRow("width %d, scale %g", width, ratio) << width << ratio;
    }
    void coursePicture()
    {
        QFETCH(int, width);
        QFETCH(qreal, ratio);
        const bool labels = width % 10 == 0; // the longest count and the unit, shown or not
        const QList<course::RedText> texts { { secondsBox, "32767", labels }, { unitBox, "Sekunden", labels } };
        const QImage image = course::render(course::Look { width, texts }, ratio);
        QStringList wrong;
        auto check = [&](const QString &piece, QPointF point, quint32 colour) {
            if (course::colourAt(image, point) != colour)
                wrong << piece + QStringLiteral(" at %1, %2").arg(point.x()).arg(point.y());
        };
        // Every piece's centre line is yellow (red where it reaches the target, drawn above Line1(22)).
        const QRectF target = course::toPixels(course::target).adjusted(0, 0, -1e-6, -1e-6); // right, bottom out
        const QList<QPointF> walk = courseWalk(0.2);
        for (QPointF point : walk)
            check("course walk", point, target.contains(point) || point == walk.last() ? red : yellow);
        for (const course::Stroke &stroke : course::strokes) { // just beside the middle of each stroke
            const QLineF line(course::toPixels(stroke.from), course::toPixels(stroke.to));
            const QLineF across = line.normalVector().unitVector().translated(line.center() - line.p1());
            for (int side : { -1, 1 })
                check(stroke.name, across.pointAt(side * (width / 2.0 + 1.5)), black);
        }
        for (const course::Ring &ring : course::rings) // open inside, and its left side free of other pieces
            for (double off : { 0.0, 24.5 - width / 2.0 - 1.5, 24.5 + width / 2.0 + 1.5 })
                check(ring.name, course::ringCentre(ring) - QPointF(off, 0), black);
        // The start area reaches the client's left edge; nothing outside the client is course.
        check("start area", QPointF(0, 140), yellow);
        for (QPointF outside : { QPointF(-0.5, 140), QPointF(628, 140), QPointF(10, -0.5), QPointF(10, 449) })
            check("outside", outside, black);
        QCOMPARE(wrong.mid(0, 5), QStringList());
        for (const course::RedText &text : texts) { // pure red letters, only while shown
            const QRect box
                = QRectF(course::toPixels(text.box).topLeft() * ratio, text.box.size() * ratio / 15).toRect();
            const QImage pixels = image.copy(box).convertToFormat(QImage::Format_RGB32);
            const std::span<const QRgb> all(
                reinterpret_cast<const QRgb *>(pixels.constBits()), box.width() * box.height());
            QCOMPARE(QSet(all.begin(), all.end()),
                labels ? QSet({ qRgb(0, 0, 0), qRgb(255, 0, 0) }) : QSet({ qRgb(0, 0, 0) }));
        }
        // Bold, 18 point at 96 pixels an inch; smaller only where a caption would leave its box.
        const QFont full = course::redTextFont("1", 1000);
        const double exact = QFontMetricsF(full).horizontalAdvance("1");
        QCOMPARE(QList({ full.bold() * full.pixelSize(), course::redTextFont("1", exact).pixelSize(),
                     course::redTextFont("Sekunden", 1).pixelSize() }),
            QList({ 24, 24, 8 }));
    }

    // The window from load to Ende: as designed (texts and visibility at load, what a screen reader says, an Alt letter
    // of its own for each title and item), its modes and picture, a run started by a click, sampled through real
    // movements, and lost; won runs into the name panel (its box focused, Return saves) and best1.lst, the list panel
    // (Alt+H, its OK focused, each line whole as its tooltip, Return closes), the help by Alt+W and Return, a run
    // without a place.
    void playthrough()
    {
        Dexterity d;
        const Form3::Controls &c = d.c;
        platform::Frame *frame = d.form->frame();
        QStringList texts { frame->windowTitle() };
        for (const char *name : { "surface", "Command1", "Frame1", "Label3", "Command2", "Frame2", "List1", "Command3",
                 "Frame3", "Label4", "Text2", "Command4" }) // a panel (Frame) has a title, a control a text, if any
            texts << frame->findChild<QWidget *>(name)->property(name[0] == 'F' ? "title" : "text").toString();
        for (QAction *item : frame->menuBar()->actions() + QList { c.einfach, c.ende })
            texts << item->iconText(); // as shown, without the mnemonic mark
        QCOMPARE(texts,
            QStringList({ "Geschicklichkeitstest", "", "lass uns anfangen", "",
                "Sie dürfen nach dem Start den gelben Bereich nicht mehr mit der Maus verlassen. Führen Sie das "
                "Fadenkreuz in das rote Kästchen.",
                "schon klar", "", "", "OK", "Sie haben sich einen Platz in der Highscoreliste verdient", "", "", "OK",
                "Schwierigkeit", "Wie funktioniert das nun?", "Hier finden Sie die Besten", "Das ist nichts für mich",
                "Verlauf", "normal", "Ende" }));
        QCOMPARE(std::tuple(QList({ spoken(c.surface), spoken(c.Text2), spoken(c.List1) }), menuKeys(frame->menuBar())),
            std::tuple(QList<Spoken>({ { "Parcours", QAccessible::Graphic }, { "Ihr Name", QAccessible::EditableText },
                           { "Bestenliste", QAccessible::List } }),
                QList<QStringList>({ { "Alt+S", "Alt+W", "Alt+H", "Alt+D", "Alt+V" },
                    { "Alt+E", "Alt+N", "Alt+S", "Alt+H" }, { "Alt+E" } })));
        // Drawn at the scale of the screen the window is on (1 in the first run, 2 in the second), before its first
        // paint too, and shown as drawn.
        QCOMPARE(
            c.surface->picture(), course::render({ 15, {} }, qEnvironmentVariable("KORVANE_EXPECT_SCALE").toDouble()));
        QCOMPARE(c.surface->grab().toImage().convertToFormat(QImage::Format_RGB16), c.surface->picture());
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        const QList<QAction *> items { c.ganzeinfach, c.einfach, c.mittel, c.schwer };
        QCOMPARE(std::pair(QList({ c.Timer1->Interval(), c.Timer2->Interval() }),
                     d.going() << c.einfach->isChecked() << (std::ranges::count_if(items, &QAction::isChecked) == 1)
                               << c.Frame1->isHidden() << c.Frame2->isHidden() << c.Frame3->isHidden()),
            std::pair(QList({ 10, 1000 }), QList({ false, false, false, true, true, true, true, true })));

        // The menu sets the mode; the picture is drawn again only when its look changes (the width,
        // a shown text, the labels shown) and when the window moves to a screen of another scale.
        QList<std::tuple<QString, int, int>> modes;
        for (QAction *item : items) { // the name, width and points of the item's mode, and its mark alone
            item->trigger();
            const bool alone = item->isChecked() && std::ranges::count_if(items, &QAction::isChecked) == 1;
            modes << std::tuple(d.form->run.modename, c.surface->linewidth() * alone, d.form->run.runpoints());
        }
        QCOMPARE(modes,
            (QList<std::tuple<QString, int, int>> {
                { "einfach", 20, 150 }, { "normal", 15, 200 }, { "schwer", 10, 400 }, { "sehr schwer", 5, 750 } }));
        QScreen *other = QGuiApplication::screens()[QGuiApplication::screens().indexOf(frame->screen()) ^ 1];
        const auto redraws = [&](const std::function<void()> &change) {
            const qint64 before = c.surface->picture().cacheKey();
            change();
            return c.surface->picture().cacheKey() != before;
        };
        // Not the hidden label's text, nor what is shown already.
        QCOMPARE(QList({ redraws([&] { c.schwer->trigger(); }), redraws([&] { c.Label1->setCaption("7"); }),
                     redraws([&] { c.Label1->setVisible(true); }), redraws([&] { c.Label1->setCaption("7"); }),
                     redraws([&] { d.form->Timer2_Timer(); }), redraws([&] { c.einfach->trigger(); }),
                     redraws([&] { frame->windowHandle()->setScreen(other); }) }),
            QList({ false, false, true, false, true, true, true }));
        QCOMPARE(
            c.surface->picture(), course::render({ 15, { { secondsBox, "1", true } } }, other->devicePixelRatio()));

        // The last run ended on black and the pointer is put where it already stands: no
        // movement arrives, and the new run must still be judged from the start area, going on over yellow.
        d.form->run.pixelcolour = dexterity::black;
        QTest::mouseClick(c.Command1, Qt::LeftButton);
        c.Timer1->tick();
        c.Timer2->tick();
        QCOMPARE(d.fake.desktop.pointerMoves, QList({ QPoint(25, 140) }));
        QCOMPARE(d.going() << c.Label1->Visible() << c.Label2->Visible(), QList<bool>(5, true));
        // Line4's inner edge, a red letter of the unit (the labels take no movements), the button (it keeps the last
        // sample, though black lies beneath), then just beyond Line4's edge.
        const int letter = *std::ranges::find_if(
            std::views::iota(496, 617), [&](int x) { return c.surface->colourAt(QPointF(x, 36)) == red; });
        QCOMPARE(QList({ d.moveTo(onLine4 + QPoint(7, 0)), d.moveTo({ letter, 36 }),
                     d.moveTo(c.Command1->geometry().center()), d.moveTo(onLine4 + QPoint(8, 0)) }),
            QList({ yellow, red, red, black }));
        QCOMPARE(c.surface->colourAt(QPointF(628, 140)), black); // just right of the picture, not the next row's start
        c.Timer1->tick();
        QCOMPARE(std::tuple(d.lastBox() + d.seconds(), d.going(), d.fake.history.recorded),
            std::tuple(QStringList({ "So ein Mist", "Pech gehabt", "1", "0" }), QList({ false, false, false }),
                QList({ platform::Outcome::dexterity(0, 1, "normal", false, "Pech gehabt") })));

        // Won runs: the system answers the pointer's jump with a movement, as a real one does.
        d.fake.desktop.onPutPointer = [&d](QWidget *, QPoint point) { d.moveTo(point); };
        auto runFor = [&](int seconds, const QList<QPointF> &path) { // judged at every movement
            QTest::mouseClick(c.Command1, Qt::LeftButton);
            for (int i = 0; i < seconds; ++i)
                c.Timer2->tick();
            for (QPointF point : path) {
                d.moveTo(point.toPoint());
                c.Timer1->tick();
            }
        };
        runFor(15, courseWalk(2));
        QCOMPARE(std::tuple(d.going() << c.Frame3->isVisible(), c.Label4->text(),
                     c.Label4->palette().color(QPalette::WindowText), c.Label4->font().bold(), focusName(frame),
                     d.fake.history.recorded.last()),
            std::tuple(QList({ false, false, false, true }), QStringLiteral("Das sind 185 Punkte für Sie"),
                QColor(255, 0, 0), true, QStringLiteral("Text2"),
                platform::Outcome::dexterity(185, 15, "normal", true, "Das sind 185 Punkte für Sie")));
        // The panel is opaque: the course beneath does not show.
        const QImage shown = d.form->client()->grab().toImage();
        QCOMPARE(shown.pixelColor(QPoint(304, 164) * shown.devicePixelRatio()), // Line4 beneath
            shown.pixelColor(QPoint(324, 164) * shown.devicePixelRatio())); // black beneath
        // A first entry clears the count.
        c.Text2->insert("Gret\u0142e"); // typed; a letter the list cannot hold is left out
        type(frame, Qt::Key_Return);
        QCOMPARE(std::tuple(c.Frame3->isVisible(), c.Text2->text(), d.form->run.seconds),
            std::tuple(false, QStringLiteral("Grete"), short(0)));

        // A place in the list: no new run under the open panel, which writes what it opened with and keeps the count.
        c.schwer->trigger();
        runFor(32768, { inTarget }); // the seconds stop at their top, the points go below 0
        QCOMPARE_LE(QFontMetricsF(c.Label4->font()).horizontalAdvance(c.Label4->text()), c.Label4->width());
        QTest::mouseClick(c.Command1, Qt::LeftButton);
        QCOMPARE(d.going() << c.Command1->isEnabled(), QList({ false, false, false, false }));
        QTest::mouseClick(c.Command4, Qt::LeftButton);
        QCOMPARE(std::pair(QList({ c.Frame3->isVisible(), c.Command1->isEnabled() }), d.seconds()),
            std::pair(QList({ false, true }), QStringList({ "32767", "32767" })));
        type(frame, Qt::Key_H, Qt::AltModifier);
        QStringList lines { focusName(frame) };
        for (int i = 0; i < c.List1->count(); ++i)
            lines << c.List1->item(i)->text() << c.List1->item(i)->toolTip();
        const QString first = " 185  Punkte für  Grete ---  15 Sekunden benötigt im Modus normal";
        const QString second = "-32017  Punkte für  Grete ---  32767 Sekunden benötigt im Modus sehr schwer";
        QCOMPARE(lines, QStringList({ "Command3", first, first, second, second }));
        type(frame, Qt::Key_Return);
        type(frame, Qt::Key_W, Qt::AltModifier);
        QCOMPARE(std::pair(c.Frame2->isHidden(), focusName(frame)), std::pair(true, QStringLiteral("Command2")));
        type(frame, Qt::Key_Return);

        // No place among eleven better lines: the count goes back to 0.
        QFile file(QDir(d.fake.program.dir).filePath("best1.lst"));
        QVERIFY(
            file.open(QIODevice::WriteOnly) && file.write(QByteArray(" 990  Punkte\r\n").repeated(11)) && file.flush());
        runFor(2, { inTarget });
        QCOMPARE(std::pair(c.Frame1->isHidden(), d.lastBox() + d.seconds()),
            std::pair(true,
                QStringList({ "Herzlichen Glückwunsch",
                    "Super Sie haben es geschafft, leider langt Ihre Zeit noch nicht für einen Eintrag in die "
                    "Highscoreliste!",
                    "2", "0" })));
        c.ende->trigger();
        QCOMPARE(QList({ d.form->isLoaded(), d.start().Visible(), d.fake.program.ended > 0 }),
            QList({ false, true, false }));
    }
};

QTEST_MAIN(DexterityTest)

#include "tst_dexterity.moc"
