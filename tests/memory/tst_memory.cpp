#include "memory/form2.h"
#include "platform/controls.h"
#include "platform/timer.h"
#include "program.h"

#include <QTest>
#include <QtWidgets>

using namespace memory;
using Phase = Game::Phase;
using Answers = QList<Game::Answer>;

namespace {

const QString success = QStringLiteral("Super, Sie haben alles behalten!");

QString failure(int right)
{
    return QStringLiteral("Das war leider ein Fehler, aber Sie haben %1 richtig").arg(right);
}

// A game as a script: a number sets the count, 'S' starts, 't' shows one colour,
// 'A' the rest, 'g' 'r' 'b' 'y' click a colour, 'C' cancels, 'O' closes the
// result, 'L' loads the window anew. The draws give red, green, blue, yellow, red,
// then green.
struct Rule
{
    QString script;
    Phase phase;
    QString sentence {}; // empty: no result on show
    int score = 0;
    QString progress {}; // empty: the progress line hidden
    int handed = -1; // the score the last OK handed over; -1: none
    Answers answers {}; // empty: not checked
};

void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

void answer(const form2::Controls &c, const QList<Colour> &colours)
{
    for (Colour colour : colours)
        click(QList<QPushButton *> { nullptr, c.Command3, c.Command4, c.Command5, c.Command6 }[colour]);
}

void finishShow(const form2::Controls &c)
{
    while (c.Timer1->Enabled() || c.Timer2->Enabled())
        (c.Timer1->Enabled() ? c.Timer1 : c.Timer2)->tick();
}

// The names of the window's controls on show and of its timers that run, sorted.
QStringList onShow(const form2 &window)
{
    QStringList names;
    for (QObject *child : window.client()->children()) {
        const auto *widget = qobject_cast<QWidget *>(child);
        const auto *timer = qobject_cast<platform::Timer *>(child);
        if ((widget && !widget->isHidden()) || (timer && timer->Enabled()))
            names << child->objectName();
    }
    names.sort();
    return names;
}

QStringList marks(const form2::Controls &c)
{
    QStringList names;
    for (QAction *item : c.egeschw->actions() + c.anz->actions()) {
        if (item->isChecked())
            names << item->objectName();
    }
    return names;
}

} // namespace
Q_DECLARE_METATYPE(Rule)

class MemoryTest : public QObject
{
    Q_OBJECT

private slots:
    void rules_data();
    void rules();
    void ownCounts_data();
    void ownCounts();
    void designAtLoad();
    void playedThroughTheWindow_data();
    void playedThroughTheWindow();
};

void MemoryTest::rules_data()
{
    const auto p = Game::Answer::progress, ignored = Game::Answer::ignored;
    const QString twoRight = QStringLiteral("2 von 5 richtig");
    QTest::addColumn<Rule>("rule");
    QTest::newRow("judged at its own position") << Rule { "SAg", Phase::Result, failure(0), 0 };
    QTest::newRow("clicks after a failure")
        << Rule { "SArgry", Phase::Result, failure(2), 2, {}, -1, { p, p, Game::Answer::failure, ignored } };
    QTest::newRow("clicks after a success")
        << Rule { "SArgbyrr", Phase::Result, success, 5, {}, -1, { p, p, p, p, Game::Answer::success, ignored } };
    QTest::newRow("progress") << Rule { "SArg", Phase::Answering, {}, 0, twoRight };
    QTest::newRow("ticks after a cancel") << Rule { "StCtt", Phase::Idle };
    QTest::newRow("progress kept through a cancel and a start") << Rule { "SArgCSt", Phase::Showing, {}, 0, twoRight };
    QTest::newRow("a result kept through a cancel") << Rule { "SArgrC", Phase::Idle, failure(2), 2 };
    QTest::newRow("its OK after the cancel") << Rule { "SArgrCO", Phase::Idle, {}, 2, {}, 2 };
    QTest::newRow("its OK while a new game runs") << Rule { "SArgrCStO", Phase::Showing, {}, 2, {}, 2 };
    QTest::newRow("that game lost before the name") << Rule { "SArgrCStOAr", Phase::Result, failure(0), 0, {}, 2 };
    QTest::newRow("OK on the result") << Rule { "SArbO", Phase::Idle, {}, 1, {}, 1 };
    QTest::newRow("OK without a result") << Rule { "O", Phase::Idle };
    QTest::newRow("reloaded while answering") << Rule { "SArLt", Phase::Idle };
    QTest::newRow("reloaded with a result kept") << Rule { "SArgrCSL", Phase::Idle, {}, 2 };
    QTest::newRow("one colour") << Rule { "1SAr", Phase::Result, success, 1 };
    QTest::newRow("500, the most a game holds")
        << Rule { "500SArgbyr" + QString(495, 'g'), Phase::Result, success, 500 };
    // A lowered count ends the phase at once; a raised one asks only for colours shown.
    QTest::newRow("raised while showing") << Rule { "Sttt10Argbyrggggg", Phase::Result, success, 10 };
    QTest::newRow("lowered while showing") << Rule { "10Sttttttt5Argbyr", Phase::Result, success, 5 };
    QTest::newRow("lowered below the clicks") << Rule { "10SArgbyrg5g", Phase::Result, success, 7 };
    QTest::newRow("raised while answering") << Rule { "SArg10byr", Phase::Result, success, 5 };
}

