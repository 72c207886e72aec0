#include "memoryfixture.h"
#include "platform/controls.h"
#include "platform/timer.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace memory;

namespace {

const QString squareOf[] = { QString(), "Shape1", "Shape2", "Shape3", "Shape4" };
const QString failure0 = QStringLiteral("Das war leider ein Fehler, aber Sie haben 0 richtig");
const QString failure2 = QStringLiteral("Das war leider ein Fehler, aber Sie haben 2 richtig");
const QString success = QStringLiteral("Super, Sie haben alles behalten!");

} // namespace

class GameTest : public QObject
{
    Q_OBJECT

private slots:
    void showSchedule_data();
    void showSchedule();
    void everyRandomNumberDrawsAColour_data();
    void everyRandomNumberDrawsAColour();
    void results_data();
    void results();
    void clicksAfterAResultChangeNothing();
    void cancel_data();
    void cancel();
    void okAfterCancelHandsOverThatGamesScore();
    void nameEntryKeepsTheScoreOfItsResult();
    void progressLineSurvivesACancel();
    void countChangedDuringAGame_data();
    void countChangedDuringAGame();
    void aGameHoldsAtMost500Colours();
    void colourButtonsShowTheirColour_data();
    void colourButtonsShowTheirColour();
};

void GameTest::showSchedule_data()
{
    QTest::addColumn<Colours>("colours");
    QTest::newRow("five colours") << Colours { red, green, blue, yellow, red };
    QTest::newRow("same colour twice in a row") << Colours { blue, blue, green, green, green };
}

void GameTest::showSchedule()
{
    QFETCH(Colours, colours);
    MemoryFixture f;
    for (Colour colour : colours)
        f.fake.random.values << MemoryFixture::rndFor(colour);

    QTest::mouseClick(f.c().Command1, Qt::LeftButton);
    QVERIFY(f.c().Command1->isHidden());
    QVERIFY(!f.c().Command2->isHidden());
    QCOMPARE(f.visibleSquares(), QStringList()); // nothing until the first tick
    QVERIFY(f.c().Timer1->Enabled());
    QVERIFY(!f.c().Timer2->Enabled());
    QCOMPARE(f.c().Timer1->Interval(), 750);
    QCOMPARE(f.c().Timer2->Interval(), 1500);

    for (int step = 1; step <= colours.size(); ++step) {
        const QString square = squareOf[colours[step - 1]];
        f.window.Timer1_Timer();
        QCOMPARE(f.visibleSquares(), QStringList { square });
        QCOMPARE(f.window.sequence[step], colours[step - 1]);
        QVERIFY(!f.c().Timer1->Enabled());
        QVERIFY(f.c().Timer2->Enabled());

        f.window.Timer2_Timer();
        // The blanking square lies above the colour, which goes at the next step.
        QCOMPARE(f.visibleSquares(), (QStringList { "Shape9", square }));
        QVERIFY(f.c().Timer1->Enabled());
        QVERIFY(!f.c().Timer2->Enabled());
        QVERIFY(!f.colourButtonsVisible());
    }

    f.window.Timer1_Timer();
    QCOMPARE(f.visibleSquares(), QStringList());
    QVERIFY(f.colourButtonsVisible());
    QVERIFY(!f.c().Label4->isHidden());
    QVERIFY(!f.c().Timer1->Enabled());
    QVERIFY(!f.c().Timer2->Enabled());
    QCOMPARE(f.window.phase, form2::Phase::Answering);
    QCOMPARE(f.fake.random.drawn, colours.size());
}

void GameTest::everyRandomNumberDrawsAColour_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<QString>("square");
    QTest::newRow("0") << 0.0f << "Shape1";
    QTest::newRow("just below a quarter") << 0.24999999f << "Shape1";
    QTest::newRow("a quarter") << 0.25f << "Shape2";
    QTest::newRow("a half") << 0.5f << "Shape3";
    QTest::newRow("three quarters") << 0.75f << "Shape4";
    // In single precision 0.99999994 * 4 + 1 rounds up to 5.
    QTest::newRow("largest below 1") << 0.99999994f << "Shape4";
}

void GameTest::everyRandomNumberDrawsAColour()
{
    QFETCH(float, r);
    QFETCH(QString, square);
    MemoryFixture f;
    f.fake.random.values << r;
    f.window.Command1_Click();
    f.window.Timer1_Timer();
    QCOMPARE(f.visibleSquares(), QStringList { square });
}

