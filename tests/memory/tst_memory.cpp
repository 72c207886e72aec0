#include "fakeservices.h"
#include "memory/form2.h"
#include "platform/controls.h"
#include "platform/timer.h"
#include "shell/registry.h"
#include "shell/start.h"

#include <QTest>
#include <QtWidgets>

using namespace memory;
using platform::twipsRect;
using Colours = QList<Colour>;
const Colours five { memory::red, memory::green, memory::blue, memory::yellow, memory::red };

// One game: what is shown and clicked, and what the window says then.
struct Game
{
    Colours shown {};
    int ticks = -1; // ticks of the show phase; -1: all of it
    Colours clicked {};
    bool cancelled = false;
    QString sentence {}; // empty: no result on show
    QString progress {}; // empty: the progress line hidden
    int score = 0;
};
Q_DECLARE_METATYPE(Game)

// A count changed during a game (all draws green, all clicks right).
struct CountChange
{
    int before;
    int shownBefore; // colours shown before the change
    int clickedBefore; // right clicks before the change
    int after;
    int shown; // colours shown in all
    int score;
};
Q_DECLARE_METATYPE(CountChange)

// Settings items clicked by caption ("=<typed>": the own count, its box answered) and the settings then.
struct MenuPath
{
    QStringList steps;
    QString marks;
    int count;
    int displayMs;
    bool complaint = false;
};
Q_DECLARE_METATYPE(MenuPath)

namespace {

const QString success = QStringLiteral("Super, Sie haben alles behalten!");
const QString loadLine = QStringLiteral(" Einstellung: 5 Farben merken bei mittlerer Geschwindigkeit.");

QString failure(int right)
{
    return QStringLiteral("Das war leider ein Fehler, aber Sie haben %1 richtig").arg(right);
}

float rndFor(Colour colour)
{
    return (colour - 1) / 4.0f + 0.1f;
}

void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Starts a game with a real click; the draws give these colours.
void startGame(FakeServices &fake, const form2::Controls &c, const Colours &colours)
{
    for (Colour colour : colours)
        fake.random.values << rndFor(colour);
    click(c.Command1);
}

void answerWith(const form2::Controls &c, const Colours &colours)
{
    for (Colour colour : colours)
        click(QList<QPushButton *> { nullptr, c.Command3, c.Command4, c.Command5, c.Command6 }[colour]);
}

// The marked items of the settings menus, by caption.
QString marks(const form2::Controls &c)
{
    QStringList captions;
    for (QAction *item : c.egeschw->actions() + c.anz->actions()) {
        if (item->isChecked())
            captions << item->text().trimmed();
    }
    return captions.join(' ');
}

// A loaded and shown memory window with fake services.
struct Fixture
{
    Fixture() { window.setVisible(true); }
    ~Fixture() { window.unload(); }
    const form2::Controls &c() const { return window.controls(); }

    // The squares on show, the blanking one first.
    QString squares() const
    {
        QStringList names;
        for (auto [square, name] : { std::pair { c().Shape9, "blank" }, { c().Shape1, "green" }, { c().Shape2, "red" },
                 { c().Shape3, "blue" }, { c().Shape4, "yellow" } }) {
            if (!square->isHidden())
                names << QString::fromLatin1(name);
        }
        return names.join(' ');
    }
    // Which controls of a game are up.
    QString look() const
    {
        QString up;
        const QWidget *controls[]
            = { c().Command1, c().Command2, c().Label4, c().Command3, c().Command4, c().Command5, c().Command6 };
        for (const QWidget *control : controls)
            up += control->isHidden() ? '-' : '+';
        return up == "+------" ? "idle" : up == "-+-----" ? "showing" : up == "-++++++" ? "answering" : up;
    }

    void tick()
    {
        window.Timer1_Timer();
        if (window.phase == form2::Phase::Showing)
            window.Timer2_Timer();
    }
    void finishShow()
    {
        for (int i = 0; i <= form2::lastPosition && window.phase == form2::Phase::Showing; ++i)
            tick();
    }
    void answer(const Colours &colours) { answerWith(c(), colours); }
    FakeServices fake;
    form2 window { fake.services };
};

} // namespace

