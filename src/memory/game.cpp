// The colour sequence game: the show phase, the answers and the result.
#include "memory/form2.h"

#include "platform/controls.h"
#include "platform/runtime.h"
#include "platform/timer.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

using namespace memory;
using namespace platform;

namespace {

const QString progressMiddle = QStringLiteral(" von ");
const QString progressEnd = QStringLiteral(" richtig");
const QString failureStart = QStringLiteral("Das war leider ein Fehler, aber Sie haben ");
const QString failureEnd = QStringLiteral(" richtig");
const QString successSentence = QStringLiteral("Super, Sie haben alles behalten!");

// Floor(r * 4 + 1) in double precision: in single precision the largest r
// below 1 rounds up to 5, a colour that does not exist.
Colour drawcolour(Random &random)
{
    const int code = int(Int(double(random.Rnd()) * 4 + 1));
    return Colour(std::clamp(code, int(green), int(yellow)));
}

} // namespace

void form2::Command1_Click()
{
    showstep = 0;
    clickcount = 0;
    c->Timer1->setEnabled(true);
    c->Command1->hide();
    c->Command2->show();
    phase = Phase::Showing;
}

void form2::Timer1_Timer()
{
    if (phase != Phase::Showing)
        return;
    hidesquares();
    showstep += 1;
    // "At least": the count may have been lowered below what was already shown.
    if (showstep - 1 >= colourcount) {
        c->Timer1->setEnabled(false);
        startanswers();
        return;
    }
    const Colour colour = drawcolour(services.random);
    Shape *squares[] = { nullptr, c->Shape1, c->Shape2, c->Shape3, c->Shape4 };
    squares[colour]->show();
    sequence[showstep] = colour;
    c->Timer1->setEnabled(false);
    c->Timer2->setEnabled(true);
}

void form2::Timer2_Timer()
{
    if (phase != Phase::Showing)
        return;
    c->Shape9->show(); // covers the colour; all squares go at the next show step
    c->Timer1->setEnabled(true);
    c->Timer2->setEnabled(false);
}

void form2::hidesquares()
{
    c->Shape1->hide();
    c->Shape2->hide();
    c->Shape3->hide();
    c->Shape4->hide();
    c->Shape9->hide();
}

void form2::startanswers()
{
    c->Label4->show();
    c->Timer1->setEnabled(false);
    c->Timer2->setEnabled(false);
    c->Command5->show();
    c->Command6->show();
    c->Command3->show();
    c->Command4->show();
    phase = Phase::Answering;
}

int form2::colourstorepeat() const
{
    // Only colours shown in this game can be asked for, even if the count was
    // raised after the show phase.
    return std::min(colourcount, showstep - 1);
}

void form2::answer(Colour colour)
{
    if (phase != Phase::Answering)
        return; // a result on show takes no more clicks
    clickcount = short(clickcount + 1);
    answers[clickcount] = colour;
    if (sequence[clickcount] != answers[clickcount]) {
        showfailure();
        return;
    }
    showprogress();
    if (clickcount >= colourstorepeat())
        showsuccess();
}

void form2::showprogress()
{
    c->Label3->show();
    c->Label3->setText(QString::number(clickcount) + progressMiddle + QString::number(colourstorepeat()) + progressEnd);
}

void form2::showfailure()
{
    showresult(failureStart + QString::number(clickcount - 1) + failureEnd);
}

void form2::showsuccess()
{
    clickcount = short(clickcount + 1); // so that clickcount - 1 is the whole sequence
    showresult(successSentence);
}

void form2::showresult(const QString &sentence)
{
    c->Frame1->show();
    c->Label2->setText(sentence);
    c->Label3->hide();
    resultscore = clickcount - 1;
    phase = Phase::Result;
}

void form2::Command2_Click()
{
    toidlelook();
    hidesquares();
    c->Timer2->setEnabled(false);
    c->Timer1->setEnabled(false);
    phase = Phase::Idle;
}

void form2::toidlelook()
{
    c->Command1->show();
    c->Command2->hide();
    c->Command5->hide();
    c->Command6->hide();
    c->Command3->hide();
    c->Command4->hide();
    c->Label4->hide();
}

void form2::Command7_Click()
{
    if (c->Frame1->isHidden())
        return;
    c->Frame1->hide();
    // After a cancel the result can outlive its game: a new game started
    // meanwhile keeps its controls, and the result hands over its own score.
    if (phase == Phase::Result || phase == Phase::Idle) {
        toidlelook();
        phase = Phase::Idle;
    }
    handover(resultscore);
}

void form2::handover(int score)
{
    if (!list.fileexists()) {
        askforname();
        return;
    }
    qualifies = short(list.checkqualification(score));
    if (qualifies == 1 && isLoaded())
        askforname();
}
