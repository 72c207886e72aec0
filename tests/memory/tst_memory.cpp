// SPDX-License-Identifier: GPL-3.0-or-later

#include "keyboard.h"
#include "memory/form2.h"
#include "platform/controls.h"
#include "platform/timer.h"
#include "program.h"

#include <QtWidgets>

using namespace memory;
using Phase = Game::Phase;

const QString success = QStringLiteral("Super, Sie haben alles behalten!");

// A game as a script: a number sets the count, '=' types the row's own count,
// 'S' starts, 't' shows one colour, 'A' the rest, 'g' 'r' 'b' 'y' click a colour,
// 'C' cancels, 'L' loads the window anew. The draws give
// red, green, blue, yellow, red, then green.
struct Rule
{
    QString script;
    Phase phase;
    QString shown {}; // the result on show, else the progress line; empty: neither
    int score = 0; // the result's, also after it is closed
    QString own {}; // the own count typed
};

Q_DECLARE_METATYPE(Rule)

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
    return names.sort(), names;
}

class MemoryTest : public QObject
{
    Q_OBJECT

private slots:
    void rules_data()
    {
        QTest::addColumn<Rule>("rule");
        QTest::newRow("ticks after a cancel") << Rule { "StCtt", Phase::Idle };
        QTest::newRow("progress kept to the next game") << Rule { "SArgCSt", Phase::Showing, "2 von 5 richtig" };
        QTest::newRow("reloaded with a result and progress") << Rule { "SArgrCSAgLt", Phase::Idle, {}, 2 };
        // A lowered count ends the phase at once; a raised one asks only for colours shown.
        QTest::newRow("raised while showing") << Rule { "Sttt10Argbyrggggg", Phase::Result, success, 10 };
        QTest::newRow("lowered while showing") << Rule { "10Sttttttt5Argbyr", Phase::Result, success, 5 };
        QTest::newRow("lowered below the clicks") << Rule { "10SArgbyrg5g", Phase::Result, success, 7 };
        QTest::newRow("raised while answering") << Rule { "SArg10byr", Phase::Result, success, 5 };
        // An own count is a whole number from 1 to 500; anything else gives 5 colours, with a word unless empty.
        // Blanks around it; then one click too many.
        QTest::newRow("own count 8") << Rule { "=SArgbyrgggr", Phase::Result, success, 8, " 8 " };
        QTest::newRow("own count 1") << Rule { "=SAr", Phase::Result, success, 1, "1" };
        // 500, the most a game holds
        QTest::newRow("own 500") << Rule { "=SArgbyr" + QString(495, 'g'), Phase::Result, success, 500, "500" };
        QTest::newRow("own count cancelled") << Rule { "40=SArgbyr", Phase::Result, success, 5 };
        for (const char *typed : { "0", "501", "2.5", "12 Farben", " ", "-3" })
            QTest::addRow("own count \"%s\"", typed) << Rule { "40=SArgbyr", Phase::Result, success, 5, typed };
    }

    void rules()
    {
        QFETCH(Rule, rule);
        FakeRandom random;
        random.values = { 0.25f, 0.0f, 0.5f, 0.75f, 0.25f };
        Game game { random };
        int count = 0;
        const QHash<QChar, std::function<void()>> steps { { 'S', [&] { game.start(); } },
            { 'C', [&] { game.cancel(); } }, { 'L', [&] { game.load(); } },
            { 't', [&] { game.nextstep(), game.endcolour(); } } };
        for (QChar step : rule.script + ' ') {
            if (count && !step.isDigit())
                game.choosecount(std::exchange(count, 0));
            count = step.isDigit() ? count * 10 + step.digitValue() : 0;
            if (const int colour = QStringLiteral(" grby").indexOf(step); colour > 0)
                game.answer(Colour(colour));
            while (step == 'A' && game.phase == Phase::Showing)
                steps['t']();
            steps.value(step, [] {})();
            if (step == '=')
                QCOMPARE(Game::refusesowncount(rule.own), !game.chooseowncount(rule.own) && rule.own != "");
        }
        // The phase, what is shown, the score, and whether anything of the show is left over.
        const QString shown = game.resultshown ? game.resultsentence : game.progressshown ? game.progress : "";
        QCOMPARE(std::tuple(
                     game.phase, shown, game.resultscore, game.wait != Game::Wait::none || game.square || game.blanked),
            std::tuple(rule.phase, rule.shown, rule.score, rule.phase == Phase::Showing));
    }

