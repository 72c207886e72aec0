#include "coursewalk.h"
#include "dexterity/course.h"

#include <QFontMetricsF>
#include <QTest>

using course::colourAt;

namespace {

constexpr quint32 black = 0x000000;
constexpr quint32 yellow = 0x00FFFF; // 0x00BBGGRR
constexpr quint32 red = 0x0000FF;

QImage picture(int width, qreal ratio, QList<course::RedText> texts = {})
{
    return course::render(course::Look { width, std::move(texts) }, ratio);
}

QString where(QPointF point)
{
    return QStringLiteral("(%1, %2) px").arg(point.x()).arg(point.y());
}

void addWidthRows()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<qreal>("ratio");
    for (qreal ratio : { 1.0, 2.0 }) {
        for (int width : { 20, 15, 10, 5 })
            QTest::addRow("width %d, scale %g", width, ratio) << width << ratio;
    }
}

// Every pixel of the two red-text boxes, in logical pixels of a picture at the given ratio.
QList<QPointF> pixelsIn(const QRect &twips, qreal ratio)
{
    QList<QPointF> points;
    const QRectF box = course::toPixels(twips);
    for (double y = box.top(); y < box.bottom(); y += 1 / ratio) {
        for (double x = box.left(); x < box.right(); x += 1 / ratio)
            points << QPointF(x, y);
    }
    return points;
}

const QRect secondsBox(6720, 360, 735, 375);
const QRect unitBox(7440, 360, 1815, 375);

} // namespace

class CourseTest : public QObject
{
    Q_OBJECT

private slots:
    void pictureCoversTheClientAreaAtEveryScale_data();
    void pictureCoversTheClientAreaAtEveryScale();
    void centreLinesAreYellow_data();
    void centreLinesAreYellow();
    void besideEachStrokeIsBlack_data();
    void besideEachStrokeIsBlack();
    void ringsAreOutlinesOfTheirWidth_data();
    void ringsAreOutlinesOfTheirWidth();
    void startAreaYellowTargetRed_data();
    void startAreaYellowTargetRed();
    void narrowCourseHasNoGap_data();
    void narrowCourseHasNoGap();
    void redTextsArePureRedWhileVisible_data();
    void redTextsArePureRedWhileVisible();
    void longCaptionsKeepAllTheirLetters_data();
    void longCaptionsKeepAllTheirLetters();
    void outsideThePictureIsBlack();
};

void CourseTest::pictureCoversTheClientAreaAtEveryScale_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("pixels");
    QTest::newRow("scale 1") << 1.0 << QSize(628, 449);
    QTest::newRow("scale 2") << 2.0 << QSize(1256, 898);
    QTest::newRow("scale 1.5") << 1.5 << QSize(942, 674);
}

void CourseTest::pictureCoversTheClientAreaAtEveryScale()
{
    QFETCH(qreal, ratio);
    QFETCH(QSize, pixels);
    const QImage image = picture(15, ratio);
    QCOMPARE(image.size(), pixels);
    QCOMPARE(image.devicePixelRatio(), ratio);
    // The same logical point reads the same piece at every scale.
    QCOMPARE(colourAt(image, QPointF(25, 140)), yellow);
    QCOMPARE(colourAt(image, QPointF(10, 10)), black);
}

void CourseTest::centreLinesAreYellow_data()
{
    addWidthRows();
}

void CourseTest::centreLinesAreYellow()
{
    QFETCH(int, width);
    QFETCH(qreal, ratio);
    const QImage image = picture(width, ratio);
    for (const course::Stroke &stroke : course::strokes) {
        QList<QPointF> line;
        coursewalk::addLeg(line, course::toPixels(stroke.from), course::toPixels(stroke.to), 0.25);
        for (QPointF point : line) {
            if (colourAt(image, point) == yellow)
                continue;
            // Line1(22) ends under the target, which is drawn above it.
            if (course::toPixels(course::target).contains(point) && colourAt(image, point) == red)
                continue;
            QFAIL(qPrintable(QStringLiteral("%1 not yellow at %2").arg(stroke.name, where(point))));
        }
    }
    for (const course::Ring &ring : course::rings) {
        QList<QPointF> circle;
        coursewalk::addCircle(circle, { course::ringCentre(ring), course::ringRadius(ring) }, 0.25);
        for (QPointF point : circle) {
            if (colourAt(image, point) != yellow)
                QFAIL(qPrintable(QStringLiteral("%1 not yellow at %2").arg(ring.name, where(point))));
        }
    }
}

