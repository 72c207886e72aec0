#include "reaction/wrapbutton.h"

#include <QPainter>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace {
constexpr int bevel = 2;
constexpr int textMargin = 3;
} // namespace

void WrapButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QBrush face = palette().brush(QPalette::Button);
    const bool sunken = isDown();
    qDrawWinButton(&painter, rect(), palette(), sunken, &face);

    QRect textArea = rect().adjusted(bevel + textMargin, bevel + textMargin, -bevel - textMargin, -bevel - textMargin);
    if (sunken)
        textArea.translate(1, 1);
    constexpr int flags = Qt::AlignCenter | Qt::TextWordWrap;
    if (isEnabled()) {
        painter.setPen(palette().color(QPalette::ButtonText));
    } else {
        // Embossed in the active shades: the palette's disabled ones all but vanish on a grey face.
        painter.setPen(palette().color(QPalette::Active, QPalette::Light));
        painter.drawText(textArea.translated(1, 1), flags, text());
        painter.setPen(palette().color(QPalette::Active, QPalette::Shadow));
    }
    painter.drawText(textArea, flags, text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(bevel + 1, bevel + 1, -bevel - 1, -bevel - 1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
