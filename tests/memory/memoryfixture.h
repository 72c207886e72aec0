#pragma once

#include "fakeservices.h"
#include "memory/form2.h"

#include <QList>
#include <QStringList>

// A loaded and shown memory window with fake services.
struct MemoryFixture
{
    MemoryFixture();
    ~MemoryFixture();

    const form2::Controls &c() const { return window.controls(); }

    // A random number that draws the colour.
    static float rndFor(memory::Colour colour);
    // The squares not hidden, the topmost first.
    QStringList visibleSquares() const;
    bool colourButtonsVisible() const;

    // Starts a game with a real click and runs its show phase with these
    // colours, tick by tick, up to the colour buttons.
    void showColours(const QList<memory::Colour> &colours);
    // Clicks the colour buttons as a player would.
    void click(const QList<memory::Colour> &colours);
    void click(memory::Colour colour);
    // Sets an own count through the menu and the input box.
    void ownCount(int count);
    QByteArray listBytes() const;
    static QByteArray listBytesIn(const QString &dir);

    FakeServices fake;
    form2 window { fake.services };
};

// Test data columns of colour lists.
using Colours = QList<memory::Colour>;
Q_DECLARE_METATYPE(Colours)
