#include "memory/form2.h"

#include "platform/controls.h"

#include <QGroupBox>
#include <QLineEdit>

using namespace platform;

namespace {

const QString caption = QStringLiteral("Training für die kleinen grauen Zellen");
const QString leavePrompt = QStringLiteral("Wirklich beenden?");
const QString leaveTitle = QStringLiteral("Ich frage lieber mal nach?");

} // namespace

form2::form2(Services &services)
    : WindowWith(services, caption, QSize(7575, 5850))
    , list(lists::memory, services)
{ }

form2::~form2() = default;

void form2::Form_Load()
{
    services.random.Randomize();
    phase = Phase::Idle; // a freshly loaded window runs no game
    colourcount = 5;
    applysettings();
}

void form2::Form_Unload()
{
    services.program.showStart();
}

void form2::hilf_Click()
{
    c->Frame4->show();
}

void form2::Command11_Click()
{
    c->Frame4->hide();
}

void form2::best_Click()
{
    list.showlist(c->Frame2, c->List1);
    keephelpontop();
}

void form2::Command8_Click()
{
    c->Frame2->hide();
}

void form2::askforname()
{
    // Fixed now: a game started before the name is confirmed must not change it.
    entry = Result { resultscore, 0, {} };
    c->Frame3->show();
    c->Text1->setFocus();
}

void form2::Command9_Click()
{
    // A list that could not be written keeps the panel open for another try.
    if (list.saveEntry(entry, c->Text1) && isLoaded())
        c->Frame3->hide();
}

void form2::Command10_Click()
{
    c->Frame3->hide();
}

void form2::kl_Click()
{
    if (ask(leavePrompt, vbYesNo, leaveTitle) != vbYes)
        return;
    setVisible(false);
    services.program.showStart();
    unload();
}

void form2::keephelpontop()
{
    // Showing the list raises its panel; the name and help panels still lie above it.
    c->Frame3->raise();
    c->Frame4->raise();
}
