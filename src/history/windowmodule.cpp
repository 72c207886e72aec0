// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/windowmodule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace history {

const QString windowModuleName = QStringLiteral("korvane-verlauf.so");
const char makeWindowEntry[] = "korvane_makeHistoryWindow";

QStringList windowModuleFolders()
{
    const QDir program(QCoreApplication::applicationDirPath());
    return { program.path(), QDir::cleanPath(program.filePath(QStringLiteral(KORVANE_MODULE_FOLDER))) };
}

MakeWindow loadWindowModule(const QStringList &folders, QString *error)
{
    QString path;
    for (const QString &folder : folders) {
        path = QDir(folder).filePath(windowModuleName);
        if (QFileInfo::exists(path))
            break;
    }
    // Never unloaded: a window made by it may outlive any handle here.
    QLibrary module(path);
    const auto make = reinterpret_cast<MakeWindow>(module.resolve(makeWindowEntry));
    if (!make)
        *error = module.errorString();
    return make;
}

} // namespace history
