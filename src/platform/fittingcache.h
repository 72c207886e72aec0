// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

namespace platform {

// Fitting shrinks a font in half-point steps, to 6 points at the least.
constexpr double fittingStep = 0.5;
constexpr double smallestFittedSize = 6;

// The font sizes that fitting texts to their boxes found, kept from one run to
// the next. Finding a size measures the text at every size it tries, and each
// size loads a font of its own, the costliest step of opening a window; a size
// found before is measured once, at that size, to check that it still fits.
//
// The sizes hold for one set of fonts on one screen. The file's first line
// names them, and a file written for others is not read.
class FittingCache
{
public:
    // Reads the file, if there is one for this environment.
    FittingCache(QString file, QByteArray environment);

    // The size found before for a measure (what is measured: the texts, their
    // boxes and the font at its design size), if it is one fitting could have
    // found: on the half points below the design size, 6 points at the least.
    std::optional<double> find(const QString &measure, double designSize) const;
    void remember(const QString &measure, double pointSize);

    // Writes the file when a size was remembered since it was read. A cache
    // that cannot be written is no loss: its sizes are found again next time.
    void save();

    // The cache the fitting uses: none, so that every size is searched,
    // unless the program set one.
    static FittingCache *inUse();
    static void use(FittingCache *cache);

private:
    QString file_;
    QByteArray environment_;
    QHash<QByteArray, double> sizes_; // by a hash of the measure
    bool changed_ = false;
};

// What the sizes depend on besides the texts and boxes: Qt's version, the
// screen's dots per inch, the widget style, and the fonts installed and
// configured. Needs the application object.
QByteArray fittingEnvironment();

} // namespace platform
