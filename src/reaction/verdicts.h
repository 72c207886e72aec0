// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/services.h"

#include <QString>

// The sixteen comments on a reaction time, from praise to mockery, and the
// tenth-of-a-second bands that choose one of them.
namespace reaction {

constexpr short verdictCount = 16;

// The comment of an index 0..15, exactly as shown: it begins and ends with a blank.
const QString &verdictText(short index);

// The comment index for a time in seconds. Times below 0.1 s (negative ones
// too) get 0 and times from 0.8 s get 15, without a random draw; each band in
// between picks one of its two comments with one draw.
short verdictIndex(float seconds, platform::Random &random);

} // namespace reaction