class MemoryTest : public QObject
{
    Q_OBJECT

private slots:
    void designValues();
    void showSchedule_data();
    void showSchedule();
    void answersResultsAndCancel_data();
    void answersResultsAndCancel();
    void okAfterCancelHandsOverThatGamesScore_data();
    void okAfterCancelHandsOverThatGamesScore();
    void settingsMenuPaths_data();
    void settingsMenuPaths();
    void countChangedDuringAGame_data();
    void countChangedDuringAGame();
    void playedFromTheStartWindowLeftAndReopened();
};

void MemoryTest::designValues()
{
    Fixture f;
    const form2::Controls &c = f.c();
    struct Design
    {
        QWidget *widget;
        QRect geometry;
        bool shownAtLoad;
        QString text;
    };
    const Design rows[] = {
        { c.Frame3, twipsRect(2280, 1560, 3855, 1695), false, "Sie haben eines der besten 10 Ergebnisse erreicht" },
        { c.Command3, twipsRect(1440, 4080, 855, 855), false, "GRÜN" },
        { c.Command2, twipsRect(6000, 4920, 1455, 495), false, "Abbrechen" },
        { c.Command1, twipsRect(3000, 2040, 2175, 495), true, "Dann lass uns mal anfangen" },
        { c.Label1, twipsRect(0, 5520, 7575, 375), true, loadLine },
        { c.Shape9, twipsRect(2520, 1200, 2535, 2535), false, QString() },
    };
    for (const Design &row : rows) {
        QCOMPARE(row.widget->geometry(), row.geometry);
        QCOMPARE(!row.widget->isHidden(), row.shownAtLoad);
        const bool label = qobject_cast<QLabel *>(row.widget), panel = qobject_cast<QGroupBox *>(row.widget);
        QCOMPARE(row.widget->property(panel ? "title" : "text").toString(), row.text);
        // Captions shrink to fit their boxes on wide system faces.
        const QRect box = row.widget->contentsRect();
        const QRect needed = row.widget->fontMetrics().boundingRect(box, label ? Qt::TextWordWrap : 0, row.text);
        QVERIFY2(needed.width() <= box.width() && needed.height() <= box.height(), qPrintable(row.text));
    }
    // Panels over the game; the blanking square over the colours.
    QList<QWidget *> topmostFirst = f.window.client()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    std::reverse(topmostFirst.begin(), topmostFirst.end());
    QCOMPARE(topmostFirst,
        (QList<QWidget *> { c.Frame4, c.Frame3, c.Frame2, c.Frame1, c.Command3, c.Command6, c.Command5, c.Command4,
            c.Command2, c.Command1, c.Label4, c.Label3, c.Label1, c.Shape9, c.Shape4, c.Shape3, c.Shape1, c.Shape2 }));
}

void MemoryTest::showSchedule_data()
{
    QTest::addColumn<QList<float>>("draws");
    QTest::addColumn<QStringList>("squares");
    // The largest float below 1 draws yellow: in single precision r * 4 + 1 would round up to 5.
    QTest::newRow("every colour, yellow twice in a row") << QList<float> { 0.1f, 0.35f, 0.6f, 0.85f, 0.99999994f }
                                                         << QStringList { "green", "red", "blue", "yellow", "yellow" };
    QTest::newRow("the bounds of the quarters") << QList<float> { 0.0f, 0.25f, 0.5f, 0.75f, 0.24999999f }
                                                << QStringList { "green", "red", "blue", "yellow", "green" };
}

void MemoryTest::showSchedule()
{
    QFETCH(QList<float>, draws);
    QFETCH(QStringList, squares);
    Fixture f;
    f.fake.random.values = draws;
    click(f.c().Command1);
    // Nothing until the first tick; the blanking square covers each colour, and both go at the next tick.
    QStringList seen { f.look() + ':' + f.squares() }, expected { "showing:" };
    for (const QString &square : squares) {
        f.window.Timer1_Timer();
        seen << f.squares();
        f.window.Timer2_Timer();
        seen << f.squares();
        expected << square << "blank " + square;
    }
    f.window.Timer1_Timer();
    QCOMPARE(seen << f.look() + ':' + f.squares(), expected << "answering:");
    QVERIFY(!f.c().Timer1->Enabled() && !f.c().Timer2->Enabled());
}