void GameTest::results_data()
{
    QTest::addColumn<Colours>("shown");
    QTest::addColumn<Colours>("clicked");
    QTest::addColumn<QString>("sentence"); // empty: no result yet
    QTest::addColumn<QString>("progress"); // empty: Label3 hidden
    QTest::addColumn<int>("score");

    const Colours five { red, green, blue, yellow, red };
    QTest::newRow("wrong first") << five << Colours { green } << failure0 << QString() << 0;
    QTest::newRow("wrong third") << five << Colours { red, green, red } << failure2 << QString() << 2;
    QTest::newRow("three right so far") << five << Colours { red, green, blue } << QString() << "3 von 5 richtig" << -1;
    QTest::newRow("all right") << five << five << success << QString() << 5;
    // Green comes second, so it is wrong at the first position.
    QTest::newRow("judged at its own position")
        << Colours { red, green, red, red, red } << Colours { green } << failure0 << QString() << 0;
    QTest::newRow("same colour repeated") << Colours { blue, blue, blue, blue, blue }
                                          << Colours { blue, blue, blue, blue, blue } << success << QString() << 5;
}

void GameTest::results()
{
    QFETCH(Colours, shown);
    QFETCH(Colours, clicked);
    QFETCH(QString, sentence);
    QFETCH(QString, progress);
    QFETCH(int, score);
    MemoryFixture f;
    f.showColours(shown);
    f.click(clicked);

    QCOMPARE(f.c().Frame1->isHidden(), sentence.isEmpty());
    if (!sentence.isEmpty()) {
        QCOMPARE(f.c().Label2->text(), sentence);
        QCOMPARE(f.window.clickcount - 1, score);
        QCOMPARE(f.window.resultscore, score);
        QCOMPARE(f.window.phase, form2::Phase::Result);
    }
    QCOMPARE(f.c().Label3->isHidden(), progress.isEmpty());
    if (!progress.isEmpty())
        QCOMPARE(f.c().Label3->text(), progress);
    else if (score == 0)
        QCOMPARE(f.c().Label3->text(), QStringLiteral("Label3")); // never updated in that game
    // Neither result hides the buttons of the answer phase.
    QVERIFY(f.colourButtonsVisible());
    QVERIFY(!f.c().Label4->isHidden());
    QVERIFY(!f.c().Command2->isHidden());
    QVERIFY(f.c().Command1->isHidden());
}

void GameTest::clicksAfterAResultChangeNothing()
{
    MemoryFixture f;
    f.showColours({ red, green, blue, yellow, red });
    f.click({ red, green, red });
    f.click({ blue, yellow, red, red, red });
    QCOMPARE(f.c().Label2->text(), failure2);
    QCOMPARE(f.window.clickcount, short(3));
    QCOMPARE(f.window.resultscore, 2);
    QVERIFY(f.c().Label3->isHidden());

    MemoryFixture won;
    won.showColours({ red, red, red, red, red });
    won.click({ red, red, red, red, red, red, green });
    QCOMPARE(won.c().Label2->text(), success);
    QCOMPARE(won.window.clickcount - 1, 5);
}

void GameTest::cancel_data()
{
    QTest::addColumn<int>("state"); // 0 colour on show, 1 blank, 2 answering, 3 result
    QTest::newRow("colour on show") << 0;
    QTest::newRow("blank between colours") << 1;
    QTest::newRow("answering") << 2;
    QTest::newRow("result shown") << 3;
}

void GameTest::cancel()
{
    QFETCH(int, state);
    MemoryFixture f;
    if (state < 2) {
        f.fake.random.values << MemoryFixture::rndFor(blue);
        QTest::mouseClick(f.c().Command1, Qt::LeftButton);
        f.window.Timer1_Timer();
        if (state == 1)
            f.window.Timer2_Timer();
        QVERIFY(!f.visibleSquares().isEmpty());
    } else {
        f.showColours({ red, green, blue, yellow, red });
        if (state == 3)
            f.click({ red, blue });
    }

    QTest::mouseClick(f.c().Command2, Qt::LeftButton);
    QCOMPARE(f.visibleSquares(), QStringList());
    QVERIFY(!f.c().Timer1->Enabled());
    QVERIFY(!f.c().Timer2->Enabled());
    QVERIFY(!f.c().Command1->isHidden());
    QVERIFY(f.c().Command2->isHidden());
    QVERIFY(!f.colourButtonsVisible());
    QVERIFY(f.c().Label4->isHidden());
    QCOMPARE(f.window.phase, form2::Phase::Idle);
    QCOMPARE(f.c().Frame1->isHidden(), state != 3);
    if (state == 3)
        QCOMPARE(f.c().Label2->text(), QStringLiteral("Das war leider ein Fehler, aber Sie haben 1 richtig"));
    QVERIFY(f.c().Frame3->isHidden()); // a cancel hands nothing over
    QVERIFY(!QFile::exists(QDir(f.fake.program.dir).filePath("best.lst")));

    // Ticks already queued when the game was cancelled show nothing.
    f.window.Timer1_Timer();
    f.window.Timer2_Timer();
    QCOMPARE(f.visibleSquares(), QStringList());
}

