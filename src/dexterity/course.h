// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>

// The hot-wire course of the dexterity window: where its pieces lie (in twips of
// the client area) and how it is drawn. The picture drawn here is at the same
// time what the window shows and what the pointer is tested against, so the
// player is judged by exactly the pixels they see.
namespace course {

constexpr QSize clientTwips(9420, 6735);
constexpr int designWidth = 15; // pixels, until a mode is chosen

struct Stroke
{
    const char *name;
    QPoint from; // twips
    QPoint to;
};

// A circle outline with the smaller side of its box as diameter, centred in the box.
struct Ring
{
    const char *name;
    QRect box; // twips
};

constexpr QRect startArea(0, 1800, 735, 615); // Shape3, filled yellow
constexpr QRect target(120, 3120, 735, 495); // Shape2, filled red

// Line1(0) to Line1(22), then Line2 to Line7: the order in which widths are applied.
inline constexpr std::array<Stroke, 29> strokes { {
    { "Line1(0)", { 480, 2160 }, { 1800, 1920 } },
    { "Line1(1)", { 6120, 1920 }, { 6120, 2880 } },
    { "Line1(2)", { 6120, 2880 }, { 6840, 2880 } },
    { "Line1(3)", { 6840, 2880 }, { 6840, 1920 } },
    { "Line1(4)", { 6840, 1920 }, { 7680, 1920 } },
    { "Line1(5)", { 7680, 2880 }, { 8520, 2880 } },
    { "Line1(6)", { 8520, 2880 }, { 8520, 1920 } },
    { "Line1(7)", { 7680, 1920 }, { 7680, 2880 } },
    { "Line1(8)", { 7560, 5040 }, { 8400, 5040 } },
    { "Line1(9)", { 9120, 1920 }, { 9120, 3240 } },
    { "Line1(10)", { 8520, 1920 }, { 9120, 1920 } },
    { "Line1(11)", { 9120, 3240 }, { 7440, 3240 } },
    { "Line1(12)", { 7440, 3240 }, { 7440, 3600 } },
    { "Line1(13)", { 8400, 5040 }, { 8400, 3720 } },
    { "Line1(14)", { 8400, 3720 }, { 9120, 3720 } },
    { "Line1(15)", { 9120, 3720 }, { 9120, 5400 } },
    { "Line1(16)", { 9120, 5400 }, { 8160, 6120 } },
    { "Line1(17)", { 8160, 6120 }, { 7080, 5400 } },
    { "Line1(18)", { 7080, 5400 }, { 4920, 5400 } },
    { "Line1(19)", { 4560, 3600 }, { 2160, 3600 } },
    { "Line1(20)", { 2160, 3600 }, { 3840, 5640 } },
    { "Line1(21)", { 3840, 5640 }, { 480, 5640 } },
    { "Line1(22)", { 480, 5640 }, { 480, 3600 } },
    { "Line2", { 1800, 1920 }, { 3120, 2760 } },
    { "Line3", { 3120, 2760 }, { 4560, 1920 } },
    { "Line4", { 4560, 1920 }, { 4560, 2880 } },
    { "Line5", { 4560, 2880 }, { 5280, 2880 } },
    { "Line6", { 5280, 2880 }, { 5280, 1920 } },
    { "Line7", { 5280, 1920 }, { 6120, 1920 } },
} };

inline constexpr std::array<Ring, 5> rings { {
    { "Shape1(0)", { 6960, 3600, 975, 735 } },
    { "Shape1(1)", { 6960, 4320, 975, 735 } },
    { "Shape1(2)", { 4080, 5040, 975, 735 } },
    { "Shape1(3)", { 4080, 4320, 975, 735 } },
    { "Shape1(4)", { 4080, 3600, 975, 735 } },
} };

// Twips to the logical pixels the layout was designed for (15 twips a pixel).
QPointF toPixels(QPoint twips);
QRectF toPixels(const QRect &twips);
QPointF ringCentre(const Ring &ring); // logical pixels
double ringRadius(const Ring &ring); // logical pixels

// A red text drawn onto the course, such as the seconds display.
struct RedText
{
    QRect box; // twips
    QString caption;
    bool visible = false;

    bool operator==(const RedText &) const = default;
};

// 18 point at the scale the layout is designed for (96 pixels an inch), bold and
// without antialiasing; smaller where the caption would run out of its box, as
// the size was chosen for a narrower face than most systems have.
QFont redTextFont(const QString &caption, double boxWidth);

struct Look
{
    int linewidth = designWidth; // pixels, for strokes and rings
    QList<RedText> texts;

    bool operator==(const Look &) const = default;
};

// The whole client area at the given device pixel ratio, drawn without
// antialiasing: black ground, yellow course, red target and red texts.
QImage render(const Look &look, qreal devicePixelRatio);

// The pixels of a picture that render() made, as the pointer reads them: one
// read per mouse move, so nothing here asks the image anything. Valid while
// the picture lives unchanged.
class Pixels
{
public:
    Pixels() = default; // no picture: everything reads black
    explicit Pixels(const QImage &picture);

    // The colour of the pixel drawn under a point given in logical pixels, as
    // 0x00BBGGRR. Nothing outside the picture is course: it reads black.
    quint32 colourAt(QPointF logicalPoint) const
    {
        const double x = logicalPoint.x() * ratio_;
        const double y = logicalPoint.y() * ratio_;
        if (!(x >= 0 && y >= 0 && x < width_ && y < height_))
            return 0;
        // Inside, truncating is flooring. 5 bits of red, 6 of green, 5 of blue, each widened to 8 as Qt does.
        const quint32 pixel = reinterpret_cast<const quint16 *>(bits_ + int(y) * bytesPerLine_)[int(x)];
        const quint32 red = pixel >> 11, green = (pixel >> 5) & 0x3F, blue = pixel & 0x1F;
        return (red << 3 | red >> 2) | (green << 2 | green >> 4) << 8 | (blue << 3 | blue >> 2) << 16;
    }

private:
    const uchar *bits_ = nullptr;
    qsizetype bytesPerLine_ = 0;
    int width_ = 0;
    int height_ = 0;
    qreal ratio_ = 1;
};

inline quint32 colourAt(const QImage &picture, QPointF logicalPoint)
{
    return Pixels(picture).colourAt(logicalPoint);
}

} // namespace course