    // The whole window, by keyboard where a player can: Return starts; the keys 1 to 4 answer with the colours as they
    // stand, and with none while the colours are shown; in the name box Space is typed, Return saves, Escape cancels.
    void playedThroughTheWindow()
    {
        Program program;
        form2 *window = &program.open<form2>(TestWindow::Memory);
        const form2::Controls *c = &window->controls();
        QWidget *frame = window->frame();
        const auto onShow = [window] { return namesOn(window->client()->children()); };
        const auto marks = [window] { return namesOn(window->controls().es->findChildren<QAction *>()); };
        const auto keys = [frame](auto... keys) { (type(frame, keys), ...); };
        const auto click = [](auto... controls) { (QTest::mouseClick(controls, Qt::LeftButton), ...); };
        // Captions, and what a screen reader says: the colour buttons tell their keys.
        const QString design[] = { "Command11|alles klar, hab's schon kapiert",
            "Frame3|Sie haben eines der besten 10 Ergebnisse erreicht", "Command9|schon erledigt",
            "Command10|abbrechen", "Label5|Tragen Sie hier Ihren Namen ein", "Command8|ok", "Command7|OK",
            "Command3|GRÜN|Grün|Antwortet mit Grün (Taste 1)", "Command4|ROT|Rot|Antwortet mit Rot (Taste 2)",
            "Command5|BLAU|Blau|Antwortet mit Blau (Taste 3)", "Command6|GELB|Gelb|Antwortet mit Gelb (Taste 4)",
            "Command2|Abbrechen", "Command1|Dann lass uns mal anfangen", "Text1||Ihr Name", "List1||Bestenliste" };
        for (const QString &row : design) {
            const QStringList expected = (row + "|||").split('|').mid(0, 4);
            QWidget *control = window->client()->findChild<QWidget *>(expected[0]);
            QCOMPARE(QStringList({ control->property(control->inherits("QGroupBox") ? "title" : "text").toString(),
                         expected[2].isEmpty() ? "" : spoken(control).name, control->accessibleDescription() }),
                expected.mid(1));
        }
        QCOMPARE(menuKeys(window->frame()->menuBar()),
            QList<QStringList>({ { "Alt+E", "Alt+W", "Alt+B", "Alt+K", "Alt+V" }, { "Alt+E", "Alt+A" },
                { "Alt+S", "Alt+M", "Alt+L" }, { "Alt+5", "Alt+1", "Alt+2", "Alt+3", "Alt+4", "Alt+0", "Alt+W" } }));
        // Label1's ground; a square's corner in its colour.
        const QImage square = c->Shape4->grab().toImage();
        QCOMPARE(std::pair(window->client()->grab().toImage().pixelColor(1, 380), square.pixelColor(0, 0)),
            std::pair(QColor(255, 255, 192), square.pixelColor(square.rect().center())));

        // The largest float below 1 draws yellow: in single precision r * 4 + 1 would round up to 5.
        program.fake.random.values = { 0.99999994f, 0.0f, 0.25f, 0.74999994f, 0.5f };
        QCOMPARE(focusName(frame), "Command1");
        keys(Qt::Key_Return, Qt::Key_1);
        // Yellow, green, red, blue, blue.
        for (const char *square : { "Shape4", "Shape1", "Shape2", "Shape3", "Shape3" })
            QCOMPARE((QList<QStringList> { (c->Timer1->tick(), onShow()), (c->Timer2->tick(), onShow()) }),
                (QList<QStringList> { { "Command2", "Label1", square, "Timer2" },
                    { "Command2", "Label1", square, "Shape9", "Timer1" } }));
        c->Timer1->tick();
        const QStringList colours { "Command2", "Command3", "Command4", "Command5", "Command6" };
        // Tab goes from left to right.
        c->Command2->setFocus();
        const auto tab = [&] { return keys(Qt::Key_Tab), focusName(frame); };
        QCOMPARE(QStringList({ tab(), tab(), tab(), tab(), tab() }), colours.mid(1) << "Command2");
        keys(Qt::Key_4, Qt::Key_1, Qt::Key_2, Qt::Key_3);
        QCOMPARE(std::tuple(onShow(), c->Label3->text(), c->Label3->palette().color(QPalette::WindowText)),
            std::tuple(colours + QStringList { "Label1", "Label3", "Label4" }, "4 von 5 richtig", QColor(0, 192, 0)));
        keys(Qt::Key_1, Qt::Key_2); // green where blue was shown, then nothing after the result
        const QString fourRight = QStringLiteral("Das war leider ein Fehler, aber Sie haben 4 richtig");
        QCOMPARE(std::tuple(onShow(), c->Label2->text(), focusName(frame)),
            std::tuple(colours + QStringList { "Frame1", "Label1", "Label4" }, fourRight, "Command7"));
        // Recorded once.
        QCOMPARE(program.fake.history.recorded, QList({ platform::Outcome::memory(4, 5, 1500, fourRight) }));
        QVERIFY(c->Label2->font().bold() && c->Label3->font().bold() && c->Label4->font().bold());

        // Cancelled with the result on show, which stays; its OK while a new game runs hands over its score, the first
        // one listed.
        click(c->Command2);
        QCOMPARE(onShow(), (QStringList { "Command1", "Frame1", "Label1" })); // the colours gone, the result kept
        click(c->Command1);
        c->Timer1->tick();
        click(c->Command7);
        QCOMPARE(onShow(), (QStringList { "Command2", "Frame3", "Label1", "Shape1", "Timer2" }));
        // That game is lost before the name is confirmed, while nine better results fill the list: its 0 earns no
        // place, and the entry keeps its score.
        QFile best(program.fake.program.dir + "/best.lst");
        QVERIFY(best.open(QFile::WriteOnly) && best.write(QByteArray(" 3  Punkte f\xfcr  Gast\r\n").repeated(9)));
        best.close();
        for (int tick = 0; tick < 10; ++tick)
            (tick % 2 ? c->Timer1 : c->Timer2)->tick();
        click(c->Command4, c->Command7); // red where green was shown
        QCOMPARE(std::pair(onShow(), c->Command1->isEnabled()),
            std::pair(QStringList { "Command1", "Frame3", "Label1" }, false));
        click(c->Text1);
        keys(Qt::Key_E, Qt::Key_Space, Qt::Key_V, Qt::Key_Return);
        QVERIFY(best.open(QIODevice::ReadOnly));
        QCOMPARE(best.readAll(), " 4  Punkte f\xfcr  e v\r\n" + QByteArray(" 3  Punkte f\xfcr  Gast\r\n").repeated(9));
        window->askforname();
        keys(Qt::Key_Escape); // no game was started by the Return either
        QCOMPARE(std::pair(onShow(), c->Command1->isEnabled()), std::pair(QStringList { "Command1", "Label1" }, true));

        // The help and the list beneath it, each with its OK focused, each line of the list its own tooltip; Return
        // closes the one, then the other.
        type(frame, Qt::Key_W, Qt::AltModifier);
        QCOMPARE(focusName(frame), "Command11");
        type(frame, Qt::Key_B, Qt::AltModifier);
        QCOMPARE(std::tuple(onShow().filter("Frame"), window->client()->children().last()->objectName(),
                     focusName(frame), c->List1->item(0)->toolTip()),
            std::tuple(QStringList { "Frame2", "Frame4" }, "Frame4", "Command8", c->List1->item(0)->text()));
        keys(Qt::Key_Return, Qt::Key_Return);

        // Settings: marks, display time and line; an own count refused with a word.
        program.fake.dialogs.inputs = { "acht" };
        c->langsam->trigger();
        c->selbst->trigger();
        QCOMPARE(std::pair(marks(), program.fake.dialogs.shown.last().title),
            std::pair(QStringList { "es5", "langsam" }, QStringLiteral("Das geht leider nicht")));
        c->es30->trigger();
        QCOMPARE(marks(), (QStringList { "es30", "langsam" }));
        QCOMPARE(c->Label1->text(), " Einstellung: 30 Farben merken bei langsamer Geschwindigkeit.");

        // "Keine Lust mehr": No lets the game go on, Yes closes it; opened again the window starts afresh.
        program.fake.dialogs.answers = { platform::vbNo, platform::vbYes };
        c->kl->trigger();
        // Still open, the help and list panels closed.
        QCOMPARE(onShow().filter("Frame"), QStringList());
        c->kl->trigger();
        QVERIFY(!window->isLoaded() && program.start().Visible());
        program.open<form2>(TestWindow::Memory);
        // Seeded at each load.
        QCOMPARE(std::tuple(onShow(), marks(), window->controls().Label1->text(), program.fake.random.seeded),
            std::tuple(QStringList { "Command1", "Label1" }, QStringList { "es5", "mittel" },
                " Einstellung: 5 Farben merken bei mittlerer Geschwindigkeit.", 2));
        // A box about a missing list may see its window closed.
        QVERIFY(best.remove());
        program.fake.dialogs.whileOpen = [window] { window->frame()->close(); };
        type(window->frame(), Qt::Key_B, Qt::AltModifier);
        QVERIFY(!window->isLoaded() && program.fake.dialogs.shown.last().title == "Na sowas");
    }

