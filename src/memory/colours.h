#pragma once

#include <QColor>
#include <QRect>

class QPushButton;
class QWidget;

namespace memory {

// The four colours of the memory training, stored and compared as small codes.
enum Colour : short { noColour = 0, green = 1, red = 2, blue = 3, yellow = 4 };

QColor colourOf(Colour colour);
QString captionOf(Colour colour);

// A flat button filled with its colour and labelled with its name. A style
// sheet paints it, since some styles ignore a button's palette.
QPushButton *makeColourButton(QWidget *parent, const char *name, Colour colour, QRect geometry);

} // namespace memory