void MemoryTest::answersResultsAndCancel_data()
{
    const Colours blues(5, blue);
    QTest::addColumn<Game>("game");
    // Green comes second, so it is wrong at the first position.
    QTest::newRow("judged at its own position") << Game { .shown = five, .clicked = { green }, .sentence = failure(0) };
    QTest::newRow("clicks after a failure") << Game {
        .shown = five, .clicked = { red, green, red, blue, yellow, red }, .sentence = failure(2), .score = 2
    };
    QTest::newRow("clicks after a success")
        << Game { .shown = blues, .clicked = Colours(7, blue) << green, .sentence = success, .score = 5 };
    QTest::newRow("cancelled with a colour on show") << Game { .shown = blues, .ticks = 1, .cancelled = true };
    QTest::newRow("cancelled between colours") << Game { .shown = blues, .ticks = 2, .cancelled = true };
    // The progress line outlives a cancel, and so does a result on show.
    QTest::newRow("cancelled while answering")
        << Game { .shown = blues, .clicked = { blue, blue }, .cancelled = true, .progress = "2 von 5 richtig" };
    QTest::newRow("cancelled with the result shown")
        << Game { .shown = blues, .clicked = { blue, red }, .cancelled = true, .sentence = failure(1), .score = 1 };
}

void MemoryTest::answersResultsAndCancel()
{
    QFETCH(Game, game);
    Fixture f;
    startGame(f.fake, f.c(), game.shown);
    for (int i = 0; i < game.ticks; ++i)
        i % 2 == 0 ? f.window.Timer1_Timer() : f.window.Timer2_Timer();
    if (game.ticks < 0)
        f.finishShow();
    f.answer(game.clicked);
    if (game.cancelled)
        click(f.c().Command2);
    QCOMPARE(f.c().Frame1->isHidden() ? QString() : f.c().Label2->text(), game.sentence);
    QCOMPARE(f.c().Label3->isHidden() ? QString() : f.c().Label3->text(), game.progress);
    QCOMPARE(f.window.resultscore, game.score);
    QCOMPARE(f.look(), game.cancelled ? "idle" : "answering"); // a result hides none of the answer controls
    QVERIFY(f.c().Frame3->isHidden()); // only the result's OK hands over
    // Ticks that fall due now show nothing.
    f.window.Timer1_Timer();
    f.window.Timer2_Timer();
    QCOMPARE(f.squares(), "");
    QVERIFY(!f.c().Timer1->Enabled() && !f.c().Timer2->Enabled());
}

void MemoryTest::okAfterCancelHandsOverThatGamesScore_data()
{
    QTest::addColumn<int>("listed"); // the points of nine lines in the list; 0: no list, a folder at its lock's name
    QTest::addColumn<bool>("namePanel");
    QTest::addColumn<bool>("saved");
    QTest::newRow("2 earns a place") << 1 << true << true;
    QTest::newRow("2 earns none") << 3 << false << false;
    QTest::newRow("the list cannot be written") << 0 << true << false;
}

