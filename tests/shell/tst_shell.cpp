#include "keyboard.h"
#include "platform/controls.h"
#include "platform/timer.h"
#include "program.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolButton>

namespace {

QColor textColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
}

// How a control of the start window is designed: its place in twips and its texts.
struct Design
{
    const char *name;
    QRect twips;
    QString text;
    QString toolTip;
};

const Design designs[] = {
    { "Command2", { 120, 240, 1695, 495 }, "Reaktionstest", "Testen Sie Ihre Reaktion" },
    { "Command4", { 120, 840, 1695, 495 }, "Gedächtnistrainning", "Hier müssen Sie sich Farben merken." },
    { "Command3", { 120, 1440, 1695, 495 }, "Geschicklichkeit", "So was ähnliches wie der heisse Draht" },
    { "Command1", { 120, 2040, 1695, 495 }, "Kopfrechnen", "Hier wird fleißig multipliziert." },
    { "Command5", { 120, 2640, 1695, 495 }, "beenden", "Sie wollen doch nicht etwa..." },
    { "Label5", { 2040, 240, 3975, 2175 },
        "Schauen Sie einfach mal auf meiner Homepage vorbei, hier gibt es noch mehr kostenlose Programme. "
        "Auserdem finden Sie hier ein Rätsellexikon, mit dem wohl kein Kreuzworträtsel mehr ungelöst bleibt.",
        {} },
    { "Label1", { 2040, 2640, 3495, 375 }, "www.korvane.de", {} },
};

// The controls of a window whose text does not show whole in their font, "»" for a menu bar that hides titles.
QStringList cutTexts(QWidget *frame)
{
    QStringList cut;
    const auto *more = frame->findChild<QToolButton *>(QStringLiteral("qt_menubar_ext_button"));
    if (more && !more->isHidden())
        cut << QStringLiteral("»");
    for (const QPushButton *button : frame->findChildren<QPushButton *>()) {
        // What the style needs around the caption on one line; the reaction field wraps within its bevel.
        const QFontMetrics metrics(button->font());
        QStyleOptionButton option;
        option.initFrom(button);
        const QSize oneLine(metrics.horizontalAdvance(button->text()), metrics.height());
        const QSize needed = button->inherits("WrapButton")
            ? metrics.boundingRect(button->rect().adjusted(5, 5, -5, -5), Qt::TextWordWrap, button->text()).size()
                + QSize(10, 10)
            : button->style()->sizeFromContents(QStyle::CT_PushButton, &option, oneLine, button);
        if (needed.width() > button->width() || needed.height() > button->height())
            cut << button->objectName();
    }
    for (const QLabel *label : frame->findChildren<QLabel *>()) {
        const QRect room = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        if (!room.contains(QFontMetrics(label->font()).boundingRect(room, flags, label->text())))
            cut << label->objectName();
    }
    for (const QGroupBox *panel : frame->findChildren<QGroupBox *>())
        if (QFontMetrics(panel->font()).horizontalAdvance(panel->title()) > panel->width() - 8)
            cut << panel->objectName();
    return cut;
}

} // namespace

