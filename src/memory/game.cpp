// SPDX-License-Identifier: GPL-3.0-or-later

#include "memory/game.h"

#include "platform/runtime.h"
#include "platform/services.h"

#include <algorithm>

namespace memory {

namespace {

const QString progressMiddle = QStringLiteral(" von ");
const QString progressEnd = QStringLiteral(" richtig");
const QString failureStart = QStringLiteral("Das war leider ein Fehler, aber Sie haben ");
const QString failureEnd = QStringLiteral(" richtig");
const QString successSentence = QStringLiteral("Super, Sie haben alles behalten!");

const QString slowWord = QStringLiteral("langsamer");
const QString fastWord = QStringLiteral("schneller");
const QString middleWord = QStringLiteral("mittlerer");
constexpr int slowMs = 2500;
constexpr int fastMs = 750;
constexpr int middleMs = 1500;
constexpr int defaultCount = 5;

const QString settingStart = QStringLiteral(" Einstellung: ");
const QString settingMiddle = QStringLiteral(" Farben merken bei ");
const QString settingEnd = QStringLiteral(" Geschwindigkeit.");

// Floor(r * 4 + 1) in double precision: in single precision the largest r
// below 1 rounds up to 5, a colour that does not exist.
Colour drawcolour(platform::Random &random)
{
    const int code = int(platform::Int(double(random.Rnd()) * 4 + 1));
    return Colour(std::clamp(code, int(green), int(yellow)));
}

// A whole number from 1 to the most a game can hold, or 0.
int owncount(const QString &typed)
{
    bool whole {};
    const int count = typed.trimmed().toInt(&whole);
    return whole && count >= 1 && count <= Game::lastPosition ? count : 0;
}

} // namespace

Game::Game(platform::Random &random)
    : random_(random)
{
    load();
}

void Game::load()
{
    phase = Phase::Idle;
    wait = Wait::none;
    hidesquares();
    progressshown = false;
    resultshown = false;
    colourcount = defaultCount;
    speed = Speed::middle;
    applysettings();
}

void Game::start()
{
    showstep = 0;
    clickcount = 0;
    phase = Phase::Showing;
    wait = Wait::gap;
}

void Game::nextstep()
{
    if (wait != Wait::gap)
        return; // a tick that fell due before a cancel or a reload
    hidesquares();
    showstep += 1;
    // "At least": the count may have been lowered below what was already shown.
    if (showstep - 1 >= colourcount) {
        startanswers();
        return;
    }
    square = drawcolour(random_);
    sequence.at(showstep) = square;
    wait = Wait::display;
}

void Game::endcolour()
{
    if (wait != Wait::display)
        return;
    blanked = true; // covers the colour; both go at the next step
    wait = Wait::gap;
}

void Game::hidesquares()
{
    square = noColour;
    blanked = false;
}

void Game::startanswers()
{
    phase = Phase::Answering;
    wait = Wait::none;
}

void Game::answer(Colour colour)
{
    if (phase != Phase::Answering)
        return; // a result on show takes no more clicks
    clickcount = short(clickcount + 1);
    answers.at(clickcount) = colour;
    if (sequence.at(clickcount) != colour) {
        showfailure();
        return;
    }
    showprogress();
    if (clickcount >= colourstorepeat())
        showsuccess();
}

int Game::colourstorepeat() const
{
    // Only colours shown in this game can be asked for, even if the count was
    // raised after the show phase.
    return std::min(colourcount, showstep - 1);
}

void Game::showprogress()
{
    progressshown = true;
    progress = QString::number(clickcount) + progressMiddle + QString::number(colourstorepeat()) + progressEnd;
}

void Game::showfailure()
{
    showresult(failureStart + QString::number(clickcount - 1) + failureEnd);
}

void Game::showsuccess()
{
    clickcount = short(clickcount + 1); // so that clickcount - 1 is the whole sequence
    showresult(successSentence);
}

void Game::showresult(const QString &sentence)
{
    resultshown = true;
    resultsentence = sentence;
    progressshown = false;
    resultscore = clickcount - 1;
    phase = Phase::Result;
}

void Game::cancel()
{
    phase = Phase::Idle;
    wait = Wait::none;
    hidesquares();
}

std::optional<int> Game::closeresult()
{
    if (!resultshown)
        return std::nullopt;
    resultshown = false;
    // After a cancel the result can outlive its game: a new game started
    // meanwhile goes on, and the result hands over its own score.
    if (phase == Phase::Result)
        phase = Phase::Idle;
    return resultscore;
}

void Game::choosespeed(Speed chosen)
{
    speed = chosen;
    applysettings();
}

void Game::choosecount(int count)
{
    colourcount = count;
    applysettings();
}

bool Game::chooseowncount(const QString &typed)
{
    const int count = owncount(typed);
    colourcount = count ? count : defaultCount;
    applysettings();
    return count > 0;
}

bool Game::refusesowncount(const QString &typed)
{
    return !typed.isEmpty() && owncount(typed) == 0;
}

void Game::applysettings()
{
    switch (speed) {
    case Speed::slow:
        speedword = slowWord;
        displaytime = slowMs;
        break;
    case Speed::fast:
        speedword = fastWord;
        displaytime = fastMs;
        break;
    case Speed::middle:
        speedword = middleWord;
        displaytime = middleMs;
        break;
    }
    settingtext = settingStart + QString::number(colourcount) + settingMiddle + speedword + settingEnd;
}

} // namespace memory
