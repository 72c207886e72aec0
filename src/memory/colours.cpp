#include "memory/colours.h"

#include "platform/controls.h"

#include <QPushButton>

namespace memory {

namespace {

struct ColourDesign
{
    QColor fill;
    QColor caption; // readable on the fill
    QString name;
};

ColourDesign designOf(Colour colour)
{
    using platform::rgb;
    switch (colour) {
    case green:
        return { rgb(0, 255, 0), rgb(0, 0, 0), QStringLiteral("GRÜN") };
    case red:
        return { rgb(255, 0, 0), rgb(0, 0, 0), QStringLiteral("ROT") };
    case blue:
        return { rgb(0, 0, 255), rgb(255, 255, 255), QStringLiteral("BLAU") };
    case yellow:
        return { rgb(255, 255, 0), rgb(0, 0, 0), QStringLiteral("GELB") };
    case noColour:
        break;
    }
    return { rgb(0, 0, 0), rgb(255, 255, 255), QString() };
}

} // namespace

QColor colourOf(Colour colour)
{
    return designOf(colour).fill;
}

QString captionOf(Colour colour)
{
    return designOf(colour).name;
}

QPushButton *makeColourButton(QWidget *parent, const char *name, Colour colour, QRect geometry)
{
    const ColourDesign design = designOf(colour);
    QPushButton *button = platform::makeButton(parent, name, design.name, geometry);
    // A grey frame keeps the yellow and green buttons apart from each other and
    // the blue one visible on the black window; a pressed button darkens.
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: %2; border: 2px solid #808080; }"
                                         "QPushButton:pressed { background-color: %3; }")
                              .arg(design.fill.name(), design.caption.name(), design.fill.darker(140).name()));
    button->hide();
    return button;
}

} // namespace memory