void MemoryTest::okAfterCancelHandsOverThatGamesScore()
{
    QFETCH(int, listed);
    QFETCH(bool, namePanel);
    QFETCH(bool, saved);
    Fixture f;
    QFile list(QDir(f.fake.program.dir).filePath(QStringLiteral("best.lst")));
    QVERIFY(listed ? list.open(QIODevice::WriteOnly) : QDir(f.fake.program.dir).mkdir(list.fileName() + ".lock"));
    for (int i = 0; listed && i < 9; ++i)
        list.write(" " + QByteArray::number(listed) + "  Punkte f\xfcr  Gast\r\n");
    list.close();
    startGame(f.fake, f.c(), five);
    f.finishShow();
    f.answer({ red, green, yellow });
    click(f.c().Command2);
    // A new game begins while the old result is still open.
    startGame(f.fake, f.c(), { green });
    f.window.Timer1_Timer();

    click(f.c().Command7);
    QVERIFY(f.c().Frame1->isHidden() && f.c().Frame3->isHidden() != namePanel);
    QCOMPARE(f.look() + ' ' + f.squares(), "showing green"); // the new game goes on
    if (!namePanel)
        return;
    // That game is lost at once, before the name is confirmed: the entry keeps its score.
    f.finishShow();
    f.answer({ red });
    QCOMPARE(f.c().Label2->text(), failure(0));
    QTest::keyClicks(f.c().Text1, QStringLiteral("Jan"));
    click(f.c().Command9);
    QCOMPARE(f.c().Frame3->isHidden(), saved);
    QCOMPARE(f.fake.dialogs.shown.size(), saved ? 0 : 1);
    QVERIFY(!saved
        || (list.open(QIODevice::ReadOnly) && list.readAll().startsWith(" 2  Punkte f\xfcr  Jan\r\n 1  Punkte")));
}

void MemoryTest::settingsMenuPaths_data()
{
    const QString own = QStringLiteral("will ich sebst bestimmen");
    QTest::addColumn<MenuPath>("path");
    QTest::newRow("langsam") << MenuPath { { "langsam" }, "langsam 5", 5, 2500 };
    QTest::newRow("twice") << MenuPath { { "schnell", "schnell", "20", "20" }, "schnell 20", 20, 750 };
    QTest::newRow("mittel") << MenuPath { { "langsam", "10", "40", "mittel" }, "mittel 40", 40, 1500 };
    QTest::newRow("own count with blanks") << MenuPath { { "schnell", "= 8 " }, "schnell " + own, 8, 750 };
    QTest::newRow("own count 1") << MenuPath { { "=1" }, "mittel " + own, 1, 1500 };
    QTest::newRow("30 after an own count") << MenuPath { { "=60", "30" }, "mittel 30", 30, 1500 };
    QTest::newRow("own count cancelled") << MenuPath { { "=60", "=" }, "mittel 5", 5, 1500 };
    for (const char *typed : { "2.5", "0", "501", "12 Farben", " " }) {
        QTest::addRow("invalid own count \"%s\"", typed)
            << MenuPath { { "20", QStringLiteral("=") + typed }, "mittel 5", 5, 1500, true };
    }
}

void MemoryTest::settingsMenuPaths()
{
    QFETCH(MenuPath, path);
    Fixture f;
    for (const QString &step : path.steps) {
        if (step.startsWith('='))
            f.fake.dialogs.inputs << step.mid(1);
        for (QAction *item : f.c().egeschw->actions() + f.c().anz->actions()) {
            if (item->text().trimmed() == step || (item == f.c().selbst && step.startsWith('=')))
                item->trigger();
        }
    }
    const QString speed = path.displayMs == 2500 ? "langsamer" : path.displayMs == 750 ? "schneller" : "mittlerer";
    QCOMPARE(marks(f.c()), path.marks);
    QCOMPARE(f.window.colourcount, path.count);
    QCOMPARE(f.c().Timer2->Interval(), path.displayMs);
    QCOMPARE(f.c().Label1->text(),
        QStringLiteral(" Einstellung: %1 Farben merken bei %2 Geschwindigkeit.").arg(path.count).arg(speed));
    QCOMPARE(f.fake.dialogs.proposals, QStringList(f.fake.dialogs.inputBoxes.size(), QStringLiteral("60")));
    QCOMPARE(f.fake.dialogs.shown.size(), path.complaint ? 1 : 0);
}

void MemoryTest::countChangedDuringAGame_data()
{
    QTest::addColumn<CountChange>("change");
    QTest::newRow("raised while showing") << CountChange { 5, 3, 0, 10, 10, 10 };
    QTest::newRow("lowered while showing, below what was shown") << CountChange { 10, 7, 0, 5, 7, 5 };
    QTest::newRow("lowered while answering, below the clicks") << CountChange { 10, 10, 6, 5, 10, 7 };
    QTest::newRow("raised while answering") << CountChange { 5, 5, 2, 10, 5, 5 };
    QTest::newRow("500 colours, the most a game holds") << CountChange { 500, 500, 0, 500, 500, 500 };
}

