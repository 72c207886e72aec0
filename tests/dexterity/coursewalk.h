#pragma once

#include <QList>
#include <QPointF>
#include <QtMath>

// The centre line of the whole course as a player follows it, from the start
// area into the target, written down from the course plan on its own (not taken
// from the program's tables), so that a mistyped end point shows as a gap.
namespace coursewalk {

// Logical pixels of a point given in twips.
inline QPointF px(double xTwips, double yTwips)
{
    return QPointF(xTwips / 15.0, yTwips / 15.0);
}

struct Circle
{
    QPointF centre; // logical pixels
    double radius;
};

// A ring's box (twips) gives a circle of the smaller side, centred in the box.
inline Circle ring(double left, double top)
{
    return { px(left + 975 / 2.0, top + 735 / 2.0), 735 / 2.0 / 15.0 };
}

inline QPointF nearestOn(const Circle &circle, QPointF point)
{
    const QPointF d = point - circle.centre;
    const double length = std::hypot(d.x(), d.y());
    return circle.centre + d * (circle.radius / length);
}

// Points every `step` logical pixels along a straight leg, both ends included.
inline void addLeg(QList<QPointF> &points, QPointF from, QPointF to, double step)
{
    const double length = std::hypot(to.x() - from.x(), to.y() - from.y());
    const int count = std::max(1, int(std::ceil(length / step)));
    for (int i = 0; i <= count; ++i)
        points << from + (to - from) * (double(i) / count);
}

inline void addPolyline(QList<QPointF> &points, const QList<QPointF> &corners, double step)
{
    for (int i = 1; i < corners.size(); ++i)
        addLeg(points, corners[i - 1], corners[i], step);
}

inline void addCircle(QList<QPointF> &points, const Circle &circle, double step)
{
    const int count = int(std::ceil(2 * M_PI * circle.radius / step));
    for (int i = 0; i <= count; ++i) {
        const double angle = 2 * M_PI * i / count;
        points << circle.centre + QPointF(std::cos(angle), std::sin(angle)) * circle.radius;
    }
}

// One piece of the course: its name and the points of its centre line.
struct Piece
{
    QString name;
    QList<QPointF> points;
};

inline QList<Piece> pieces(double step)
{
    const Circle ring0 = ring(6960, 3600), ring1 = ring(6960, 4320);
    const Circle ring2 = ring(4080, 5040), ring3 = ring(4080, 4320), ring4 = ring(4080, 3600);
    QList<Piece> walk;
    auto add = [&walk](const QString &name, QList<QPointF> points) { walk << Piece { name, std::move(points) }; };
    auto chain = [step](const QList<QPointF> &corners) {
        QList<QPointF> points;
        addPolyline(points, corners, step);
        return points;
    };
    auto circle = [step](const Circle &c) {
        QList<QPointF> points;
        addCircle(points, c, step);
        return points;
    };

    add("start area into Line1(0)", chain({ px(375, 2100), px(480, 2160) }));
    add("Line1(0) to Line1(12)",
        chain({ px(480, 2160), px(1800, 1920), px(3120, 2760), px(4560, 1920), px(4560, 2880), px(5280, 2880),
            px(5280, 1920), px(6120, 1920), px(6120, 2880), px(6840, 2880), px(6840, 1920), px(7680, 1920),
            px(7680, 2880), px(8520, 2880), px(8520, 1920), px(9120, 1920), px(9120, 3240), px(7440, 3240),
            px(7440, 3600) }));
    add("Line1(12) into Shape1(0)", chain({ px(7440, 3600), nearestOn(ring0, px(7440, 3600)) }));
    add("Shape1(0)", circle(ring0));
    add("Shape1(0) into Shape1(1)", chain({ px(7447.5, 4335), px(7447.5, 4320) }));
    add("Shape1(1)", circle(ring1));
    add("Shape1(1) into Line1(8)", chain({ nearestOn(ring1, px(7560, 5040)), px(7560, 5040) }));
    add("Line1(8) to Line1(18)",
        chain({ px(7560, 5040), px(8400, 5040), px(8400, 3720), px(9120, 3720), px(9120, 5400), px(8160, 6120),
            px(7080, 5400), px(4920, 5400) }));
    add("Line1(18) into Shape1(2)", chain({ px(4920, 5400), nearestOn(ring2, px(4920, 5400)) }));
    add("Shape1(2)", circle(ring2));
    add("Shape1(2) into Shape1(3)", chain({ px(4567.5, 5040), px(4567.5, 5055) }));
    add("Shape1(3)", circle(ring3));
    add("Shape1(3) into Shape1(4)", chain({ px(4567.5, 4320), px(4567.5, 4335) }));
    add("Shape1(4)", circle(ring4));
    add("Shape1(4) into Line1(19)", chain({ px(4567.5, 3600), px(4560, 3600) }));
    add("Line1(19) to Line1(22)",
        chain({ px(4560, 3600), px(2160, 3600), px(3840, 5640), px(480, 5640), px(480, 3600) }));
    return walk;
}

} // namespace coursewalk
