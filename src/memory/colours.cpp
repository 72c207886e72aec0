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
    switch (colour) {
    case green:
        return { Qt::green, Qt::black, QStringLiteral("GRÜN") };
    case red:
        return { Qt::red, Qt::black, QStringLiteral("ROT") };
    case blue:
        return { Qt::blue, Qt::white, QStringLiteral("BLAU") };
    case yellow:
        return { Qt::yellow, Qt::black, QStringLiteral("GELB") };
    case noColour:
        break;
    }
    return { Qt::black, Qt::white, QString() };
}

} // namespace

QColor colourOf(Colour colour)
{
    return designOf(colour).fill;
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