void GameTest::okAfterCancelHandsOverThatGamesScore()
{
    MemoryFixture f;
    // A full list of ones: 2 earns a place, a partial or negative score would not.
    QFile list(QDir(f.fake.program.dir).filePath("best.lst"));
    QVERIFY(list.open(QIODevice::WriteOnly));
    for (int i = 0; i < 9; ++i)
        list.write(" 1  Punkte f\xfcr  Gast\r\n");
    list.close();
    f.showColours({ red, green, blue, yellow, red });
    f.click({ red, green, yellow });
    QTest::mouseClick(f.c().Command2, Qt::LeftButton);
    // A new game begins while the old result is still open.
    f.fake.random.values << MemoryFixture::rndFor(green);
    QTest::mouseClick(f.c().Command1, Qt::LeftButton);
    f.window.Timer1_Timer();
    QCOMPARE(f.window.clickcount, short(0));

    QTest::mouseClick(f.c().Command7, Qt::LeftButton);
    QVERIFY(f.c().Frame1->isHidden());
    QVERIFY(!f.c().Frame3->isHidden());
    // The running game keeps its controls and goes on.
    QVERIFY(f.c().Command1->isHidden());
    QVERIFY(!f.c().Command2->isHidden());
    QCOMPARE(f.visibleSquares(), QStringList { "Shape1" });
    QVERIFY(f.c().Timer2->Enabled());

    QTest::mouseClick(f.c().Command9, Qt::LeftButton);
    QVERIFY(f.c().Frame3->isHidden());
    QVERIFY(f.listBytes().startsWith(" 2  Punkte f\xfcr  Anonymer\r\n 1  Punkte"));
}

void GameTest::nameEntryKeepsTheScoreOfItsResult()
{
    MemoryFixture f;
    f.showColours({ red, green, blue, yellow, red });
    f.click({ red, green, blue, red });
    QTest::mouseClick(f.c().Command7, Qt::LeftButton);
    QVERIFY(!f.c().Frame3->isHidden());
    QVERIFY(!f.c().Command1->isHidden());
    QVERIFY(!f.colourButtonsVisible());

    // Another game, lost at once, before the name is confirmed.
    f.showColours({ yellow, yellow, yellow, yellow, yellow });
    f.click(green);
    QCOMPARE(f.window.clickcount - 1, 0);
    QTest::keyClicks(f.c().Text1, QStringLiteral("Jan"));
    QTest::mouseClick(f.c().Command9, Qt::LeftButton);
    QCOMPARE(f.listBytes(), QByteArray(" 3  Punkte f\xfcr  Jan\r\n"));
}

void GameTest::progressLineSurvivesACancel()
{
    MemoryFixture f;
    f.showColours({ red, green, blue, yellow, red });
    f.click({ red, green });
    QCOMPARE(f.c().Label3->text(), QStringLiteral("2 von 5 richtig"));
    QTest::mouseClick(f.c().Command2, Qt::LeftButton);
    QVERIFY(!f.c().Label3->isHidden());
    QCOMPARE(f.c().Label3->text(), QStringLiteral("2 von 5 richtig"));

    f.showColours({ blue, blue, blue, blue, blue });
    QVERIFY(!f.c().Label3->isHidden());
    QCOMPARE(f.c().Label3->text(), QStringLiteral("2 von 5 richtig"));
    f.click(blue);
    QCOMPARE(f.c().Label3->text(), QStringLiteral("1 von 5 richtig"));
}

