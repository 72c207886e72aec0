#include "keyboard.h"
#include "memory/form2.h"
#include "platform/controls.h"
#include "platform/timer.h"
#include "program.h"

#include <QTest>
#include <QtWidgets>

using namespace memory;
using Phase = Game::Phase;

const QString success = QStringLiteral("Super, Sie haben alles behalten!");
const QString twoRight = QStringLiteral("Das war leider ein Fehler, aber Sie haben 2 richtig");

// A game as a script: a number sets the count, '=' types the row's own count,
// 'S' starts, 't' shows one colour, 'A' the rest, 'g' 'r' 'b' 'y' click a colour,
// 'C' cancels, 'O' closes the result, 'L' loads the window anew. The draws give
// red, green, blue, yellow, red, then green.
struct Rule
{
    QString script;
    Phase phase;
    QString sentence {}; // empty: no result on show
    int score = 0; // the last OK's, else the result's
    QString progress {}; // empty: the progress line hidden
    QString own {}; // the own count typed
};

// The names of what is on: controls not hidden, timers that run, menu items marked; sorted.
template <typename Object> QStringList namesOn(const QList<Object *> &objects)
{
    QStringList names;
    for (QObject *object : objects) {
        const auto *widget = qobject_cast<QWidget *>(object);
        const auto *timer = qobject_cast<platform::Timer *>(object);
        const auto *item = qobject_cast<QAction *>(object);
        if ((widget && !widget->isHidden()) || (timer && timer->Enabled()) || (item && item->isChecked()))
            names << object->objectName();
    }
    names.sort();
    return names;
}

Q_DECLARE_METATYPE(Rule)

class MemoryTest : public QObject
{
    Q_OBJECT

private slots:
    void rules_data();
    void rules();
    void playedThroughTheWindow_data();
    void playedThroughTheWindow();
    void keyboard();
    void accessibleNames();
    void mnemonics();
    void showKeepsToTheTimeline_data();
    void showKeepsToTheTimeline();
};

void MemoryTest::rules_data()
{
    QTest::addColumn<Rule>("rule");
    QTest::newRow("clicks after a failure") << Rule { "SArgry", Phase::Result, twoRight, 2 };
    QTest::newRow("ticks after a cancel") << Rule { "StCtt", Phase::Idle };
    QTest::newRow("progress kept to the next game") << Rule { "SArgCSt", Phase::Showing, {}, 0, "2 von 5 richtig" };
    QTest::newRow("its OK while a new game runs") << Rule { "SArgrCStO", Phase::Showing, {}, 2 };
    QTest::newRow("reloaded with a result and progress") << Rule { "SArgrCSAgLt", Phase::Idle, {}, 2 };
    // A lowered count ends the phase at once; a raised one asks only for colours shown.
    QTest::newRow("raised while showing") << Rule { "Sttt10Argbyrggggg", Phase::Result, success, 10 };
    QTest::newRow("lowered while showing") << Rule { "10Sttttttt5Argbyr", Phase::Result, success, 5 };
    QTest::newRow("lowered below the clicks") << Rule { "10SArgbyrg5g", Phase::Result, success, 7 };
    QTest::newRow("raised while answering") << Rule { "SArg10byr", Phase::Result, success, 5 };
    // An own count is a whole number from 1 to 500; anything else gives 5 colours, with a word unless empty.
    // Blanks around it; then one click too many.
    QTest::newRow("own count 8") << Rule { "=SArgbyrgggr", Phase::Result, success, 8, {}, " 8 " };
    QTest::newRow("own count 1") << Rule { "=SAr", Phase::Result, success, 1, {}, "1" };
    // 500, the most a game holds
    QTest::newRow("own count 500") << Rule { "=SArgbyr" + QString(495, 'g'), Phase::Result, success, 500, {}, "500" };
    QTest::newRow("own count cancelled") << Rule { "40=SArgbyr", Phase::Result, success, 5 };
    for (const char *typed : { "0", "501", "2.5", "12 Farben", " ", "-3" })
        QTest::addRow("own count \"%s\"", typed) << Rule { "40=SArgbyr", Phase::Result, success, 5, {}, typed };
}

