// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "dexterity/course.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class CourseSurface;

// A label that is painted into the course picture instead of being a widget of
// its own: its red letters are what the pointer reads, and it takes no mouse
// events, so moving over it samples the window as anywhere else.
class PaintedLabel
{
public:
    PaintedLabel(CourseSurface &surface, QRect twips, QString caption);

    QString Caption() const { return text_.caption; }
    void setCaption(const QString &caption);
    bool Visible() const { return text_.visible; }
    void setVisible(bool visible);
    const course::RedText &text() const { return text_; }

private:
    CourseSurface &surface_;
    course::RedText text_;
};

// The window's own surface below all its controls: it shows the course picture
// and reports every mouse movement over it. Buttons and panels lie above it and
// keep their movements to themselves.
class CourseSurface : public QWidget
{
    Q_OBJECT

public:
    CourseSurface(QWidget *client, std::function<void(QPointF)> onMouseMove);
    ~CourseSurface() override;

    PaintedLabel *addLabel(QRect twips, const QString &caption);

    int linewidth() const { return linewidth_; }
    void setLinewidth(int pixels);

    // The colour drawn under a point of the surface (logical pixels), 0x00BBGGRR.
    quint32 colourAt(QPointF point);
    // The picture as it is shown now, drawn afresh only if something changed.
    const QImage &picture();

    // Called by a label whose drawn look changed.
    void pictureChanged();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    course::Look look() const;
    qreal scale();

    std::function<void(QPointF)> onMouseMove_;
    std::vector<std::unique_ptr<PaintedLabel>> labels_;
    int linewidth_ = course::designWidth;
    QImage picture_;
    course::Pixels pixels_; // the picture's, for the pointer
    qreal pixelsScale_ = 0; // the scale they were drawn at
    bool stale_ = true;
    qreal scale_ = 0; // the screen's scale; 0 until asked again
};