void GameTest::countChangedDuringAGame_data()
{
    QTest::addColumn<int>("before"); // count at the start
    QTest::addColumn<int>("shownBefore"); // colours shown before the change
    QTest::addColumn<int>("clickedBefore"); // right clicks before the change
    QTest::addColumn<int>("after"); // the new count
    QTest::addColumn<int>("shown"); // colours shown in all
    QTest::addColumn<int>("score"); // after right clicks to the end

    QTest::newRow("raised while showing") << 5 << 3 << 0 << 10 << 10 << 10;
    QTest::newRow("lowered while showing, not yet reached") << 10 << 3 << 0 << 5 << 5 << 5;
    QTest::newRow("lowered while showing, below what was shown") << 10 << 7 << 0 << 5 << 7 << 5;
    QTest::newRow("lowered while answering, below the clicks") << 10 << 10 << 6 << 5 << 10 << 7;
    QTest::newRow("raised while answering") << 5 << 5 << 2 << 10 << 5 << 5;
}

void GameTest::countChangedDuringAGame()
{
    QFETCH(int, before);
    QFETCH(int, shownBefore);
    QFETCH(int, clickedBefore);
    QFETCH(int, after);
    QFETCH(int, shown);
    QFETCH(int, score);
    MemoryFixture f;
    f.ownCount(before);
    const auto tick = [&f] {
        f.window.Timer1_Timer();
        if (f.window.phase == form2::Phase::Showing)
            f.window.Timer2_Timer();
    };

    f.window.Command1_Click(); // every draw is 0: green
    for (int i = 0; i < shownBefore; ++i)
        tick();
    const bool whileShowing = shownBefore < before;
    if (whileShowing)
        f.ownCount(after);
    for (int i = 0; i < 20 && f.window.phase == form2::Phase::Showing; ++i)
        tick();
    QCOMPARE(f.window.phase, form2::Phase::Answering);
    QCOMPARE(f.fake.random.drawn, shown);

    for (int i = 0; i < clickedBefore; ++i)
        f.click(green);
    if (!whileShowing)
        f.ownCount(after);
    for (int i = 0; i < 20 && f.window.phase == form2::Phase::Answering; ++i)
        f.click(green);
    QCOMPARE(f.c().Label2->text(), success);
    QCOMPARE(f.window.resultscore, score);
}

void GameTest::aGameHoldsAtMost500Colours()
{
    MemoryFixture f;
    f.ownCount(500);
    QCOMPARE(f.window.colourcount, 500);
    f.window.Command1_Click();
    for (int i = 0; i < 500; ++i) {
        f.window.Timer1_Timer();
        f.window.Timer2_Timer();
    }
    QCOMPARE(f.window.phase, form2::Phase::Showing);
    f.window.Timer1_Timer();
    QCOMPARE(f.window.phase, form2::Phase::Answering);
    QCOMPARE(f.fake.random.drawn, 500);
    for (int i = 0; i < 500; ++i)
        f.window.Command3_Click(); // every draw was 0: green
    QCOMPARE(f.c().Label2->text(), success);
    QCOMPARE(f.window.resultscore, 500);
}

void GameTest::colourButtonsShowTheirColour_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("fill");
    QTest::newRow("green") << int(green) << "GRÜN" << QColor(0, 255, 0);
    QTest::newRow("red") << int(red) << "ROT" << QColor(255, 0, 0);
    QTest::newRow("blue") << int(blue) << "BLAU" << QColor(0, 0, 255);
    QTest::newRow("yellow") << int(yellow) << "GELB" << QColor(255, 255, 0);
}

void GameTest::colourButtonsShowTheirColour()
{
    QFETCH(int, code);
    QFETCH(QString, caption);
    QFETCH(QColor, fill);
    MemoryFixture f;
    f.showColours({ red, red, red, red, red });
    QPushButton *buttons[] = { nullptr, f.c().Command3, f.c().Command4, f.c().Command5, f.c().Command6 };
    QPushButton *button = buttons[code];
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->size(), QSize(57, 57));
    const QImage face = button->grab().toImage();
    // Inside the frame and away from the caption, the face is the plain colour.
    QCOMPARE(face.pixelColor(face.width() / 2, 6), fill);
    QCOMPARE(face.pixelColor(6, face.height() / 2), fill);
    // The caption stands out from the face.
    int captionPixels = 0;
    for (int x = 0; x < face.width(); ++x) {
        for (int y = face.height() / 3; y < face.height() * 2 / 3; ++y)
            captionPixels += face.pixelColor(x, y) != fill;
    }
    QVERIFY2(captionPixels > 20, qPrintable(QString::number(captionPixels)));
}

QObject *makeGameTest()
{
    return new GameTest;
}

#include "tst_game.moc"
