// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/realservices.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>
#include <QWidget>
#include <chrono>

namespace platform {

namespace {
const QString okText = QStringLiteral("OK");
const QString yesText = QStringLiteral("Ja");
const QString noText = QStringLiteral("Nein");
const QString cancelText = QStringLiteral("Abbrechen");
} // namespace

int RealDialogs::MsgBox(const QString &prompt, int buttons, const QString &title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(prompt);
    box.setIcon((buttons & vbExclamation) == vbExclamation ? QMessageBox::Warning : QMessageBox::NoIcon);

    if ((buttons & vbYesNo) == vbYesNo) {
        QPushButton *yes = box.addButton(yesText, QMessageBox::YesRole);
        QPushButton *no = box.addButton(noText, QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? vbYes : vbNo;
    }
    QPushButton *ok = box.addButton(okText, QMessageBox::AcceptRole);
    box.setEscapeButton(ok);
    box.exec();
    return vbOK;
}

QString RealDialogs::InputBox(const QString &prompt, const QString &title, const QString &proposal)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(proposal);
    dialog.setOkButtonText(okText);
    dialog.setCancelButtonText(cancelText);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

void RealRandom::Randomize()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    std::seed_seq seed { static_cast<quint32>(now), static_cast<quint32>(quint64(now) >> 32) };
    generator_.seed(seed);
}

float RealRandom::Rnd()
{
    // 24 random bits fill a float's mantissa exactly, so the result never reaches 1.
    return static_cast<float>(generator_() >> 8) * (1.0f / 16777216.0f);
}

void RealDesktop::openAddress(const QString &address)
{
    // A failed attempt stays silent.
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

void RealDesktop::putPointer(QWidget *client, QPoint clientPoint)
{
    QCursor::setPos(client->mapToGlobal(clientPoint));
}

quint64 SteadyCounter::now()
{
    return static_cast<quint64>(std::chrono::steady_clock::now().time_since_epoch().count());
}

quint64 SteadyCounter::frequency()
{
    using Period = std::chrono::steady_clock::period;
    return static_cast<quint64>(Period::den / Period::num);
}

void setIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("korvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
    // A domain, no organisation name: that name would become a folder above the data folder.
    QCoreApplication::setOrganizationDomain(QStringLiteral("korvane.de"));
    QGuiApplication::setDesktopFileName(QStringLiteral("de.korvane.korvane"));
}

QString chooseListFolder(const QString &programFolder, bool programFolderWritable, const QString &dataFolder)
{
    return programFolderWritable ? programFolder : dataFolder;
}

bool canCreateFileIn(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("korvane-probe-XXXXXX")));
    return probe.open(); // and the probe is removed with it
}

QString RealProgram::listFolder()
{
    // Once per run, so that reading, qualifying and saving all use the same place.
    if (listFolder_.isEmpty()) {
        const QString programFolder = QCoreApplication::applicationDirPath();
        listFolder_ = chooseListFolder(programFolder, canCreateFileIn(programFolder),
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    }
    return listFolder_;
}

void RealProgram::End()
{
    QCoreApplication::exit(0);
}

void RealProgram::showStart()
{
    if (onShowStart)
        onShowStart();
}

RealServices::RealServices(const HistoryMaker &makeHistory)
    : history_(makeHistory(dialogs_, program_))
    , services_ { dialogs_, random_, desktop_, counter_, program_, *history_ }
{ }

} // namespace platform
