#pragma once

#include <QPushButton>

// A push button whose caption wraps onto as many lines as its face needs,
// centred, as the large click field of the reaction test shows its sentence.
// text() keeps the whole caption.
class WrapButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};