class tst_shell : public QObject
{
    Q_OBJECT

private slots:
    void controlsStandAsDesigned()
    {
        Program program;
        QCOMPARE(program.start().frame()->windowTitle(), QStringLiteral("Korvane"));
        QCOMPARE(program.start().client()->size(), QSize(403, 233));
        for (const Design &design : designs) {
            auto *control = program.start().client()->findChild<QWidget *>(design.name);
            QVERIFY2(control, design.name);
            const QRect twips = design.twips;
            QCOMPARE(control->geometry(), platform::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
            QCOMPARE(control->property("text").toString(), design.text);
            QCOMPARE(control->toolTip(), design.toolTip);
            // Shrunk where the system's face is wider than the design's: the whole text shows.
            const QRect box = control->contentsRect();
            const QRect needed = QFontMetrics(control->font()).boundingRect(box, Qt::TextWordWrap, design.text);
            QVERIFY2(needed.width() <= box.width() && needed.height() <= box.height(), design.name);
        }
        const StartControls &c = program.start().controls();
        QCOMPARE(QList<bool>({ c.Label5->font().bold(), c.Label1->font().bold() }), QList<bool>({ true, true }));
        QCOMPARE(textColour(c.Label5), QColor(0, 0, 255));
        QCOMPARE(c.Label1->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(program.start().frame()->menuBar()->actions().first()->iconText(), QStringLiteral("Info"));
    }

    // Seven colours, then red again; on while the window is hidden; a reload shows the design's colour and the
    // cycle goes on where it stood.
    void colourCycle()
    {
        Program program;
        Start &start = program.start();
        const QColor design = textColour(start.controls().Label1);
        QList<QColor> seen;
        for (int tick = 0; tick < 8; ++tick) {
            start.controls().Timer1->tick();
            seen << textColour(start.controls().Label1);
        }
        QCOMPARE(seen,
            QList<QColor>({ Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::magenta, Qt::cyan, Qt::white, Qt::red }));
        start.setVisible(false);
        start.controls().Timer1->tick();
        start.setVisible(true);
        start.unload();
        program.fake.program.showStart();
        QCOMPARE(std::tuple(textColour(start.controls().Label1), start.controls().Timer1->Enabled(),
                     start.controls().Timer1->Interval()),
            std::tuple(design, true, 2000));
        start.controls().Timer1->tick();
        QCOMPARE(textColour(start.controls().Label1), QColor(Qt::blue));
    }

    void linkClickOpensHomepageAndChangesNothing()
    {
        Program program;
        QLabel *link = program.start().controls().Label1;
        QTest::mouseClick(link, Qt::LeftButton);
        // A press dragged off the label before its release is no click.
        QTest::mousePress(link, Qt::LeftButton);
        QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(program.fake.desktop.opened, QStringList { Start::homepage });
        QVERIFY(program.start().Visible());
        QCOMPARE(program.fake.program.ended, 0);
    }

    void beendenAndCloseBoxEndTheProgramAtOnce()
    {
        Program program;
        QTest::mouseClick(program.start().controls().Command5, Qt::LeftButton);
        QCOMPARE(program.fake.program.ended, 1);
        QVERIFY(program.start().isLoaded()); // End runs no unload steps
        program.start().frame()->close();
        QCOMPARE(program.fake.program.ended, 2);
        QVERIFY(program.fake.dialogs.shown.isEmpty());
    }

    void verlaufMenuShowsEachTestsHistory()
    {
        Program program;
        QMenuBar *bar = program.start().frame()->menuBar();
        QCOMPARE(bar->actions()[1]->iconText(), QStringLiteral("Verlauf"));
        QStringList items;
        for (QAction *item : bar->actions()[1]->menu()->actions()) {
            items << item->iconText();
            item->trigger();
        }
        QCOMPARE(items, (QStringList { "Reaktionstest", "Gedächtnistrainning", "Geschicklichkeit", "Kopfrechnen" }));
        using platform::Test;
        QWidget *frame = program.start().frame();
        QCOMPARE(program.fake.history.shown,
            (QList<FakeHistory::Shown> { { Test::Reaction, frame }, { Test::Memory, frame }, { Test::Dexterity, frame },
                { Test::Arithmetic, frame } }));
    }

    void testButtonSwitchesToItsWindowWithItsHistory_data()
    {
        QTest::addColumn<TestWindow>("which");
        QTest::addColumn<bool>("startStaysLoaded");
        QTest::addColumn<platform::Test>("test");
        using platform::Test;
        QTest::newRow("Reaktionstest") << TestWindow::Reaction << true << Test::Reaction;
        QTest::newRow("Gedächtnistrainning") << TestWindow::Memory << false << Test::Memory;
        QTest::newRow("Geschicklichkeit") << TestWindow::Dexterity << false << Test::Dexterity;
        QTest::newRow("Kopfrechnen") << TestWindow::Arithmetic << false << Test::Arithmetic;
    }
    void testButtonSwitchesToItsWindowWithItsHistory()
    {
        QFETCH(TestWindow, which);
        QFETCH(bool, startStaysLoaded);
        Program program;
        platform::Window &window = program.open<platform::Window>(which);
        QVERIFY(window.Visible());
        QVERIFY(!program.start().Visible());
        QCOMPARE(program.start().isLoaded(), startStaysLoaded);
        // The window's own history: its menu bar's last item.
        QFETCH(platform::Test, test);
        QAction *verlauf = window.frame()->menuBar()->actions().last();
        QCOMPARE(verlauf->iconText(), QStringLiteral("Verlauf"));
        verlauf->trigger();
        QCOMPARE(program.fake.history.shown, (QList<FakeHistory::Shown> { { test, window.frame() } }));
        window.frame()->close(); // back to the start window, and the program goes on
        QVERIFY(program.start().Visible());
        QCOMPARE(program.fake.program.ended, 0);
    }

    // By keyboard alone: Tab from button to button; Return on one opens its test; on the link Return, Enter and
    // Space open the homepage (a letter does not), and the link is underlined while it has the focus.
    void keyboard()
    {
        Program program;
        QWidget *frame = program.start().frame();
        const StartControls &c = program.start().controls();
        QStringList tabs { focusName(frame) };
        for (int tab = 0; tab < 5; ++tab)
            tabs << (type(frame, Qt::Key_Tab), focusName(frame));
        QCOMPARE(tabs, QStringList({ "Command2", "Command4", "Command3", "Command1", "Command5", "Label1" }));
        for (Qt::Key key : { Qt::Key_A, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space })
            type(frame, key);
        QCOMPARE(std::pair(program.fake.desktop.opened, c.Label1->font().underline()),
            std::pair(QStringList(3, Start::homepage), true));
        type(frame, Qt::Key_Backtab);
        type(frame, Qt::Key_Backtab);
        QVERIFY(!c.Label1->font().underline());
        type(frame, Qt::Key_Return);
        QVERIFY(program.registry.test(TestWindow::Arithmetic).Visible() && !program.start().isLoaded());
    }

    // What a screen reader says of the buttons and the link; pressing the link opens the homepage.
    void accessibleNames()
    {
        Program program;
        const StartControls &c = program.start().controls();
        QCOMPARE(QList({ spoken(c.Command2), spoken(c.Command5), spoken(c.Label1) }),
            QList<Spoken>({ { "Reaktionstest", QAccessible::Button }, { "beenden", QAccessible::Button },
                { "Homepage www.korvane.de", QAccessible::Link } }));
        QAccessibleInterface *link = QAccessible::queryAccessibleInterface(c.Label1);
        QVERIFY(link->actionInterface());
        link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(program.fake.desktop.opened, QStringList { Start::homepage });
    }

    // Each title of the menu bar and each item of a menu has an Alt letter of its own.
    void mnemonics()
    {
        Program program;
        const QList<QStringList> keys = menuKeys(program.start().frame()->menuBar());
        QCOMPARE(
            keys, QList<QStringList>({ { "Alt+I", "Alt+V" }, { "Alt+K" }, { "Alt+R", "Alt+G", "Alt+S", "Alt+K" } }));
        QCOMPARE(clashes(keys), QStringList());
    }

    // With a system font of 14 pt no menu title hides behind "»", and every caption, label and panel title shows
    // whole, in each window.
    void wholeAtFourteenPoints_data()
    {
        QTest::addColumn<int>("window"); // -1: the start window
        QTest::newRow("Start") << -1;
        QTest::newRow("Reaktionstest") << int(TestWindow::Reaction);
        QTest::newRow("Gedächtnistrainning") << int(TestWindow::Memory);
        QTest::newRow("Geschicklichkeit") << int(TestWindow::Dexterity);
        QTest::newRow("Kopfrechnen") << int(TestWindow::Arithmetic);
    }
    void wholeAtFourteenPoints()
    {
        QFETCH(int, window);
        const QFont system = QApplication::font();
        QFont large = system;
        large.setPointSizeF(14);
        QApplication::setFont(large);
        const auto restore = qScopeGuard([&system] { QApplication::setFont(system); });
        Program program;
        platform::Window &shown = window < 0 ? program.start() : program.open<platform::Window>(TestWindow(window));
        QVERIFY(QTest::qWaitForWindowExposed(shown.frame()));
        const QStringList cut = cutTexts(shown.frame());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(tst_shell)
#include "tst_shell.moc"
