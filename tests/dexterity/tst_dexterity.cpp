#include "dexterity/course.h"
#include "dexterity/coursesurface.h"
#include "dexterity/form3.h"
#include "fakeservices.h"
#include "platform/timer.h"
#include "shell/registry.h"
#include "shell/start.h"

#include <QTest>
#include <QtMath>
#include <QtWidgets>

namespace {

constexpr quint32 black = 0x000000, yellow = 0x00FFFF, red = 0x0000FF; // 0x00BBGGRR

// Points of the client area in logical pixels; label boxes in twips.
const QPointF onBlack(100, 50), inTarget(32, 224);
const QRect secondsBox(6720, 360, 735, 375), unitBox(7440, 360, 1815, 375);
const QString lostBox = QStringLiteral("So ein Mist: Pech gehabt\n");
const QString noPlaceBox = QStringLiteral("Herzlichen Glückwunsch: Super Sie haben es geschafft, leider langt Ihre "
                                          "Zeit noch nicht für einen Eintrag in die Highscoreliste!\n");

// The centre line of the whole course as a player follows it, from the start area into the
// target, written down from the course plan on its own (not from the program's tables), so
// that a mistyped end point shows as a gap. Twips: corners, and rings (by the top-left corner
// of their 975 × 735 box) gone round once where they are met.
struct Stop
{
    double x, y;
    bool ring = false;
};
const QList<Stop> coursePlan { { 375, 2100 }, { 480, 2160 }, { 1800, 1920 }, { 3120, 2760 }, { 4560, 1920 },
    { 4560, 2880 }, { 5280, 2880 }, { 5280, 1920 }, { 6120, 1920 }, { 6120, 2880 }, { 6840, 2880 }, { 6840, 1920 },
    { 7680, 1920 }, { 7680, 2880 }, { 8520, 2880 }, { 8520, 1920 }, { 9120, 1920 }, { 9120, 3240 }, { 7440, 3240 },
    { 7440, 3600 }, { 6960, 3600, true }, { 6960, 4320, true }, { 7560, 5040 }, { 8400, 5040 }, { 8400, 3720 },
    { 9120, 3720 }, { 9120, 5400 }, { 8160, 6120 }, { 7080, 5400 }, { 4920, 5400 }, { 4080, 5040, true },
    { 4080, 4320, true }, { 4080, 3600, true }, { 4560, 3600 }, { 2160, 3600 }, { 3840, 5640 }, { 480, 5640 },
    { 480, 3600 } };

QList<QPointF> courseWalk(double step)
{
    auto centre = [](const Stop &s) { return (s.ring ? QPointF(s.x + 487.5, s.y + 367.5) : QPointF(s.x, s.y)) / 15; };
    auto nearest = [&centre](const Stop &s, QPointF to) { // the corner, or the point of the ring nearest to `to`
        const QPointF d = to - centre(s);
        return s.ring ? centre(s) + d * (24.5 / std::hypot(d.x(), d.y())) : centre(s);
    };
    QList<QPointF> points;
    for (qsizetype i = 0; i + 1 < coursePlan.size(); ++i) {
        for (double angle = 0; coursePlan[i].ring && angle < 2 * M_PI; angle += step / 24.5)
            points << centre(coursePlan[i]) + QPointF(std::cos(angle), std::sin(angle)) * 24.5;
        const QPointF from = nearest(coursePlan[i], centre(coursePlan[i + 1]));
        const QLineF leg(from, nearest(coursePlan[i + 1], from));
        for (double t = 0; t < 1; t += step / std::max(leg.length(), step))
            points << leg.pointAt(t);
        points << leg.p2();
    }
    return points;
}

QString dexterityLine(int points, const QString &name, int seconds, const QString &mode)
{
    auto number = [](int value) { return value < 0 ? QString::number(value) : ' ' + QString::number(value); };
    return QStringLiteral("%1  Punkte für  %2 --- %3 Sekunden benötigt im Modus %4")
        .arg(number(points), name, number(seconds), mode);
}

// The program on fake services, with the dexterity window opened from the start window.
struct Fixture
{
    FakeServices fake;
    WindowRegistry registry { fake.services };
    Form3 *form = nullptr;

