#include "fakeservices.h"
#include "platform/controls.h"
#include "platform/timer.h"
#include "shell/registry.h"
#include "shell/start.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using platform::twipsRect;

namespace {

QPushButton *button(const Start::Controls &c, const QString &name)
{
    const std::pair<const char *, QPushButton *> buttons[] = {
        { "Command1", c.Command1 },
        { "Command2", c.Command2 },
        { "Command3", c.Command3 },
        { "Command4", c.Command4 },
        { "Command5", c.Command5 },
    };
    for (const auto &[buttonName, widget] : buttons) {
        if (name == QLatin1String(buttonName))
            return widget;
    }
    return nullptr;
}

bool textFits(const QLabel *label)
{
    const QRect box = label->contentsRect();
    const QRect needed
        = QFontMetrics(label->font()).boundingRect(box, Qt::TextWordWrap | label->alignment(), label->text());
    return box.contains(needed);
}

QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

// One program's worth of windows on fake services; Start shown as at program start.
struct Program
{
    FakeServices fake;
    WindowRegistry registry { fake.services };
    Start &start = registry.start();

    Program()
    {
        fake.program.onShowStart = [this] { start.setVisible(true); };
        start.setVisible(true);
    }
    const Start::Controls &c() const { return start.controls(); }
    bool touchedNothingOutside() const
    {
        return fake.program.ended == 0 && fake.desktop.opened.isEmpty() && fake.dialogs.shown.isEmpty();
    }
};

} // namespace

class tst_shell : public QObject
{
    Q_OBJECT

private slots:
    void windowHasDesignCaptionAndSize();
    void buttonsHaveDesignTextsAndPlaces_data();
    void buttonsHaveDesignTextsAndPlaces();
    void labelsHaveDesignTextsAndLooks();
    void infoMenuHasOneInertEntry();
    void colourTimerRunsEveryTwoSeconds();

    void colourCycle_data();
    void colourCycle();
    void colourCycleGoesOnWhileHidden();
    void colourCycleContinuesAcrossReload();

    void linkLabelOpensHomepage();
    void beendenEndsAtOnce();
    void testButtonSwitchesToItsWindow_data();
    void testButtonSwitchesToItsWindow();
    void closeBoxEndsProgram();
};

void tst_shell::windowHasDesignCaptionAndSize()
{
    Program program;
    QVERIFY(program.start.Visible());
    QCOMPARE(program.start.frame()->windowTitle(), QStringLiteral("Korvane"));
    QCOMPARE(program.start.client()->size(), QSize(403, 233));
    QVERIFY(program.touchedNothingOutside());
}

void tst_shell::buttonsHaveDesignTextsAndPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QRect>("pixels");
    // A column at 120 twips, 1695 x 495 each, 600 twips apart: x 8, 113 x 33 pixels.
    QTest::newRow("Command2") << "Command2" << QStringLiteral("Reaktionstest")
                              << QStringLiteral("Testen Sie Ihre Reaktion") << QRect(8, 16, 113, 33);
    QTest::newRow("Command4") << "Command4" << QStringLiteral("Gedächtnistrainning")
                              << QStringLiteral("Hier müssen Sie sich Farben merken.") << QRect(8, 56, 113, 33);
    QTest::newRow("Command3") << "Command3" << QStringLiteral("Geschicklichkeit")
                              << QStringLiteral("So was ähnliches wie der heisse Draht") << QRect(8, 96, 113, 33);
    QTest::newRow("Command1") << "Command1" << QStringLiteral("Kopfrechnen")
                              << QStringLiteral("Hier wird fleißig multipliziert.") << QRect(8, 136, 113, 33);
    QTest::newRow("Command5") << "Command5" << QStringLiteral("beenden")
                              << QStringLiteral("Sie wollen doch nicht etwa...") << QRect(8, 176, 113, 33);
}

void tst_shell::buttonsHaveDesignTextsAndPlaces()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(QRect, pixels);
    Program program;
    QPushButton *widget = button(program.c(), name);
    QVERIFY(widget);
    QCOMPARE(widget->text(), text);
    QCOMPARE(widget->toolTip(), toolTip);
    QCOMPARE(widget->geometry(), pixels);
    // The whole caption shows, in the size all five share.
    QVERIFY(QFontMetrics(widget->font()).horizontalAdvance(text) < widget->width());
    QCOMPARE(widget->font(), program.c().Command5->font());
    QVERIFY(widget->isVisibleTo(program.start.client()));
    QVERIFY(widget->isEnabled());
}

