// SPDX-License-Identifier: GPL-3.0-or-later

#include "dexterity/coursesurface.h"

#include <QMouseEvent>
#include <QPainter>

PaintedLabel::PaintedLabel(CourseSurface &surface, QRect twips, QString caption)
    : surface_(surface)
    , text_ { twips, std::move(caption) } // hidden until shown
{ }

void PaintedLabel::setCaption(const QString &caption)
{
    if (caption == text_.caption)
        return;
    text_.caption = caption;
    if (text_.visible)
        surface_.pictureChanged();
}

void PaintedLabel::setVisible(bool visible)
{
    if (visible == text_.visible)
        return;
    text_.visible = visible;
    surface_.pictureChanged();
}

CourseSurface::CourseSurface(QWidget *client, std::function<void(QPointF)> onMouseMove)
    : QWidget(client)
    , onMouseMove_(std::move(onMouseMove))
{
    setObjectName(QStringLiteral("surface"));
    setGeometry(client->rect());
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    lower();
}

CourseSurface::~CourseSurface() = default;

PaintedLabel *CourseSurface::addLabel(QRect twips, const QString &caption)
{
    labels_.push_back(std::make_unique<PaintedLabel>(*this, twips, caption));
    return labels_.back().get();
}

void CourseSurface::setLinewidth(int pixels)
{
    if (pixels == linewidth_)
        return;
    linewidth_ = pixels;
    pictureChanged();
}

void CourseSurface::pictureChanged()
{
    stale_ = true;
    update();
}

course::Look CourseSurface::look() const
{
    course::Look look;
    look.linewidth = linewidth_;
    for (const auto &label : labels_)
        look.texts << label->text();
    return look;
}

qreal CourseSurface::scale()
{
    // Asking the widget costs more than the pixel read itself: asked once per screen.
    if (scale_ <= 0)
        scale_ = devicePixelRatioF();
    return scale_;
}

const QImage &CourseSurface::picture()
{
    // A move to a screen of another scale needs the picture at that scale. Asked
    // first: before the first paint the scale is still unknown (0), and a stale
    // picture drawn at 0 would be empty, every point of it black.
    const qreal wanted = scale();
    if (stale_ || pixelsScale_ != wanted) {
        picture_ = course::render(look(), wanted);
        pixels_ = course::Pixels(picture_);
        pixelsScale_ = wanted;
        stale_ = false;
    }
    return picture_;
}

bool CourseSurface::event(QEvent *event)
{
    if (event->type() == QEvent::ScreenChangeInternal || event->type() == QEvent::Show)
        scale_ = 0;
    return QWidget::event(event);
}

quint32 CourseSurface::colourAt(QPointF point)
{
    picture();
    return pixels_.colourAt(point);
}

void CourseSurface::paintEvent(QPaintEvent *)
{
    scale_ = devicePixelRatioF(); // a paint comes with every change of scale
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), picture());
}

void CourseSurface::mouseMoveEvent(QMouseEvent *event)
{
    if (onMouseMove_)
        onMouseMove_(event->position());
}