void MemoryTest::rules()
{
    QFETCH(Rule, rule);
    FakeRandom random;
    random.values = { 0.25f, 0.0f, 0.5f, 0.75f, 0.25f };
    Game game { random };
    game.load();
    Answers answers;
    int handed = -1, count = 0;
    const auto tick = [&game] {
        game.nextstep();
        game.endcolour();
    };
    for (QChar step : rule.script + ' ') {
        if (step.isDigit()) {
            count = count * 10 + step.digitValue();
            continue;
        }
        if (count)
            game.choosecount(std::exchange(count, 0));
        if (step == 'S')
            game.start();
        if (step == 't')
            tick();
        while (step == 'A' && game.phase == Phase::Showing)
            tick();
        if (QStringLiteral("grby").contains(step))
            answers << game.answer(Colour(QStringLiteral(" grby").indexOf(step)));
        if (step == 'C')
            game.cancel();
        if (step == 'O')
            handed = game.closeresult().value_or(-1);
        if (step == 'L')
            game.load();
    }
    QCOMPARE(game.phase, rule.phase);
    QCOMPARE(game.resultshown ? game.resultsentence : QString(), rule.sentence);
    QCOMPARE(game.resultscore, rule.score);
    QCOMPARE(game.progressshown ? game.progress : QString(), rule.progress);
    QCOMPARE(handed, rule.handed);
    if (!rule.answers.isEmpty())
        QCOMPARE(answers, rule.answers);
    QCOMPARE(game.wait == Game::Wait::none, rule.phase != Phase::Showing);
}

void MemoryTest::ownCounts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("refused");
    QTest::newRow("blanks around") << " 8 " << 8 << false;
    QTest::newRow("1") << "1" << 1 << false;
    QTest::newRow("500") << "500" << 500 << false;
    QTest::newRow("cancelled") << "" << 5 << false;
    for (const char *typed : { "0", "501", "2.5", "12 Farben", " ", "-3" })
        QTest::newRow(typed) << typed << 5 << true;
}

void MemoryTest::ownCounts()
{
    QFETCH(QString, typed);
    QFETCH(int, count);
    QFETCH(bool, refused);
    FakeRandom random;
    Game game { random };
    game.load();
    game.choosecount(40);
    game.choosespeed(Game::Speed::slow);
    QCOMPARE(Game::refusesowncount(typed), refused);
    QCOMPARE(game.chooseowncount(typed), !refused && !typed.isEmpty());
    QCOMPARE(
        game.settingtext, QStringLiteral(" Einstellung: %1 Farben merken bei langsamer Geschwindigkeit.").arg(count));
    QCOMPARE(game.displaytime, 2500);
}