void MemoryTest::rules()
{
    QFETCH(Rule, rule);
    FakeRandom random;
    random.values = { 0.25f, 0.0f, 0.5f, 0.75f, 0.25f };
    Game game { random };
    int handed = -1, count = 0;
    const QHash<QChar, std::function<void()>> steps { { 'S', [&] { game.start(); } }, { 'C', [&] { game.cancel(); } },
        { 'L', [&] { game.load(); } }, { 'O', [&] { handed = game.closeresult().value_or(-1); } },
        { 't', [&] { game.nextstep(), game.endcolour(); } },
        { '=', [&] { QCOMPARE(Game::refusesowncount(rule.own), !game.chooseowncount(rule.own) && rule.own != ""); } } };
    for (QChar step : rule.script + ' ') {
        if (count && !step.isDigit())
            game.choosecount(std::exchange(count, 0));
        count = step.isDigit() ? count * 10 + step.digitValue() : 0;
        if (const int colour = QStringLiteral(" grby").indexOf(step); colour > 0)
            game.answer(Colour(colour));
        while (step == 'A' && game.phase == Phase::Showing)
            steps['t']();
        steps.value(step, [] {})();
    }
    QCOMPARE(game.phase, rule.phase);
    QCOMPARE(game.resultshown ? game.resultsentence : QString(), rule.sentence);
    QCOMPARE(rule.script.contains('O') ? handed : game.resultscore, rule.score);
    QCOMPARE(game.progressshown ? game.progress : QString(), rule.progress);
    QCOMPARE(game.wait != Game::Wait::none || game.square || game.blanked, rule.phase == Phase::Showing);
}

void MemoryTest::playedThroughTheWindow_data()
{
    QTest::addColumn<bool>("namePanel"); // no list yet, or a full list of better results
    QTest::newRow("no list yet") << true;
    QTest::newRow("2 earns no place") << false;
}