void CourseTest::besideEachStrokeIsBlack_data()
{
    addWidthRows();
}

void CourseTest::besideEachStrokeIsBlack()
{
    QFETCH(int, width);
    QFETCH(qreal, ratio);
    const QImage image = picture(width, ratio);
    for (const course::Stroke &stroke : course::strokes) {
        const QPointF from = course::toPixels(stroke.from), to = course::toPixels(stroke.to);
        const QPointF along = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
        const QPointF across(-along.y(), along.x());
        const QPointF middle = (from + to) / 2;
        // Just beside the stroke on either side, and still on it just inside its edge.
        for (int side : { -1, 1 }) {
            const QPointF outside = middle + across * side * (width / 2.0 + 1.5);
            const QPointF inside = middle + across * side * (width / 2.0 - 1.0);
            QVERIFY2(colourAt(image, outside) == black,
                qPrintable(QStringLiteral("%1 too wide at %2").arg(stroke.name, where(outside))));
            QVERIFY2(colourAt(image, inside) == yellow,
                qPrintable(QStringLiteral("%1 too narrow at %2").arg(stroke.name, where(inside))));
        }
    }
}

void CourseTest::ringsAreOutlinesOfTheirWidth_data()
{
    addWidthRows();
}

void CourseTest::ringsAreOutlinesOfTheirWidth()
{
    QFETCH(int, width);
    QFETCH(qreal, ratio);
    const QImage image = picture(width, ratio);
    for (const course::Ring &ring : course::rings) {
        const QPointF centre = course::ringCentre(ring);
        const double radius = course::ringRadius(ring);
        QCOMPARE(radius, 24.5); // 735 twips across
        QVERIFY2(colourAt(image, centre) == black, ring.name); // transparent inside
        // The left side of every ring is free of other pieces.
        const QPointF left(-1, 0);
        QVERIFY2(colourAt(image, centre + left * (radius + width / 2.0 + 1.5)) == black, ring.name);
        QVERIFY2(colourAt(image, centre + left * (radius - width / 2.0 - 1.5)) == black, ring.name);
        QVERIFY2(colourAt(image, centre + left * (radius + width / 2.0 - 1.0)) == yellow, ring.name);
        QVERIFY2(colourAt(image, centre + left * (radius - width / 2.0 + 1.0)) == yellow, ring.name);
    }
}

void CourseTest::startAreaYellowTargetRed_data()
{
    addWidthRows();
}

void CourseTest::startAreaYellowTargetRed()
{
    QFETCH(int, width);
    QFETCH(qreal, ratio);
    const QImage image = picture(width, ratio);
    QCOMPARE(colourAt(image, QPointF(25, 140)), yellow);
    // Corners of the start area (0, 120, 49 × 41 px) and of the target (8, 208, 49 × 33 px).
    QCOMPARE(colourAt(image, QPointF(0, 120)), yellow);
    QCOMPARE(colourAt(image, QPointF(48.6, 160.6)), yellow);
    QCOMPARE(colourAt(image, QPointF(8, 208)), red);
    QCOMPARE(colourAt(image, QPointF(56.6, 240.6)), red);
    QCOMPARE(colourAt(image, QPointF(32, 224)), red);
    QCOMPARE(colourAt(image, QPointF(7.4, 224)), black);
    QCOMPARE(colourAt(image, QPointF(57.2, 224)), black);
}