void MemoryTest::designAtLoad()
{
    Program program;
    const form2 &window = program.open<form2>(TestWindow::Memory);
    const QString rows[] = { "Frame4 720 360 5895 2655", "Command11 1200 2160 3255 375 alles klar, hab's schon kapiert",
        "Label7 240 240 5535 1815 " + form2::helpText,
        "Frame3 2280 1560 3855 1695 Sie haben eines der besten 10 "
        "Ergebnisse erreicht",
        "Text1 360 720 3135 375", "Command9 240 1200 1575 375 schon erledigt", "Command10 2400 1200 1335 375 abbrechen",
        "Label5 480 360 2415 375 Tragen Sie hier Ihren Namen ein", "Frame2 2520 0 3495 2655",
        "Command8 360 2280 2775 375 ok", "List1 120 0 3255 2205", "Frame1 1560 1200 4695 1935",
        "Command7 2640 1440 1455 375 OK", "Label2 120 240 4455 615 Label2", "Command3 1440 4080 855 855 GRÜN",
        "Command6 4680 4080 855 855 GELB", "Command5 3600 4080 855 855 BLAU", "Command4 2520 4080 855 855 ROT",
        "Command2 6000 4920 1455 495 Abbrechen", "Command1 3000 2040 2175 495 Dann lass uns mal anfangen",
        "Label4 1560 2040 4455 1095", "Label3 1440 4920 4095 495 Label3",
        "Label1 0 5520 7575 375  Einstellung: 5 Farben merken bei mittlerer Geschwindigkeit.",
        "Shape9 2520 1200 2535 2535", "Shape4 2520 1200 2535 2535", "Shape3 2520 1200 2535 2535",
        "Shape1 2520 1200 2535 2535", "Shape2 2520 1200 2535 2535" };
    for (const QString &row : rows) {
        const QStringList field = row.split(' ');
        const QWidget *control = window.client()->findChild<QWidget *>(field[0]);
        QCOMPARE(control->geometry(),
            platform::twipsRect(field[1].toInt(), field[2].toInt(), field[3].toInt(), field[4].toInt()));
        QCOMPARE(control->property(qobject_cast<const QGroupBox *>(control) ? "title" : "text").toString(),
            field.mid(5).join(' '));
    }
    QCOMPARE(form2::helpText.section("wiederholen.", 1).indexOf('U'), 70); // the second sentence on a line of its own
    QCOMPARE(onShow(window), (QStringList { "Command1", "Label1" }));
    QCOMPARE(marks(window.controls()), (QStringList { "mittel", "es5" }));
    QCOMPARE(window.controls().Timer1->Interval(), 750);
    QCOMPARE(window.controls().Timer2->Interval(), 1500);
}

void MemoryTest::playedThroughTheWindow_data()
{
    QTest::addColumn<int>("listed"); // the points of nine lines in best.lst; 0: no list yet
    QTest::addColumn<bool>("namePanel");
    QTest::newRow("no list yet") << 0 << true;
    QTest::newRow("2 earns a place") << 1 << true;
    QTest::newRow("2 earns none") << 3 << false;
}

