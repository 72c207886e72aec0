// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/services.h"

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

// The "Verlauf" window lives in a module of its own, loaded when a player
// first opens it: Qt Charts and the OpenGL libraries it brings would
// otherwise be loaded, relocated and kept in memory at every start.
namespace history {

class ResultHistory;

// The module's one entry: the window of a test, not yet shown.
using MakeWindow
    = QDialog *(*)(platform::Test test, ResultHistory &history, platform::Dialogs &dialogs, QWidget *parent);

// The module's file name, and the name of its entry.
extern const QString windowModuleName;
extern const char makeWindowEntry[];

// Where the program looks for the module, in this order: beside itself (the
// build folder, a portable copy), then where it is installed.
QStringList windowModuleFolders();

// The module's entry from the first folder that has it; nullptr when none
// has, with the reason in *error.
MakeWindow loadWindowModule(const QStringList &folders, QString *error);

} // namespace history