void CourseTest::narrowCourseHasNoGap_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("scale 1") << 1.0;
    QTest::newRow("scale 2") << 2.0;
}

void CourseTest::narrowCourseHasNoGap()
{
    QFETCH(qreal, ratio);
    const QImage image = picture(5, ratio);
    QPointF last;
    for (const coursewalk::Piece &piece : coursewalk::pieces(0.2)) {
        for (QPointF point : piece.points) {
            if (colourAt(image, point) == black)
                QFAIL(qPrintable(QStringLiteral("black on %1 at %2").arg(piece.name, where(point))));
            last = point;
        }
    }
    QCOMPARE(colourAt(image, last), red);
}

void CourseTest::redTextsArePureRedWhileVisible_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("visible");
    QTest::newRow("scale 1, shown") << 1.0 << true;
    QTest::newRow("scale 2, shown") << 2.0 << true;
    QTest::newRow("scale 1, hidden") << 1.0 << false;
}

void CourseTest::redTextsArePureRedWhileVisible()
{
    QFETCH(qreal, ratio);
    QFETCH(bool, visible);
    const QImage image = picture(
        15, ratio, { { secondsBox, QStringLiteral("17"), visible }, { unitBox, QStringLiteral("Sekunden"), visible } });
    for (const QRect &box : { secondsBox, unitBox }) {
        int reds = 0;
        for (QPointF point : pixelsIn(box, ratio)) {
            const quint32 colour = colourAt(image, point);
            QVERIFY2(colour == red || colour == black, qPrintable(where(point))); // no blended edge
            reds += colour == red;
        }
        if (visible)
            QVERIFY2(reds > 20, qPrintable(QString::number(reds)));
        else
            QCOMPARE(reds, 0);
    }
    // The letters stay inside their label.
    QCOMPARE(colourAt(image, QPointF(447.5, 30)), black);
    QCOMPARE(colourAt(image, QPointF(500, 49.5)), black);
}

void CourseTest::longCaptionsKeepAllTheirLetters_data()
{
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("fullSize");
    QTest::newRow("one digit") << secondsBox << QStringLiteral("7") << true;
    QTest::newRow("five digits") << secondsBox << QStringLiteral("32767") << false;
    QTest::newRow("Sekunden") << unitBox << QStringLiteral("Sekunden") << false;
}

void CourseTest::longCaptionsKeepAllTheirLetters()
{
    QFETCH(QRect, box);
    QFETCH(QString, caption);
    QFETCH(bool, fullSize);
    const QRectF pixels = course::toPixels(box);
    // On a face wider than the design's the text shrinks rather than being cut off.
    const QFont font = course::redTextFont(caption, pixels.width());
    QVERIFY(QFontMetricsF(font).horizontalAdvance(caption) <= pixels.width());
    if (fullSize || QFontMetricsF(course::redTextFont(QString(), 1000)).horizontalAdvance(caption) <= pixels.width())
        QCOMPARE(font.pixelSize(), 24);
    else
        QVERIFY(font.pixelSize() < 24);

    const QImage image = picture(15, 1, { { box, caption, true } });
    int reds = 0;
    for (double y = pixels.top(); y < pixels.bottom(); ++y) {
        QCOMPARE(colourAt(image, QPointF(pixels.right() - 1, y)), black);
        for (double x = pixels.left(); x < pixels.right(); ++x)
            reds += colourAt(image, QPointF(x, y)) == red;
    }
    QVERIFY(reds > 20);
}

void CourseTest::outsideThePictureIsBlack()
{
    const QImage image = picture(20, 1);
    QCOMPARE(colourAt(image, QPointF(-0.5, 140)), black); // left of the start area
    QCOMPARE(colourAt(image, QPointF(0, 140)), yellow);
    QCOMPARE(colourAt(image, QPointF(628, 140)), black);
    QCOMPARE(colourAt(image, QPointF(25, 449)), black);
}

QObject *makeCourseTest()
{
    return new CourseTest;
}

#include "tst_course.moc"