void tst_shell::labelsHaveDesignTextsAndLooks()
{
    Program program;
    const QLabel *advert = program.c().Label5;
    QVERIFY(advert->text().startsWith(QStringLiteral("Schauen Sie einfach mal auf meiner Homepage vorbei, ")));
    QVERIFY(advert->text().endsWith(QStringLiteral("mit dem wohl kein Kreuzworträtsel mehr ungelöst bleibt.")));
    QVERIFY(advert->text().contains(QStringLiteral("Programme. Auserdem finden Sie hier ein Rätsellexikon, ")));
    QCOMPARE(advert->geometry(), QRect(136, 16, 265, 145));
    QCOMPARE(textColour(advert), QColor(0, 0, 255));
    QVERIFY(advert->font().bold());
    QVERIFY(advert->font().pointSizeF() <= 12.0); // smaller only where the face is too wide
    QVERIFY(advert->font().pointSizeF() >= 10.0);
    QVERIFY(textFits(advert));
    QVERIFY(advert->wordWrap());
    QVERIFY(advert->toolTip().isEmpty());

    const QLabel *link = program.c().Label1;
    QCOMPARE(link->text(), Start::homepage);
    QCOMPARE(link->geometry(), QRect(136, 176, 233, 25));
    QVERIFY(link->font().bold());
    QCOMPARE(link->font().pointSizeF(), 13.5);
    QVERIFY(textFits(link));
    QVERIFY(link->toolTip().isEmpty());
}

void tst_shell::infoMenuHasOneInertEntry()
{
    Program program;
    const QList<QAction *> titles = program.start.frame()->menuBar()->actions();
    QCOMPARE(titles.size(), 1);
    QCOMPARE(titles.first()->text(), QStringLiteral("Info"));
    QMenu *info = titles.first()->menu();
    QVERIFY(info);
    QCOMPARE(info->actions(), QList<QAction *> { program.c().free });
    QVERIFY(!program.c().free->text().isEmpty());

    program.c().free->trigger();
    QVERIFY(program.start.Visible());
    QVERIFY(program.touchedNothingOutside());
}

void tst_shell::colourTimerRunsEveryTwoSeconds()
{
    Program program;
    QCOMPARE(program.c().Timer1->Interval(), 2000);
    QVERIFY(program.c().Timer1->Enabled());
}

void tst_shell::colourCycle_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("step");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("1 red") << 1 << 1 << QColor(255, 0, 0);
    QTest::newRow("2 green") << 2 << 2 << QColor(0, 255, 0);
    QTest::newRow("3 blue") << 3 << 3 << QColor(0, 0, 255);
    QTest::newRow("4 yellow") << 4 << 4 << QColor(255, 255, 0);
    QTest::newRow("5 magenta") << 5 << 5 << QColor(255, 0, 255);
    QTest::newRow("6 cyan") << 6 << 6 << QColor(0, 255, 255);
    QTest::newRow("7 white, step wraps") << 7 << 0 << QColor(255, 255, 255);
    QTest::newRow("8 red again") << 8 << 1 << QColor(255, 0, 0);
    QTest::newRow("14 white, second wrap") << 14 << 0 << QColor(255, 255, 255);
    QTest::newRow("16 green") << 16 << 2 << QColor(0, 255, 0);
}

void tst_shell::colourCycle()
{
    QFETCH(int, ticks);
    QFETCH(int, step);
    QFETCH(QColor, colour);
    Program program;
    QCOMPARE(program.start.colourstep, short(0));

    for (int tick = 0; tick < ticks; ++tick)
        program.c().Timer1->tick();
    QCOMPARE(int(program.start.colourstep), step);
    QCOMPARE(QColor(program.start.red, program.start.green, program.start.blue), colour);
    QCOMPARE(textColour(program.c().Label1), colour);
}

void tst_shell::colourCycleGoesOnWhileHidden()
{
    Program program;
    program.start.setVisible(false);
    program.start.Timer1_Timer();
    program.start.Timer1_Timer();
    QVERIFY(program.start.isLoaded());
    QCOMPARE(textColour(program.c().Label1), QColor(0, 255, 0));

    program.start.setVisible(true);
    QCOMPARE(textColour(program.c().Label1), QColor(0, 255, 0));
}

