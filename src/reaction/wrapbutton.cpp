// SPDX-License-Identifier: GPL-3.0-or-later

#include "reaction/wrapbutton.h"

#include <QPainter>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace {

// Within the two-pixel bevel: the caption keeps three pixels more clear of it,
// the focus frame sits one pixel inside it.
constexpr int captionInset = 5;
constexpr int focusInset = 3;
// How far the caption sinks while pressed, and how far its light shade lies
// below and right of it while disabled.
constexpr QPoint step(1, 1);

QRect inset(const QRect &rect, int by)
{
    return rect.marginsRemoved(QMargins(by, by, by, by));
}

} // namespace

void WrapButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QBrush face = palette().brush(QPalette::Button);
    const bool sunken = isDown();
    qDrawWinButton(&painter, rect(), palette(), sunken, &face);

    const QRect caption = inset(rect(), captionInset).translated(sunken ? step : QPoint());
    constexpr int flags = Qt::AlignCenter | Qt::TextWordWrap;
    if (isEnabled()) {
        painter.setPen(palette().color(QPalette::ButtonText));
    } else {
        // Embossed in the active shades: the palette's disabled ones all but vanish on a grey face.
        painter.setPen(palette().color(QPalette::Active, QPalette::Light));
        painter.drawText(caption.translated(step), flags, text());
        painter.setPen(palette().color(QPalette::Active, QPalette::Shadow));
    }
    painter.drawText(caption, flags, text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = inset(rect(), focusInset);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
