// SPDX-License-Identifier: GPL-3.0-or-later

#include "memory/colours.h"

#include "platform/controls.h"

#include <QPushButton>

namespace memory {

namespace {

const QString answerDescription = QStringLiteral("Antwortet mit %1 (Taste %2)");

struct ColourDesign
{
    QColor fill;
    QColor caption; // readable on the fill
    QString name;
    QString spoken; // the name as a screen reader says it
};

ColourDesign designOf(Colour colour)
{
    switch (colour) {
    case green:
        return { Qt::green, Qt::black, QStringLiteral("GRÜN"), QStringLiteral("Grün") };
    case red:
        return { Qt::red, Qt::black, QStringLiteral("ROT"), QStringLiteral("Rot") };
    case blue:
        return { Qt::blue, Qt::white, QStringLiteral("BLAU"), QStringLiteral("Blau") };
    case yellow:
        return { Qt::yellow, Qt::black, QStringLiteral("GELB"), QStringLiteral("Gelb") };
    case noColour:
        break;
    }
    return { Qt::black, Qt::white, QString(), QString() };
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
    // the blue one visible on the black window; a pressed button darkens; the
    // focused one has a thick dashed frame in its caption's colour.
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: %2; border: 2px solid #808080; }"
                                         "QPushButton:pressed { background-color: %3; }"
                                         "QPushButton:focus { border: 4px dashed %2; }")
                              .arg(design.fill.name(), design.caption.name(), design.fill.darker(140).name()));
    // The colours are numbered as the buttons stand, and so are their keys.
    button->setAccessibleName(design.spoken);
    button->setAccessibleDescription(answerDescription.arg(design.spoken).arg(int(colour)));
    button->hide();
    return button;
}

} // namespace memory