void tst_shell::colourCycleContinuesAcrossReload()
{
    Program program;
    const QColor design = textColour(program.c().Label1);
    QVERIFY(design != QColor(0, 0, 255));
    for (int tick = 0; tick < 3; ++tick)
        program.start.Timer1_Timer();
    QCOMPARE(textColour(program.c().Label1), QColor(0, 0, 255));

    // As when a test window takes over and later shows Start again.
    program.start.unload();
    program.fake.program.showStart();
    QVERIFY(program.start.Visible());
    QCOMPARE(textColour(program.c().Label1), design);
    QCOMPARE(program.start.colourstep, short(3));
    QVERIFY(program.c().Timer1->Enabled());

    program.c().Timer1->tick();
    QCOMPARE(program.start.colourstep, short(4));
    QCOMPARE(textColour(program.c().Label1), QColor(255, 255, 0));
}

void tst_shell::linkLabelOpensHomepage()
{
    Program program;
    program.start.Timer1_Timer();
    const QString before = program.c().Label1->text();

    QTest::mouseClick(program.c().Label1, Qt::LeftButton);
    QCOMPARE(program.fake.desktop.opened, QStringList { Start::homepage });
    QVERIFY(program.start.Visible());
    QCOMPARE(program.c().Label1->text(), before);
    QCOMPARE(textColour(program.c().Label1), QColor(255, 0, 0));
    QCOMPARE(program.start.colourstep, short(1));
    QCOMPARE(program.fake.program.ended, 0);

    // A press that is dragged off the label before release is no click.
    QTest::mousePress(program.c().Label1, Qt::LeftButton);
    QTest::mouseRelease(program.c().Label1, Qt::LeftButton, {}, QPoint(-5, -5));
    QCOMPARE(program.fake.desktop.opened.size(), 1);
}

void tst_shell::beendenEndsAtOnce()
{
    Program program;
    int unloads = 0;
    program.start.onUnloaded([&] { ++unloads; });

    QTest::mouseClick(program.c().Command5, Qt::LeftButton);
    QCOMPARE(program.fake.program.ended, 1);
    QCOMPARE(unloads, 0); // End runs no unload steps
    QVERIFY(program.start.isLoaded());
    QVERIFY(program.fake.dialogs.shown.isEmpty());
    QVERIFY(program.fake.desktop.opened.isEmpty());
    QCOMPARE(program.fake.program.startShown, 0);
}

void tst_shell::testButtonSwitchesToItsWindow_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<TestWindow>("which");
    QTest::addColumn<bool>("startStaysLoaded");
    QTest::newRow("Reaktionstest") << "Command2" << TestWindow::Reaction << true;
    QTest::newRow("Gedächtnistrainning") << "Command4" << TestWindow::Memory << false;
    QTest::newRow("Geschicklichkeit") << "Command3" << TestWindow::Dexterity << false;
    QTest::newRow("Kopfrechnen") << "Command1" << TestWindow::Arithmetic << false;
}

void tst_shell::testButtonSwitchesToItsWindow()
{
    QFETCH(QString, name);
    QFETCH(TestWindow, which);
    QFETCH(bool, startStaysLoaded);
    Program program;

    QTest::mouseClick(button(program.c(), name), Qt::LeftButton);
    QCOMPARE(program.fake.program.ended, 0);
    if (!program.registry.exists(which)) {
        // A test window that is not built yet: the button does nothing.
        QVERIFY(program.start.Visible());
        QVERIFY(program.registry.test(which) == nullptr);
        return;
    }
    platform::Window *window = program.registry.test(which);
    QVERIFY(window);
    QVERIFY(window->Visible());
    QVERIFY(!program.start.Visible());
    QCOMPARE(program.start.isLoaded(), startStaysLoaded);
}

void tst_shell::closeBoxEndsProgram()
{
    Program program;
    program.start.frame()->close();
    QVERIFY(!program.start.isLoaded());
    QCOMPARE(program.fake.program.ended, 1);
    QVERIFY(program.fake.dialogs.shown.isEmpty());
}

QTEST_MAIN(tst_shell)
#include "tst_shell.moc"
