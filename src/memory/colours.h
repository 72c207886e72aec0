// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "memory/game.h"

#include <QColor>
#include <QRect>

class QPushButton;
class QWidget;

namespace memory {

QColor colourOf(Colour colour);

// A flat button filled with its colour and labelled with its name. A style
// sheet paints it, since some styles ignore a button's palette.
QPushButton *makeColourButton(QWidget *parent, const char *name, Colour colour, QRect geometry);

} // namespace memory
