// SPDX-License-Identifier: GPL-3.0-or-later

// The entry of the "Verlauf" module, which the program finds by its name.

#include "history/historydialog.h"
#include "history/windowmodule.h"

extern "C" Q_DECL_EXPORT QDialog *korvane_makeHistoryWindow(
    platform::Test test, history::ResultHistory &history, platform::Dialogs &dialogs, QWidget *parent)
{
    return new history::HistoryDialog(test, history, dialogs, parent);
}

// The program resolves the entry by name; this keeps its type in step with the program's.
static_assert(std::is_same_v<decltype(&korvane_makeHistoryWindow), history::MakeWindow>);
