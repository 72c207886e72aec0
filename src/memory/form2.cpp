// SPDX-License-Identifier: GPL-3.0-or-later

#include "memory/form2.h"

#include "platform/controls.h"
#include "platform/timer.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace memory;
using namespace platform;

namespace {

const QString caption = QStringLiteral("Training für die kleinen grauen Zellen");
const QString leavePrompt = QStringLiteral("Wirklich beenden?");
const QString leaveTitle = QStringLiteral("Ich frage lieber mal nach?");

} // namespace

form2::form2(Services &services)
    : WindowWith(services, caption, QSize(7575, 5850))
    , game_(services.random)
    , list(lists::memory, services)
{ }

form2::~form2() = default;

void form2::Form_Load()
{
    services.random.Randomize();
    game_.load();
    applysettings();
}

void form2::Form_Unload()
{
    services.program.showStart();
}

void form2::Command1_Click()
{
    game_.start();
    showgame();
}

void form2::Timer1_Timer()
{
    game_.nextstep();
    showgame();
}

void form2::Timer2_Timer()
{
    game_.endcolour();
    showgame();
}

void form2::answer(Colour colour)
{
    const bool answering = game_.phase == Game::Phase::Answering;
    game_.answer(colour);
    showgame();
    if (answering && game_.phase == Game::Phase::Result)
        services.history.record(
            Outcome::memory(game_.resultscore, game_.colourcount, game_.displaytime, game_.resultsentence));
}

bool form2::answerKey(int key)
{
    QPushButton *const buttons[] = { c->Command3, c->Command4, c->Command5, c->Command6 };
    if (key < Qt::Key_1 || key > Qt::Key_4)
        return false;
    // The key is the button's click; the game takes it only while it asks for colours.
    buttons[key - Qt::Key_1]->click();
    return true;
}

void form2::Command2_Click()
{
    game_.cancel();
    showgame();
}

void form2::Command7_Click()
{
    const std::optional<int> score = game_.closeresult();
    if (!score)
        return;
    showgame();
    handover(*score);
}

// The one place where the game's state becomes the controls' look.
void form2::showgame()
{
    const bool idle = game_.phase == Game::Phase::Idle;
    const bool answerlook = game_.phase == Game::Phase::Answering || game_.phase == Game::Phase::Result;
    c->Command1->setVisible(idle);
    c->Command2->setVisible(!idle);
    QWidget *const answercontrols[] = { c->Label4, c->Command5, c->Command6, c->Command3, c->Command4 };
    for (QWidget *control : answercontrols)
        control->setVisible(answerlook);
    hidesquares();
    Shape *squares[] = { nullptr, c->Shape1, c->Shape2, c->Shape3, c->Shape4 };
    if (game_.square != noColour)
        squares[game_.square]->show();
    if (game_.blanked)
        c->Shape9->show(); // over the colour, which stays beneath it
    showprogress();
    const bool resultopens = game_.resultshown && c->Frame1->isHidden();
    c->Frame1->setVisible(game_.resultshown);
    if (game_.resultshown)
        c->Label2->setText(game_.resultsentence);
    if (resultopens)
        c->Command7->setFocus(); // Return or Space takes the result
    // Enabling restarts the wait: touch a timer only when it is to change.
    const auto run = [](Timer *timer, bool on) {
        if (timer->Enabled() != on)
            timer->setEnabled(on);
    };
    run(c->Timer1, game_.wait == Game::Wait::gap);
    run(c->Timer2, game_.wait == Game::Wait::display);
}

void form2::hidesquares()
{
    c->Shape1->hide();
    c->Shape2->hide();
    c->Shape3->hide();
    c->Shape4->hide();
    c->Shape9->hide();
}

void form2::showprogress()
{
    c->Label3->setVisible(game_.progressshown);
    if (game_.progressshown)
        c->Label3->setText(game_.progress);
}

void form2::handover(int score)
{
    if (!list.fileexists()) {
        askforname();
        return;
    }
    qualifies = short(list.checkqualification(score).value_or(0));
    if (qualifies == 1 && isLoaded())
        askforname();
}

void form2::hilf_Click()
{
    c->Frame4->show();
    c->Command11->setFocus(); // Return closes the help; Space never starts a game beneath it
}

void form2::Command11_Click()
{
    c->Frame4->hide();
}

void form2::best_Click()
{
    list.showlist(c->Frame2, c->List1);
    if (!isLoaded())
        return; // closed while a box about the list was open
    keephelpontop();
    if (!c->Frame2->isHidden())
        c->Command8->setFocus();
}

void form2::Command8_Click()
{
    c->Frame2->hide();
}

void form2::askforname()
{
    // Fixed now: a game started before the name is confirmed must not change it.
    entry = Result { game_.resultscore, {}, {} };
    c->Frame3->show();
    c->Command1->setEnabled(false); // no new game under the open panel
    c->Text1->setFocus();
}

void form2::Command9_Click()
{
    // Saved, or given up after a failure the player was told about: the panel closes.
    list.saveEntry(entry, c->Text1);
    if (isLoaded())
        Command10_Click();
}

void form2::Command10_Click()
{
    c->Frame3->hide();
    c->Command1->setEnabled(true);
}

void form2::kl_Click()
{
    if (ask(leavePrompt, vbYesNo, leaveTitle) != vbYes)
        return;
    unload(); // which shows the start window
}

void form2::keephelpontop()
{
    // Showing the list raises its panel; the name and help panels still lie above it.
    c->Frame3->raise();
    c->Frame4->raise();
}