void MemoryTest::countChangedDuringAGame()
{
    QFETCH(CountChange, change);
    Fixture f;
    f.fake.dialogs.inputs << QString::number(change.before) << QString::number(change.after);
    f.c().selbst->trigger();
    f.window.Command1_Click(); // every draw is 0: green
    for (int i = 0; i < change.shownBefore; ++i)
        f.tick();
    if (change.shownBefore < change.before)
        f.c().selbst->trigger();
    f.finishShow();
    QCOMPARE(f.fake.random.drawn, change.shown);
    f.answer(Colours(change.clickedBefore, green));
    if (change.shownBefore == change.before)
        f.c().selbst->trigger();
    while (f.window.phase == form2::Phase::Answering && f.window.clickcount <= change.shown)
        f.answer({ green });
    QCOMPARE(f.c().Label2->text(), success);
    QCOMPARE(f.window.resultscore, change.score);
}

void MemoryTest::playedFromTheStartWindowLeftAndReopened()
{
    FakeServices fake;
    WindowRegistry registry(fake.services);
    fake.program.onShowStart = [&registry] { registry.start().setVisible(true); };
    registry.start().setVisible(true);
    click(registry.start().controls().Command4);
    auto *window = &static_cast<form2 &>(registry.test(TestWindow::Memory));
    QVERIFY(!registry.start().isLoaded() && window->Visible());

    const form2::Controls *c = &window->controls();
    startGame(fake, *c, { yellow, blue, green, red, blue });
    for (int i = 0; i < 11; ++i)
        (i % 2 == 0 ? c->Timer1 : c->Timer2)->tick();
    answerWith(*c, { yellow, blue, green, blue });
    QCOMPARE(c->Label2->text(), failure(3));
    click(c->Command7);
    QVERIFY(!c->Command1->isHidden() && c->Command3->isHidden());
    QTest::keyClicks(c->Text1, QStringLiteral("Gast"));
    click(c->Command9);

    // Another game with other settings and the help open; No to the closing question lets it go on.
    c->langsam->trigger();
    c->es30->trigger();
    startGame(fake, *c, { yellow, red });
    c->Timer1->tick();
    c->hilf->trigger();
    fake.dialogs.whileOpen = [c] { c->Timer2->tick(); };
    fake.dialogs.answers << platform::vbNo << platform::vbYes;
    c->kl->trigger();
    QCOMPARE(fake.dialogs.shown.value(0).buttons, int(platform::vbYesNo));
    QVERIFY(window->Visible() && c->Shape9->isVisible() && c->Shape4->isVisible());
    c->Timer1->tick();
    QVERIFY(c->Shape2->isVisible() && c->Shape4->isHidden());
    fake.dialogs.whileOpen = nullptr;
    c->kl->trigger();
    QVERIFY(!window->isLoaded() && registry.start().Visible() && fake.program.ended == 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Opened again: back at its load values, with the saved entry kept.
    const int seeded = fake.random.seeded;
    click(registry.start().controls().Command4);
    c = &window->controls();
    QCOMPARE(fake.random.seeded, seeded + 1);
    QCOMPARE(marks(*c) + ' ' + QString::number(c->Timer2->Interval()) + c->Label1->text(), "mittel 5 1500" + loadLine);
    QVERIFY(!c->Command1->isHidden() && c->Command2->isHidden() && c->Frame4->isHidden());
    // The stale ticks of the closed game show nothing in the new window.
    window->Timer1_Timer();
    window->Timer2_Timer();
    QVERIFY(c->Shape2->isHidden() && c->Shape9->isHidden() && !c->Timer1->Enabled() && !c->Timer2->Enabled());
    c->hilf->trigger();
    c->best->trigger();
    QCOMPARE(c->List1->count() ? c->List1->item(0)->text() : QString(), QStringLiteral(" 3  Punkte für  Gast"));
}

QTEST_MAIN(MemoryTest)

#include "tst_memory.moc"