void MemoryTest::playedThroughTheWindow()
{
    QFETCH(int, listed);
    QFETCH(bool, namePanel);
    Program program;
    form2 &window = program.open<form2>(TestWindow::Memory);
    const form2::Controls *c = &window.controls();
    QFile list(QDir(program.fake.program.dir).filePath(QStringLiteral("best.lst")));
    QVERIFY(!listed || list.open(QIODevice::WriteOnly));
    for (int i = 0; listed && i < 9; ++i)
        list.write(" " + QByteArray::number(listed) + "  Punkte f\xfcr  Gast\r\n");
    list.close();

    // The largest float below 1 draws yellow: in single precision r * 4 + 1 would round up to 5.
    program.fake.random.values = { 0.99999994f, 0.0f, 0.25f, 0.74999994f, 0.5f };
    click(c->Command1);
    QCOMPARE(onShow(window), (QStringList { "Command2", "Label1", "Timer1" }));
    for (Colour colour : { yellow, green, red, blue, blue }) {
        const QString square = QStringLiteral("Shape%1").arg(colour);
        c->Timer1->tick();
        QCOMPARE(onShow(window), (QStringList { "Command2", "Label1", square, "Timer2" }));
        c->Timer2->tick();
        QCOMPARE(onShow(window), (QStringList { "Command2", "Label1", square, "Shape9", "Timer1" }));
    }
    c->Timer1->tick();
    const QStringList colourButtons { "Command2", "Command3", "Command4", "Command5", "Command6" };
    QCOMPARE(onShow(window), (colourButtons + QStringList { "Label1", "Label4" }));
    answer(*c, { yellow, green });
    QCOMPARE(onShow(window), (colourButtons + QStringList { "Label1", "Label3", "Label4" }));
    QCOMPARE(c->Label3->text(), "2 von 5 richtig");
    answer(*c, { blue, red }); // blue where red was shown; a click after the result changes nothing
    QCOMPARE(onShow(window), (colourButtons + QStringList { "Frame1", "Label1", "Label4" }));
    QCOMPARE(c->Label2->text(), failure(2));

    // Cancelled with the result on show; its OK while a new game runs hands over its score.
    click(c->Command2);
    QCOMPARE(onShow(window), (QStringList { "Command1", "Frame1", "Label1" }));
    click(c->Command1);
    c->Timer1->tick();
    click(c->Command7);
    const QStringList newGame { "Command2", "Label1", "Shape1", "Timer2" };
    QCOMPARE(
        onShow(window), (namePanel ? QStringList { "Command2", "Frame3", "Label1", "Shape1", "Timer2" } : newGame));
    if (namePanel) { // that game is lost before the name is confirmed: the entry keeps its score
        finishShow(*c);
        answer(*c, { red });
        QTest::keyClicks(c->Text1, QStringLiteral("Jan"));
        click(c->Command9);
        QVERIFY(list.open(QIODevice::ReadOnly) && list.readLine() == " 2  Punkte f\xfcr  Jan\r\n");
        click(c->Command7); // the lost game's 0 earns a place on the short list only
        click(c->Command10);
    }
    c->best->trigger();
    c->hilf->trigger();
    QCOMPARE(c->List1->item(0)->text(), namePanel ? " 2  Punkte für  Jan" : " 3  Punkte für  Gast");
    QCOMPARE(onShow(window).filter("Frame"), (QStringList { "Frame2", "Frame4" }));
    click(c->Command11);
    click(c->Command8);
    window.Command2_Click();

    // Settings: marks, display time and line; the own count asked with its marks cleared, or refused.
    QStringList marksInTheBox;
    program.fake.dialogs.whileOpen = [&] { marksInTheBox = marks(*c); };
    program.fake.dialogs.inputs << "8"
                                << "acht";
    c->langsam->trigger();
    c->es30->trigger();
    c->selbst->trigger();
    QCOMPARE(marksInTheBox, QStringList { "langsam" });
    QCOMPARE(marks(*c), (QStringList { "langsam", "selbst" }));
    QCOMPARE(c->Label1->text(), " Einstellung: 8 Farben merken bei langsamer Geschwindigkeit.");
    QCOMPARE(c->Timer2->Interval(), 2500);
    c->schnell->trigger();
    c->selbst->trigger();
    QCOMPARE(marks(*c), (QStringList { "schnell", "es5" }));
    QCOMPARE(c->Timer2->Interval(), 750);
    QCOMPARE(program.fake.dialogs.shown.value(0).title, "Das geht leider nicht");
    program.fake.dialogs.whileOpen = nullptr;

    // "Keine Lust mehr": No lets the game go on, Yes closes it; opened again the window starts afresh.
    click(c->Command1);
    c->Timer1->tick();
    program.fake.dialogs.answers << platform::vbNo << platform::vbYes;
    c->kl->trigger();
    QCOMPARE(onShow(window), newGame);
    c->kl->trigger();
    QVERIFY(!window.isLoaded() && program.start().Visible());
    QCOMPARE(program.fake.dialogs.shown.value(2).prompt, "Wirklich beenden?");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    program.open<form2>(TestWindow::Memory);
    c = &window.controls();
    window.Timer1_Timer(); // the closed game's ticks show nothing
    window.Timer2_Timer();
    QCOMPARE(onShow(window), (QStringList { "Command1", "Label1" }));
    QCOMPARE(marks(*c), (QStringList { "mittel", "es5" }));
    QCOMPARE(c->Timer2->Interval(), 1500);
}

QTEST_MAIN(MemoryTest)

#include "tst_memory.moc"
