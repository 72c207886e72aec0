// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "highscore/listfile.h"
#include "highscore/listvariant.h"
#include "platform/services.h"

#include <optional>

class QLineEdit;
class QListWidget;
class QWidget;

// One best list in the list folder, and what a game window does with
// it: show it, check a result, take a name and write the entry.
class HighScoreList
{
public:
    HighScoreList(const ListVariant &variant, platform::Services &services);

    QString path() const;
    // Something stands at the list's name: a list, or something the reading
    // refuses with a message (a link, a folder), which a first entry must not
    // be written over.
    bool fileexists() const;

    // Fills List1 with the lines as stored (at most 1000, long ones cut) and
    // shows the panel, or says that there is no list yet.
    void showlist(QWidget *listPanel, QListWidget *List1);

    // 1 when the points earn a place, else 0. An unreadable list tells the
    // player why and gives no answer, so that the window adds no box of its own.
    std::optional<int> checkqualification(int points);

    // Writes the entry under the name in the box ("Anonymer" when it is empty;
    // the box then shows it). Creates the list (and its folder) or inserts in
    // rank order. On failure the player is told why and asked whether to try
    // again; true when the entry was saved, false when the player gave it up
    // (the list stays as it was). Either way the name panel may close.
    bool saveEntry(const Result &result, QLineEdit *nameBox);

    // Makes a name box accept only what a list line can hold.
    static void prepareNameBox(QLineEdit *nameBox);

    // How long a save waits for another running copy to finish with the list.
    void setLockWait(int milliseconds) { lockWaitMs_ = milliseconds; }

private:
    listfile::Fault trysave(const QString &entry);
    listfile::Fault writefirstentry(const QString &entry);
    listfile::Fault insertentry(const QString &entry);
    QString failurePrompt(const QString &prompt, listfile::Fault fault) const;
    void complain(const QString &prompt, listfile::Fault fault);

    const ListVariant &variant_;
    platform::Services &services_;
    // Long enough for another copy to write and for a crashed one's lock to go
    // stale (listlock::staleMs), short enough not to freeze the window.
    int lockWaitMs_ = 2000;
};
