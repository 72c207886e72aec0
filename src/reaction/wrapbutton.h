// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPushButton>

// The large click field of the reaction test: a push button with a flat face in
// exactly its back colour (the style's face is a gradient that only starts from
// it), a classic bevel that sinks while pressed, and a caption that wraps onto
// as many centred lines as the face needs. text() keeps the whole caption.
class WrapButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};
