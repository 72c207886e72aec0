// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "highscore/listvariant.h"

#include <QString>
#include <QtGlobal>
#include <array>

// The rules of the dexterity test without its window: a run judged by the
// colour last sampled under the pointer, counted in seconds, scored by the
// mode in force. The window passes its events here and shows what it finds.
namespace dexterity {

// Colours as the pointer reads them, 0x00BBGGRR.
constexpr qint32 black = 0x000000;
constexpr qint32 red = 0x0000FF;

// A difficulty mode: the course width and the starting value of the points.
struct Mode
{
    QString name; // the menu caption, also written into the list
    short linewidth; // pixels
    short points1;
    short points2;
};

// In menu order: ganzeinfach, einfach, mittel, schwer.
inline const std::array<Mode, 4> modes { {
    { QStringLiteral("einfach"), 20, 50, 100 },
    { QStringLiteral("normal"), 15, 100, 100 },
    { QStringLiteral("schwer"), 10, 200, 200 },
    { QStringLiteral("sehr schwer"), 5, 250, 500 },
} };
inline const Mode &normalMode = modes[1];

enum class Verdict { None, Lost, Won };

class Run
{
public:
    // A freshly loaded window: idle, in "normal" without the mode having been
    // chosen, so linewidth keeps whatever it held.
    void load();
    void selectMode(const Mode &mode);

    void start();
    void sample(quint32 colour) { pixelcolour = qint32(colour); }
    // The tick's judgement, made on the last sample, not on the pointer's place.
    Verdict judge() const;
    // After the player has seen the loss.
    void lose();
    // The target reached: the count stops where it stands and is scored.
    void reachGoal();
    // The list's answer for a finished run; a run without a place clears the count.
    void qualification(int answer);
    // The name panel opens: what it will write is fixed now.
    void openEntry();
    void entrySaved(bool firstEntry);
    void tickSecond();

    bool going() const { return going_; }
    // modepoints2 + modepoints1 - seconds, kept within 16 bits.
    short runpoints() const;

    // Fields under their design names. An unset value counts as 0.
    qint32 pixelcolour = 0; // last sample; 0 before the first reads as black
    short seconds {};
    short linewidth {}; // 0 until a mode is chosen: the course keeps its design width
    short modepoints1 {};
    short modepoints2 {};
    QString modename;
    short qualifies {};
    short points {};
    Result entry; // what the name panel writes

private:
    bool going_ {};
};

} // namespace dexterity
