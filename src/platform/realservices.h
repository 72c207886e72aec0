// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/services.h"

#include <functional>
#include <memory>
#include <random>

// The services as the running program uses them.
namespace platform {

class RealDialogs : public Dialogs
{
public:
    int MsgBox(const QString &prompt, int buttons, const QString &title) override;
    QString InputBox(const QString &prompt, const QString &title, const QString &proposal) override;
};

class RealRandom : public Random
{
public:
    void Randomize() override;
    float Rnd() override;

private:
    std::mt19937 generator_;
};

class RealDesktop : public Desktop
{
public:
    void openAddress(const QString &address) override;
    void putPointer(QWidget *client, QPoint clientPoint) override;
};

class SteadyCounter : public Counter
{
public:
    quint64 now() override;
    quint64 frequency() override;
};

// The program's name, version and desktop entry, as the desktop and the data
// folder (~/.local/share/korvane) know them.
void setIdentity();

// The list folder: the program's own folder when the player can write there, so
// that a portable copy keeps its lists beside it and old lists stay where they
// are; else the player's data folder.
QString chooseListFolder(const QString &programFolder, bool programFolderWritable, const QString &dataFolder);
// Whether a file can really be created (and is removed again) in the folder.
bool canCreateFileIn(const QString &folder);

class RealProgram : public Program
{
public:
    QString listFolder() override;
    void End() override;
    void showStart() override;

    std::function<void()> onShowStart; // wired by the shell

private:
    QString listFolder_; // empty until first asked
};

// Owns one of each and hands them out as a Services record. The history
// lives in its own folder and needs the dialogs and the program, so the
// caller makes it from them.
class RealServices
{
public:
    using HistoryMaker = std::function<std::unique_ptr<History>(Dialogs &, Program &)>;

    explicit RealServices(const HistoryMaker &makeHistory);
    Services &services() { return services_; }
    RealProgram &program() { return program_; }

private:
    RealDialogs dialogs_;
    RealRandom random_;
    RealDesktop desktop_;
    SteadyCounter counter_;
    RealProgram program_;
    std::unique_ptr<History> history_;
    Services services_;
};

} // namespace platform