    // Every tick arrives late on a fake clock: the k-th colour is still due at
    // 750 + (k - 1)(display + 750) ms after the start, counted from the start alone.
    void showKeepsToTheTimeline_data()
    {
        QTest::addColumn<int>("count"); // typed as the player's own count
        QTest::addColumn<int>("lateMs"); // how late every tick is handled
        QTest::addColumn<int>("displayMs"); // 750 fast, 2500 slow
        QTest::newRow("5 fast, 3 ms late") << 5 << 3 << 750;
        QTest::newRow("5 slow, 40 ms late") << 5 << 40 << 2500;
        QTest::newRow("500 fast, 1 ms late") << 500 << 1 << 750;
    }

    void showKeepsToTheTimeline()
    {
        QFETCH(int, count);
        QFETCH(int, lateMs);
        QFETCH(int, displayMs);
        constexpr qint64 ms = 1'000'000;
        qint64 now = 0;
        platform::Timer::setClock([&now] { return now; });
        const auto realClock = qScopeGuard([] { platform::Timer::setClock({}); });
        Program program;
        const form2::Controls &c = program.open<form2>(TestWindow::Memory).controls();
        program.fake.dialogs.inputs = { QString::number(count) };
        c.selbst->trigger();
        (displayMs == 750 ? c.schnell : c.langsam)->trigger();
        now = 1000 * ms; // the start click comes later than the load
        QTest::mouseClick(c.Command1, Qt::LeftButton);
        int shown = 0;
        while (c.Command3->isHidden()) {
            platform::Timer *due = c.Timer1->Enabled() ? c.Timer1 : c.Timer2;
            now = due->nextDue() + lateMs * ms;
            due->tick();
            if (due == c.Timer1 && c.Command3->isHidden())
                QCOMPARE(now / ms - 1000 - lateMs, 750 + shown++ * (displayMs + 750));
        }
        QCOMPARE(shown, count);
    }
};

QTEST_MAIN(MemoryTest)

#include "tst_memory.moc"
