// SPDX-License-Identifier: GPL-3.0-or-later

#include "arithmetic/drill.h"

#include "platform/runtime.h"
#include "platform/services.h"

namespace arithmetic {

namespace {

const QString times = QStringLiteral(" x ");
const QString pointsSuffix = QStringLiteral(" Punkte");
const QString countdownPrefix = QStringLiteral("Noch ");
const QString countdownSuffix = QStringLiteral(" Sekunden");

constexpr int drillSeconds = 60;

} // namespace

Drill::Drill(platform::Random &random)
    : random_(random)
{ }

void Drill::load()
{
    chooseRange(upToTen);
    phase = Phase::Idle;
    task = score = countdown = QString();
}

void Drill::chooseRange(const Range &range)
{
    lowfactor = range.lowfactor;
    factorspan = range.factorspan;
    taskpoints = range.taskpoints;
}

void Drill::start()
{
    rightanswers = 0;
    secondsleft = drillSeconds;
    score.clear();
    // The countdown keeps its text until the first tick.
    phase = Phase::Running;
}

bool Drill::readyToJudge(double typed) const
{
    if (product < 10)
        return true;
    double upper = 10;
    while (upper <= product)
        upper *= 10;
    // A value of the product's size: 9 < v < 100 for two digits, 99 < v < 1000 for three.
    return upper / 10 - 1 < typed && typed < upper;
}

void Drill::checkanswer(double typed)
{
    if (typed == product)
        rightanswers += 1;
    score = platform::Str(points()) + pointsSuffix;
}

void Drill::drawtask()
{
    const int first = drawfactor();
    const int second = drawfactor();
    product = first * second;
    task = platform::Str(first) + times + QString::number(second);
}

int Drill::drawfactor()
{
    // In double: in single precision 10 * 0.99999994 + 10 rounds up to 20,
    // a factor outside the range.
    return int(platform::Int(double(factorspan) * double(random_.Rnd()) + lowfactor));
}

void Drill::tick()
{
    secondsleft -= 1;
    countdown = countdownPrefix + QString::number(secondsleft) + countdownSuffix;
    if (secondsleft <= 0)
        phase = Phase::Ended;
}

void Drill::reset()
{
    product = 0;
    rightanswers = 0;
    phase = Phase::Idle;
    task = score = countdown = QString();
}

} // namespace arithmetic
