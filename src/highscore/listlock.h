// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "highscore/listfile.h"

class QLockFile;

// The lock a save holds on its list, and the tidying it does under it.
namespace listlock {

// A running holder keeps its lock as long as it likes (QLockFile also holds a
// kernel lock on the file); a crashed one's lock is taken over after this long,
// or at once when it names a process that is gone. An empty lock, left by a
// crash between creating and writing it, is only ever that young for a moment.
constexpr int staleMs = 1000;

// A temporary or helper lock file this old belongs to a save that died.
constexpr int strayAgeSeconds = 60;

// Takes the lock, waiting at most waitMs for another running copy to finish.
listfile::Fault take(QLockFile &lock, int waitMs);

// Removes what crashed saves of this list left behind.
void removeStrays(const QString &listPath);

} // namespace listlock
