// SPDX-License-Identifier: GPL-3.0-or-later

#include "dexterity/course.h"

#include "platform/controls.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace course {

namespace {

const QColor yellow(255, 255, 0);
const QColor red(255, 0, 0);

constexpr int textPixelSize = 24; // 18 point at 96 pixels an inch
constexpr int smallestPixelSize = 8;

void drawCourse(QPainter &painter, int linewidth)
{
    painter.fillRect(toPixels(startArea), yellow);

    // Round caps and joins: strokes meeting at an end point overlap in a full
    // disc there, so no corner leaves a notch of black.
    // The rings are outlines: a fresh painter has no brush to fill them.
    painter.setPen(QPen(yellow, linewidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const Stroke &stroke : strokes)
        painter.drawLine(toPixels(stroke.from), toPixels(stroke.to));
    for (const Ring &ring : rings) {
        const double radius = ringRadius(ring);
        painter.drawEllipse(ringCentre(ring), radius, radius);
    }

    // Above the end of the last stroke, so that entering the box is reaching it.
    painter.fillRect(toPixels(target), red);
}

void drawTexts(QPainter &painter, const QList<RedText> &texts)
{
    painter.setPen(red);
    for (const RedText &text : texts) {
        if (!text.visible || text.caption.isEmpty())
            continue;
        const QRectF box = toPixels(text.box);
        painter.save();
        painter.setFont(redTextFont(text.caption, box.width()));
        painter.setClipRect(box);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text.caption);
        painter.restore();
    }
}

} // namespace

QPointF toPixels(QPoint twips)
{
    return QPointF(twips) / platform::twipsPerPixel;
}

QRectF toPixels(const QRect &twips)
{
    return QRectF(toPixels(twips.topLeft()), QSizeF(twips.size()) / platform::twipsPerPixel);
}

QPointF ringCentre(const Ring &ring)
{
    return toPixels(ring.box).center();
}

double ringRadius(const Ring &ring)
{
    return std::min(ring.box.width(), ring.box.height()) / 2.0 / platform::twipsPerPixel;
}

QFont redTextFont(const QString &caption, double boxWidth)
{
    QFont font = platform::designFont(18, true);
    font.setPixelSize(textPixelSize);
    // Every pixel of a letter must read exactly red, never a blend with the ground.
    font.setStyleStrategy(QFont::NoAntialias);
    while (font.pixelSize() > smallestPixelSize && QFontMetricsF(font).horizontalAdvance(caption) > boxWidth)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

QImage render(const Look &look, qreal devicePixelRatio)
{
    const QSizeF logical = QSizeF(clientTwips) / platform::twipsPerPixel;
    // 16 bits a pixel hold black, yellow and red exactly, in half the memory of 32.
    QImage picture((logical * devicePixelRatio).toSize(), QImage::Format_RGB16);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::black);

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    drawCourse(painter, look.linewidth);
    drawTexts(painter, look.texts);
    return picture;
}

Pixels::Pixels(const QImage &picture)
    : bits_(picture.constBits())
    , bytesPerLine_(picture.bytesPerLine())
    , width_(picture.width())
    , height_(picture.height())
    , ratio_(picture.devicePixelRatio())
{ }

} // namespace course