    Fixture()
    {
        fake.program.onShowStart = [this] { registry.start().setVisible(true); };
        registry.start().setVisible(true);
        open();
    }
    void open()
    {
        QTest::mouseClick(registry.start().controls().Command3, Qt::LeftButton); // Geschicklichkeit
        form = &static_cast<Form3 &>(registry.test(TestWindow::Dexterity));
    }
    const Form3::Controls &c() const { return form->controls(); }
    void startRun() { QTest::mouseClick(c().Command1, Qt::LeftButton); }
    void sample(QPointF point) { form->Form_MouseMove(point.x(), point.y()); }
    void runSeconds(int count)
    {
        for (int i = 0; i < count; ++i)
            c().Timer2->tick();
    }
    // What runs: the two timers and the cross-hair.
    QString state() const
    {
        return QStringList { c().Timer1->Enabled() ? "Timer1" : "", c().Timer2->Enabled() ? "Timer2" : "",
            c().surface->cursor().shape() == Qt::CrossCursor ? "cross" : "" }
            .join(' ')
            .trimmed();
    }
    QString marks() const
    {
        QStringList checked;
        for (QAction *item : { c().ganzeinfach, c().einfach, c().mittel, c().schwer })
            checked << (item->isChecked() ? item->text() : QString());
        return checked.join(QString()); // one mark reads as one name
    }
    QString boxes() const
    {
        QString shown;
        for (const ShownBox &box : fake.dialogs.shown)
            shown += box.title + ": " + box.prompt + '\n';
        return shown;
    }
    QString listPath() const { return QDir(fake.program.dir).filePath("best1.lst"); }
    void writeList(const QStringList &lines)
    {
        QFile file(listPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringEncoder("windows-1252").encode(lines.join("\r\n") + (lines.isEmpty() ? "" : "\r\n")));
    }
    QStringList readList()
    {
        QFile file(listPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString(QStringDecoder("windows-1252").decode(file.readAll())).split("\r\n", Qt::SkipEmptyParts);
    }
    QPointF redLetterIn(QRect twips)
    {
        const QRectF box = course::toPixels(twips);
        for (double y = box.top(); y < box.bottom(); ++y)
            for (double x = box.left(); x < box.right(); ++x)
                if (c().surface->colourAt(QPointF(x, y)) == red)
                    return QPointF(x, y);
        return QPointF(-1, -1);
    }
};

} // namespace

class DexterityTest : public QObject
{
    Q_OBJECT

    // The scale the suite runs at: 1, or 2 in its second registration.
    static qreal scale() { return qApp->devicePixelRatio(); }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        if (qEnvironmentVariableIsSet("KORVANE_EXPECT_SCALE")) // make sure the scale-2 screen was taken
            QCOMPARE(scale(), qEnvironmentVariable("KORVANE_EXPECT_SCALE").toDouble());
    }

