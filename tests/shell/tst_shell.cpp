#include "fakeservices.h"
#include "platform/timer.h"
#include "shell/registry.h"
#include "shell/start.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

QColor textColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
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
    // The control of Start that shows this caption, as the user finds it.
    QWidget *captioned(const QString &caption) const
    {
        for (QWidget *widget : start.client()->findChildren<QWidget *>()) {
            if (widget->property("text").toString() == caption)
                return widget;
        }
        return nullptr;
    }
};

} // namespace

class tst_shell : public QObject
{
    Q_OBJECT

private slots:
    void buttonsHaveDesignTipsAndPlacesAndShowTheirCaptions_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<int>("row"); // a column at 120 twips, 1695 x 495 each, 600 twips apart
        QTest::newRow("Command2") << "Reaktionstest" << QStringLiteral("Testen Sie Ihre Reaktion") << 0;
        QTest::newRow("Command4") << "Gedächtnistrainning" << QStringLiteral("Hier müssen Sie sich Farben merken.")
                                  << 1;
        QTest::newRow("Command3") << "Geschicklichkeit" << QStringLiteral("So was ähnliches wie der heisse Draht") << 2;
        QTest::newRow("Command1") << "Kopfrechnen" << QStringLiteral("Hier wird fleißig multipliziert.") << 3;
        QTest::newRow("Command5") << "beenden" << QStringLiteral("Sie wollen doch nicht etwa...") << 4;
    }
    void buttonsHaveDesignTipsAndPlacesAndShowTheirCaptions()
    {
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        QFETCH(int, row);
        Program program;
        const QWidget *button = program.captioned(caption);
        QVERIFY(button);
        QCOMPARE(button->toolTip(), toolTip);
        QCOMPARE(button->geometry(), QRect(8, 16 + 40 * row, 113, 33));
        QVERIFY(QFontMetrics(button->font()).horizontalAdvance(caption) < button->width());
        QCOMPARE(button->font(), program.c().Command5->font()); // all five share one size
    }

    void advertAndLinkShowTheirWholeText()
    {
        Program program;
        for (const QLabel *label : { program.c().Label5, program.c().Label1 }) {
            const QRect box = label->contentsRect();
            const int flags = Qt::TextWordWrap | label->alignment();
            QVERIFY(box.contains(QFontMetrics(label->font()).boundingRect(box, flags, label->text())));
        }
    }

    void colourCycleWrapsAfterWhite_data()
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
    }
    void colourCycleWrapsAfterWhite()
    {
        QFETCH(int, ticks);
        QFETCH(int, step);
        QFETCH(QColor, colour);
        Program program;
        for (int tick = 0; tick < ticks; ++tick)
            program.c().Timer1->tick();
        QCOMPARE(int(program.start.colourstep), step);
        QCOMPARE(textColour(program.c().Label1), colour);
    }

    void colourCycleGoesOnWhileHiddenAndAcrossReload()
    {
        Program program;
        const QColor design = textColour(program.c().Label1);
        program.start.setVisible(false); // as while the reaction test runs
        program.c().Timer1->tick();
        program.c().Timer1->tick();
        program.start.setVisible(true);
        program.c().Timer1->tick();
        QCOMPARE(textColour(program.c().Label1), QColor(0, 0, 255));

        // As when another test window takes over and later shows Start again.
        program.start.unload();
        program.fake.program.showStart();
        QCOMPARE(textColour(program.c().Label1), design);
        QCOMPARE(program.c().Timer1->Interval(), 2000);
        QVERIFY(program.c().Timer1->Enabled());
        program.c().Timer1->tick();
        QCOMPARE(program.start.colourstep, short(4));
        QCOMPARE(textColour(program.c().Label1), QColor(255, 255, 0));
    }

    void linkClickOpensHomepageAndChangesNothing()
    {
        Program program;
        program.c().Timer1->tick();
        QTest::mouseClick(program.c().Label1, Qt::LeftButton);
        QCOMPARE(program.fake.desktop.opened, QStringList { Start::homepage });
        QVERIFY(program.start.Visible());
        QCOMPARE(textColour(program.c().Label1), QColor(255, 0, 0));
        QCOMPARE(program.start.colourstep, short(1));
        QCOMPARE(program.fake.program.ended, 0);

        // A press that is dragged off the label before release is no click.
        QTest::mousePress(program.c().Label1, Qt::LeftButton);
        QTest::mouseRelease(program.c().Label1, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(program.fake.desktop.opened.size(), 1);
    }

    void beendenAndCloseBoxEndTheProgramAtOnce()
    {
        Program program;
        QTest::mouseClick(program.c().Command5, Qt::LeftButton);
        QCOMPARE(program.fake.program.ended, 1);
        QVERIFY(program.start.isLoaded()); // End runs no unload steps
        program.start.frame()->close();
        QCOMPARE(program.fake.program.ended, 2);
        QVERIFY(!program.start.isLoaded());
        QVERIFY(program.fake.dialogs.shown.isEmpty());
    }

    void testButtonSwitchesToItsWindow_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<TestWindow>("which");
        QTest::addColumn<bool>("startStaysLoaded");
        QTest::newRow("Reaktionstest") << "Reaktionstest" << TestWindow::Reaction << true;
        QTest::newRow("Gedächtnistrainning") << "Gedächtnistrainning" << TestWindow::Memory << false;
        QTest::newRow("Geschicklichkeit") << "Geschicklichkeit" << TestWindow::Dexterity << false;
        QTest::newRow("Kopfrechnen") << "Kopfrechnen" << TestWindow::Arithmetic << false;
    }
    void testButtonSwitchesToItsWindow()
    {
        QFETCH(QString, caption);
        QFETCH(TestWindow, which);
        QFETCH(bool, startStaysLoaded);
        Program program;
        QWidget *button = program.captioned(caption);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(program.fake.program.ended, 0);
        QVERIFY(program.registry.test(which).Visible());
        QVERIFY(!program.start.Visible());
        QCOMPARE(program.start.isLoaded(), startStaysLoaded);
    }
};

QTEST_MAIN(tst_shell)
#include "tst_shell.moc"