void MemoryTest::playedThroughTheWindow()
{
    QFETCH(bool, namePanel);
    Program program;
    form2 &window = program.open<form2>(TestWindow::Memory);
    const form2::Controls *c = &window.controls();
    const auto onShow = [&window] { return namesOn(window.client()->children()); };
    const auto marks = [&window] { return namesOn(window.controls().es->findChildren<QAction *>()); };
    // The design: names, places in twips, captions.
    const QString design[] = { "Frame4 720 360 5895 2655",
        "Command11 1200 2160 3255 375 alles klar, hab's schon kapiert", "Label7 240 240 5535 1815 " + form2::helpText,
        "Label6 240 240 5535 1815", "Frame3 2280 1560 3855 1695 Sie haben eines der besten 10 Ergebnisse erreicht",
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
    for (const QString &row : design) {
        const QStringList f = row.split(' ');
        const QWidget *control = window.client()->findChild<QWidget *>(f[0]);
        QCOMPARE(control->geometry(), platform::twipsRect(f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt()));
        QCOMPARE(control->property(control->inherits("QGroupBox") ? "title" : "text").toString(), f.mid(5).join(' '));
    }
    QCOMPARE(form2::helpText.section("wiederholen.", 1).indexOf('U'), 70); // the second sentence on a line of its own
    QCOMPARE(window.client()->grab().toImage().pixelColor(1, 380), QColor(255, 255, 192)); // Label1's ground
    QFile best(program.fake.program.dir + "/best.lst");
    QVERIFY(namePanel
        || (best.open(QFile::WriteOnly) && best.write(QByteArray(" 3  Punkte f\xfcr  Gast\r\n").repeated(9))));
    best.close();

    // The largest float below 1 draws yellow: in single precision r * 4 + 1 would round up to 5.
    program.fake.random.values = { 0.99999994f, 0.0f, 0.25f, 0.74999994f, 0.5f };
    QTest::mouseClick(c->Command1, Qt::LeftButton);
    for (const char *square : { "Shape4", "Shape1", "Shape2", "Shape3", "Shape3" }) { // yellow, green, red, blue, blue
        c->Timer1->tick();
        QCOMPARE(onShow(), (QStringList { "Command2", "Label1", square, "Timer2" }));
        c->Timer2->tick();
        QCOMPARE(onShow(), (QStringList { "Command2", "Label1", square, "Shape9", "Timer1" }));
    }
    c->Timer1->tick();
    const QStringList colourButtons { "Command2", "Command3", "Command4", "Command5", "Command6" };
    QCOMPARE(onShow(), (colourButtons + QStringList { "Label1", "Label4" }));
    QTest::mouseClick(c->Command6, Qt::LeftButton);
    QTest::mouseClick(c->Command3, Qt::LeftButton);
    QCOMPARE(onShow(), (colourButtons + QStringList { "Label1", "Label3", "Label4" }));
    QCOMPARE(c->Label3->text(), "2 von 5 richtig");
    QCOMPARE(c->Label3->palette().color(QPalette::WindowText), QColor(0, 192, 0));
    QTest::mouseClick(c->Command5, Qt::LeftButton); // blue where red was shown
    QTest::mouseClick(c->Command4, Qt::LeftButton); // after the result: nothing
    QCOMPARE(onShow(), (colourButtons + QStringList { "Frame1", "Label1", "Label4" }));
    QCOMPARE(c->Label2->text(), twoRight);
    QCOMPARE(program.fake.history.recorded, QList({ platform::Outcome::memory(2, 5, 1500, twoRight) })); // once
    QVERIFY(c->Label2->font().bold() && c->Label3->font().bold() && c->Label4->font().bold());

    // Cancelled with the result on show; its OK while a new game runs hands over its score.
    QTest::mouseClick(c->Command2, Qt::LeftButton);
    QCOMPARE(onShow(), (QStringList { "Command1", "Frame1", "Label1" }));
    QTest::mouseClick(c->Command1, Qt::LeftButton);
    c->Timer1->tick();
    QTest::mouseClick(c->Command7, Qt::LeftButton);
    const QStringList newGame { "Command2", "Label1", "Shape1", "Timer2" };
    QCOMPARE(onShow(), (namePanel ? QStringList { "Command2", "Frame3", "Label1", "Shape1", "Timer2" } : newGame));
    if (namePanel) { // that game is lost before the name is confirmed: the entry keeps its score
        for (int tick = 0; tick < 10; ++tick)
            (tick % 2 ? c->Timer1 : c->Timer2)->tick();
        QTest::mouseClick(c->Command4, Qt::LeftButton);
        QTest::keyClicks(c->Text1, QStringLiteral("Jan"));
        QVERIFY(QDir().mkdir(best.fileName())); // a folder in the list's place: the save fails
        QTest::mouseClick(c->Command9, Qt::LeftButton); // and is given up: the panel closes, nothing written
        QVERIFY(QDir().rmdir(best.fileName()) && c->Frame3->isHidden() && !best.exists());
        QTest::mouseClick(c->Command7, Qt::LeftButton); // 0 earns a place on a list this short
        QCOMPARE(onShow(), (QStringList { "Command1", "Frame3", "Label1" }));
        QTest::mouseClick(c->Command1, Qt::LeftButton); // no new game under the open panel
        QCOMPARE(std::pair(onShow(), c->Command1->isEnabled()),
            std::pair(QStringList { "Command1", "Frame3", "Label1" }, false));
        QTest::mouseClick(c->Command9, Qt::LeftButton);
        QVERIFY(best.open(QIODevice::ReadOnly) && best.readAll() == " 0  Punkte f\xfcr  Jan\r\n");
        QVERIFY(c->Command1->isEnabled());
    }
    c->best->trigger();
    c->hilf->trigger();
    QCOMPARE(onShow().filter("Frame"), (QStringList { "Frame2", "Frame4" }));
    QCOMPARE(window.client()->children().last()->objectName(), "Frame4"); // the help above the list
    QTest::mouseClick(c->Command11, Qt::LeftButton);
    QTest::mouseClick(c->Command8, Qt::LeftButton);

    // Settings: marks, display time and line; an own count, and one refused with a word.
    program.fake.dialogs.inputs = { "8", "acht" };
    c->langsam->trigger();
    c->selbst->trigger();
    QCOMPARE(marks(), (QStringList { "langsam", "selbst" }));
    c->selbst->trigger();
    QCOMPARE(marks(), (QStringList { "es5", "langsam" }));
    QCOMPARE(program.fake.dialogs.shown.last().title, "Das geht leider nicht");
    c->es30->trigger();
    QCOMPARE(marks(), (QStringList { "es30", "langsam" }));
    QCOMPARE(c->Label1->text(), " Einstellung: 30 Farben merken bei langsamer Geschwindigkeit.");
    QCOMPARE(c->Timer2->Interval(), 2500);

    // "Keine Lust mehr": No lets the game go on, Yes closes it; opened again the window starts afresh.
    program.fake.dialogs.answers = { platform::vbNo, platform::vbYes };
    c->kl->trigger();
    QCOMPARE(onShow().filter("Frame"), QStringList()); // still open, the help and list panels closed
    c->kl->trigger();
    QVERIFY(!window.isLoaded() && program.start().Visible());
    program.open<form2>(TestWindow::Memory);
    window.Timer1_Timer(); // the closed game's ticks show nothing
    window.Timer2_Timer();
    QCOMPARE(onShow(), (QStringList { "Command1", "Label1" }));
    QCOMPARE(marks(), (QStringList { "es5", "mittel" }));
    QCOMPARE(program.fake.random.seeded, 2); // at each load
}

// By keyboard alone: a box about a missing list may see its window closed; Return starts; Tab goes from left to
// right; the keys 1 to 4 answer with the colours as they stand, and with none while the colours are shown; Return
// takes the result; in the name box Space is typed and Return saves; Escape cancels the panel. Alt+B shows the list
// with its OK focused and its line as its own tooltip.
void MemoryTest::keyboard()
{
    Program program;
    form2 *window = &program.open<form2>(TestWindow::Memory);
    program.fake.dialogs.whileOpen = [window] { window->frame()->close(); };
    type(window->frame(), Qt::Key_B, Qt::AltModifier);
    QVERIFY(!window->isLoaded() && program.fake.dialogs.shown.size() == 1);
    program.fake.dialogs.whileOpen = nullptr;
    window = &program.open<form2>(TestWindow::Memory);
    const form2::Controls *c = &window->controls();
    QWidget *frame = window->frame();
    const auto onShow = [window] { return namesOn(window->client()->children()); };

    program.fake.random.values = { 0.0f, 0.25f, 0.5f, 0.75f, 0.0f }; // green, red, blue, yellow, green
    QCOMPARE(focusName(frame), "Command1");
    type(frame, Qt::Key_Return);
    type(frame, Qt::Key_1);
    for (int tick = 0; tick < 11; ++tick)
        (tick % 2 ? c->Timer2 : c->Timer1)->tick();
    QCOMPARE(c->Label3->isHidden(), true); // the 1 above answered nothing
    c->Command2->setFocus();
    QStringList tabs;
    for (int tab = 0; tab < 5; ++tab)
        tabs << (type(frame, Qt::Key_Tab), focusName(frame));
    QCOMPARE(tabs, QStringList({ "Command3", "Command4", "Command5", "Command6", "Command2" }));
    for (Qt::Key key : { Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_1 })
        type(frame, key);
    QCOMPARE(std::pair(c->Label2->text(), focusName(frame)),
        std::pair(QStringLiteral("Super, Sie haben alles behalten!"), QStringLiteral("Command7")));
    type(frame, Qt::Key_Return);
    QCOMPARE(std::pair(onShow(), focusName(frame)),
        std::pair(QStringList({ "Command1", "Frame3", "Label1" }), QStringLiteral("Text1")));
    for (Qt::Key key : { Qt::Key_E, Qt::Key_Space, Qt::Key_V, Qt::Key_Return })
        type(frame, key);
    QFile best(program.fake.program.dir + "/best.lst");
    QVERIFY(best.open(QIODevice::ReadOnly));
    QCOMPARE(best.readAll(), " 5  Punkte f\xfcr  e v\r\n");
    QCOMPARE(onShow(), (QStringList { "Command1", "Label1" })); // saved, and no game started by the Return
    window->askforname();
    type(frame, Qt::Key_Escape);
    QCOMPARE(onShow(), (QStringList { "Command1", "Label1" }));

    type(frame, Qt::Key_B, Qt::AltModifier);
    QCOMPARE(std::tuple(onShow(), focusName(frame), c->List1->item(0)->toolTip()),
        std::tuple(QStringList({ "Command1", "Frame2", "Label1" }), QStringLiteral("Command8"),
            QStringLiteral(" 5  Punkte für  e v")));
    type(frame, Qt::Key_Return);
    QCOMPARE(onShow(), (QStringList { "Command1", "Label1" }));
}

// What a screen reader says of the controls a player uses; the colour buttons tell their keys.
void MemoryTest::accessibleNames()
{
    Program program;
    const form2::Controls &c = program.open<form2>(TestWindow::Memory).controls();
    QCOMPARE(QList({ spoken(c.Command3), spoken(c.Command4), spoken(c.Command5), spoken(c.Command6), spoken(c.Text1),
                 spoken(c.List1), spoken(c.Command1) }),
        QList<Spoken>({ { "Grün", QAccessible::Button }, { "Rot", QAccessible::Button },
            { "Blau", QAccessible::Button }, { "Gelb", QAccessible::Button }, { "Ihr Name", QAccessible::EditableText },
            { "Bestenliste", QAccessible::List }, { "Dann lass uns mal anfangen", QAccessible::Button } }));
    QCOMPARE(QAccessible::queryAccessibleInterface(c.Command6)->text(QAccessible::Description),
        QStringLiteral("Antwortet mit Gelb (Taste 4)"));
}

// Each title of the menu bar and each item of a menu has an Alt letter of its own.
void MemoryTest::mnemonics()
{
    Program program;
    const QList<QStringList> keys = menuKeys(program.open<form2>(TestWindow::Memory).frame()->menuBar());
    QCOMPARE(keys,
        QList<QStringList>({ { "Alt+E", "Alt+W", "Alt+B", "Alt+K", "Alt+V" }, { "Alt+E", "Alt+A" },
            { "Alt+S", "Alt+M", "Alt+L" }, { "Alt+5", "Alt+1", "Alt+2", "Alt+3", "Alt+4", "Alt+0", "Alt+W" } }));
    QCOMPARE(clashes(keys), QStringList());
}

// Every tick arrives late on a fake clock: the k-th colour is still due at
// 750 + (k - 1)(display + 750) ms after the start, counted from the start alone.
void MemoryTest::showKeepsToTheTimeline_data()
{
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QString>("count"); // typed as the player's own count
    QTest::addColumn<qint64>("lateMs"); // how late every tick is handled
    QTest::addColumn<qint64>("displayMs");
    QTest::newRow("5 fast, 3 ms late") << "schnell"
                                       << "5" << qint64(3) << qint64(750);
    QTest::newRow("5 slow, 40 ms late") << "langsam"
                                        << "5" << qint64(40) << qint64(2500);
    QTest::newRow("500 fast, 1 ms late") << "schnell"
                                         << "500" << qint64(1) << qint64(750);
}

void MemoryTest::showKeepsToTheTimeline()
{
    QFETCH(QString, speed);
    QFETCH(QString, count);
    QFETCH(qint64, lateMs);
    QFETCH(qint64, displayMs);
    constexpr qint64 ms = 1'000'000;
    qint64 now = 0;
    platform::Timer::setClock([&now] { return now; });
    const auto realClock = qScopeGuard([] { platform::Timer::setClock({}); });
    Program program;
    form2 &window = program.open<form2>(TestWindow::Memory);
    const form2::Controls &c = window.controls();
    program.fake.dialogs.inputs = { count };
    c.selbst->trigger();
    (speed == "schnell" ? c.schnell : c.langsam)->trigger();
    now = 1000 * ms; // the start click comes later than the load
    QTest::mouseClick(c.Command1, Qt::LeftButton);
    QList<qint64> onsets, expected;
    while (c.Command3->isHidden()) {
        platform::Timer *due = c.Timer1->Enabled() ? c.Timer1 : c.Timer2;
        now = due->nextDue() + lateMs * ms;
        const bool colour = due == c.Timer1;
        due->tick();
        if (colour && c.Command3->isHidden())
            onsets << (now - 1000 * ms) / ms - lateMs;
    }
    for (int k = 1; k <= count.toInt(); ++k)
        expected << 750 + (k - 1) * (displayMs + 750);
    QCOMPARE(onsets, expected);
}

QTEST_MAIN(MemoryTest)

#include "tst_memory.moc"