    void coursePicture_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("labels"); // the red labels shown
        QTest::newRow("width 20, labels shown") << 20 << true;
        QTest::newRow("width 15, labels hidden") << 15 << false;
        QTest::newRow("width 10, labels shown") << 10 << true;
        QTest::newRow("width 5, labels hidden") << 5 << false;
    }
    void coursePicture()
    {
        QFETCH(int, width);
        QFETCH(bool, labels);
        // The longest count and the unit: on faces wider than the design's they shrink rather than lose letters.
        const QList<course::RedText> texts { { secondsBox, "32767", labels }, { unitBox, "Sekunden", labels } };
        const QImage image = course::render(course::Look { width, texts }, scale());
        QStringList wrong;
        auto check = [&](const QString &piece, QPointF point, quint32 colour) {
            if (course::colourAt(image, point) != colour)
                wrong << piece + QStringLiteral(" at %1, %2").arg(point.x()).arg(point.y());
        };
        // Every piece's centre line is yellow (red where it reaches the target, drawn above Line1(22)).
        const QRectF target = course::toPixels(course::target).adjusted(0, 0, -1e-6, -1e-6); // right, bottom out
        const QList<QPointF> walk = courseWalk(0.2);
        for (QPointF point : walk)
            check("course walk", point, target.contains(point) ? red : yellow);
        check("end of the walk", walk.last(), red);
        for (const course::Stroke &stroke : course::strokes) { // just beside the middle of each stroke
            const QLineF line(course::toPixels(stroke.from), course::toPixels(stroke.to));
            const QLineF normal = line.normalVector().unitVector();
            const QPointF across(normal.dx(), normal.dy());
            for (int side : { -1, 1 })
                check(stroke.name, line.center() + across * side * (width / 2.0 + 1.5), black);
        }
        for (const course::Ring &ring : course::rings) { // open inside, and its left side free of other pieces
            for (double off : { 0.0, 24.5 - width / 2.0 - 1.5, 24.5 + width / 2.0 + 1.5 })
                check(ring.name, course::ringCentre(ring) - QPointF(off, 0), black);
        }
        check("start area", QPointF(25, 140), yellow);
        for (const course::RedText &text : texts) { // pure red letters, only while shown, fitted into their box
            const QRectF box = course::toPixels(text.box);
            QVERIFY(QFontMetricsF(course::redTextFont(text.caption, box.width())).horizontalAdvance(text.caption)
                <= box.width());
            int reds = 0;
            for (double y = box.top(); y < box.bottom(); y += 1 / scale())
                for (double x = box.left(); x < box.right(); x += 1 / scale())
                    if (course::colourAt(image, QPointF(x, y)) == red)
                        ++reds;
                    else
                        check(text.caption, QPointF(x, y), black);
            QVERIFY2(labels ? reds > 20 : reds == 0, qPrintable(text.caption + ' ' + QString::number(reds)));
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 5).join("; ")));
    }

    void design()
    {
        Fixture f;
        QStringList bar;
        for (QAction *action : f.form->frame()->menuBar()->actions())
            bar << action->text();
        QCOMPARE(QStringList({ f.form->frame()->windowTitle(), f.c().Command1->text(), bar.join('|'), f.marks() }),
            QStringList({ "Geschicklichkeitstest", "lass uns anfangen",
                "Schwierigkeit|Wie funktioniert das nun?|Hier finden Sie die Besten|Das ist nichts für mich",
                "normal" }));
        QCOMPARE(QList({ f.form->client()->rect(), f.c().Command1->geometry() }),
            QList({ QRect(0, 0, 628, 449), QRect(256, 56, 113, 33) }));
    }

    void runs_data()
    {
        QTest::addColumn<QString>("sample"); // the last movement before the tick
        QTest::addColumn<int>("lines"); // in best1.lst, each worth `worth` points; -1: no file
        QTest::addColumn<int>("worth");
        QTest::addColumn<QString>("after");
        QTest::newRow("black") << "black" << -1 << 0 << "lost";
        QTest::newRow("no sample before the first tick") << "none" << -1 << 0 << "lost";
        QTest::newRow("start area, no movement after the start") << "start" << -1 << 0 << "running";
        QTest::newRow("target, no list") << "target" << -1 << 0 << "first entry";
        QTest::newRow("red label text") << "Label1" << -1 << 0 << "first entry";
        QTest::newRow("empty list") << "target" << 0 << 0 << "entry";
        QTest::newRow("nine better lines: room left") << "target" << 9 << 190 << "entry";
        QTest::newRow("ten better lines") << "target" << 10 << 190 << "no place";
    }
    void runs()
    {
        QFETCH(QString, sample);
        QFETCH(int, lines);
        QFETCH(int, worth);
        QFETCH(QString, after);
        Fixture f;
        const QStringList old(std::max(lines, 0), dexterityLine(worth, "Alt", 10, "normal"));
        if (lines >= 0)
            f.writeList(old);
        f.fake.desktop.onPutPointer = [&f](QWidget *client, QPoint) { QCOMPARE(client, f.form->client()); };
        // Ticks falling due while a box is open are dropped; the seconds go on meanwhile.
        f.fake.dialogs.whileOpen = [&f] {
            f.c().Timer1->tick();
            f.c().Timer2->tick();
        };
        if (sample == "none") {
            f.c().Timer1->setEnabled(true); // a fresh window never moved over
        } else {
            // The last run ended on black and the pointer is put where it already stands: no
            // movement arrives, and the new run must still be judged from the start area.
            f.form->pixelcolour = Form3::black;
            f.startRun();
            QCOMPARE(f.fake.desktop.pointerMoves, QList<QPoint> { QPoint(25, 140) });
            f.c().surface->picture(); // drawn as shown before the count changes
            f.runSeconds(15);
            const QPointF point = sample == "black" ? onBlack
                : sample == "Label1"                ? f.redLetterIn(secondsBox)
                                                    : inTarget;
            QVERIFY(point.x() >= 0);
            if (sample != "start")
                f.sample(point);
        }
        f.c().Timer1->tick();
        const bool won = after.endsWith("entry");
        QCOMPARE(f.boxes(), after == "lost" ? lostBox : after == "no place" ? noPlaceBox : "");
        QCOMPARE(f.state(), after == "running" ? "Timer1 Timer2 cross" : "");
        QCOMPARE(f.c().Label1->Caption(), sample == "none" ? "" : sample == "black" ? "16" : "15");
        QCOMPARE(f.form->seconds, short(after == "lost" || after == "no place" ? 0 : 15));
        QCOMPARE(f.c().Label4->text(), won ? "Das sind 185 Punkte für Sie" : "");
        QCOMPARE(f.c().Frame3->isVisible() && f.form->frame()->focusWidget() == f.c().Text2, won);
        if (won)
            f.c().Command4->click(); // no name typed
        QVERIFY(won ? f.readList().contains(dexterityLine(185, "Anonymer", 15, "normal")) : f.readList() == old);
        // Only a first entry clears the count.
        QCOMPARE(f.form->seconds, short(after == "entry" || after == "running" ? 15 : 0));
    }

    void realMovesSampleOnlyTheSurface()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(f.form->frame()));
        QCOMPARE(f.c().surface->picture().devicePixelRatio(), scale());
        f.writeList({ dexterityLine(185, "Gast", 15, "normal") });
        // No run: a real movement lets the real timers tick, which would judge the samples.
        auto sampleAt = [&f](QPoint point) {
            QTest::mouseMove(f.form->client(), point);
            return quint32(f.form->pixelcolour);
        };
        f.c().Label2->setVisible(true);
        // The edge of Line4 (x = 304 px, 15 px wide) at the screen's own scale; the red labels take no movements.
        QCOMPARE(QList({ sampleAt({ 311, 160 }), sampleAt({ 312, 160 }), sampleAt(f.redLetterIn(unitBox).toPoint()) }),
            QList({ yellow, black, red }));
        // Over the button and over shown panels the last sample (red) stays, though black lies beneath.
        QCOMPARE(sampleAt(f.c().Command1->geometry().center()), red);
        f.c().best->trigger();
        QCOMPARE(QList({ sampleAt(f.c().Frame2->geometry().bottomLeft() + QPoint(5, -5)),
                     sampleAt(f.c().Frame2->mapTo(f.form->client(), f.c().List1->geometry().center())) }),
            QList({ red, red }));
    }

    void modes_data()
    {
        QTest::addColumn<int>("item"); // -1: never chosen
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("points");
        QTest::addColumn<QString>("name");
        QTest::newRow("normal, never chosen") << -1 << 15 << 20 << 180 << "normal";
        QTest::newRow("einfach") << 0 << 20 << 20 << 130 << "einfach";
        QTest::newRow("schwer") << 2 << 10 << 20 << 380 << "schwer";
        QTest::newRow("sehr schwer") << 3 << 5 << 20 << 730 << "sehr schwer";
        QTest::newRow("negative points") << 1 << 15 << 250 << -50 << "normal";
        QTest::newRow("seconds stop at the 16-bit top") << 3 << 5 << 32770 << 750 - 32767 << "sehr schwer";
    }
    void modes()
    {
        QFETCH(int, item);
        QFETCH(int, width);
        QFETCH(int, ticks);
        QFETCH(int, points);
        QFETCH(QString, name);
        Fixture f;
        QAction *items[] = { f.c().ganzeinfach, f.c().einfach, f.c().mittel, f.c().schwer };
        if (item >= 0) { // after every mode in turn: from each other one, or the same one twice
            for (QAction *other : items)
                other->trigger();
            items[item]->trigger();
        }
        QCOMPARE(f.marks(), name);
        // The picture follows: just inside and just beside Line4 (x = 304 px).
        QCOMPARE(QList({ f.c().surface->colourAt(QPointF(304 + width / 2.0 - 1, 160)),
                     f.c().surface->colourAt(QPointF(304 + width / 2.0 + 1, 160)) }),
            QList({ yellow, black }));
        f.startRun();
        f.runSeconds(ticks);
        const int seconds = std::min(ticks, 32767);
        QCOMPARE(f.c().Label1->Caption(), QString::number(seconds));
        f.sample(inTarget);
        f.c().Timer1->tick();
        QCOMPARE(f.c().Label4->text(), QStringLiteral("Das sind %1 Punkte für Sie").arg(points));
        f.c().Text2->insert("Jörg"); // typed; QTest types only ASCII
        QTest::mouseClick(f.c().Command4, Qt::LeftButton);
        QCOMPARE(f.readList(), QStringList { dexterityLine(points, "Jörg", seconds, name) });
        QVERIFY(!f.c().Frame3->isVisible());
    }

    void playThroughThenLeaveDuringTheNextRun_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("left by Ende") << true;
        QTest::newRow("left by the close box") << false;
    }
    void playThroughThenLeaveDuringTheNextRun()
    {
        QFETCH(bool, byMenu);
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(f.form->frame()));
        // The system answers the pointer's jump with a movement, as a real one does.
        f.fake.desktop.onPutPointer = [](QWidget *client, QPoint point) { QTest::mouseMove(client, point); };
        f.startRun();
        int samples = 0;
        for (QPointF point : courseWalk(1.0)) { // a tick every few samples, a second every so often
            f.sample(point);
            if (++samples % 4 == 0)
                f.c().Timer1->tick();
            if (samples % 250 == 0)
                f.c().Timer2->tick();
        }
        f.c().Timer1->tick();
        const int seconds = f.form->seconds;
        QVERIFY(f.fake.dialogs.shown.isEmpty() && f.c().Frame3->isVisible() && seconds > 5);
        QTest::keyClicks(f.c().Text2, "Grete");
        // The name panel writes what it opened with, and stays until that is written: a new run
        // in another mode is started before the name is confirmed, and the first try fails.
        f.c().schwer->trigger();
        f.startRun();
        f.runSeconds(3);
        QVERIFY(QDir(f.fake.program.dir).mkdir("best1.lst"));
        QTest::mouseClick(f.c().Command4, Qt::LeftButton);
        QVERIFY(f.fake.dialogs.shown.size() == 1 && f.c().Frame3->isVisible());
        QVERIFY(QDir(f.fake.program.dir).rmdir("best1.lst"));
        QTest::mouseClick(f.c().Command4, Qt::LeftButton);
        const QStringList saved { dexterityLine(200 - seconds, "Grete", seconds, "normal") };
        QCOMPARE(f.readList(), saved);
        QVERIFY(!f.c().Frame3->isVisible());
        QCOMPARE(f.form->seconds, short(3)); // the running count is left alone, the run goes on
        QCOMPARE(f.state(), "Timer1 Timer2 cross");

        f.sample(inTarget); // left before this is judged
        if (byMenu)
            f.c().ende->trigger();
        else
            f.form->frame()->close();
        QVERIFY(!f.form->isLoaded() && f.registry.start().Visible() && f.fake.program.ended == 0);
        QVERIFY(f.fake.dialogs.shown.size() == 1 && f.readList() == saved);
        // Opened again, it is idle and back at its design: nothing of the old run or mode goes on.
        f.open();
        QCOMPARE(QStringList({ f.state(), f.c().Label1->Visible() ? "Label1" : "", f.marks(), f.form->modename,
                     QString::number(f.c().surface->linewidth()) }),
            QStringList({ "", "", "normal", "normal", "15" }));
    }
};

QTEST_MAIN(DexterityTest)

#include "tst_dexterity.moc"
