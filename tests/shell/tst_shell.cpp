// SPDX-License-Identifier: GPL-3.0-or-later

#include "keyboard.h"
#include "platform/timer.h"
#include "program.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolButton>

using platform::Test;

namespace {

// The start window's controls by design name, with their texts and tooltips.
const char *const designs[][3] = {
    { "Command2", "Reaktionstest", "Testen Sie Ihre Reaktion" },
    { "Command4", "Gedächtnistrainning", "Hier müssen Sie sich Farben merken." },
    { "Command3", "Geschicklichkeit", "So was ähnliches wie der heisse Draht" },
    { "Command1", "Kopfrechnen", "Hier wird fleißig multipliziert." },
    { "Command5", "beenden", "Sie wollen doch nicht etwa..." },
    { "Label5",
        "Schauen Sie einfach mal auf meiner Homepage vorbei, hier gibt es noch mehr kostenlose Programme. "
        "Auserdem finden Sie hier ein Rätsellexikon, mit dem wohl kein Kreuzworträtsel mehr ungelöst bleibt." },
    { "Label1", "www.korvane.de" },
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
    // A system font of 14 pt, under which every window's texts must still show whole.
    void initTestCase() { QApplication::setFont(QFont(QApplication::font().family(), 14)); }

    // The start window as designed: its texts, the look of its two labels, what a screen reader says of its
    // buttons and link; its menus' titles and items, each with an Alt letter of its own; each item of "Verlauf"
    // shows its test's history over the start window. By keyboard alone: Tab from button to button; on the link
    // Return, Enter and Space open the homepage (a letter does not), and the link is underlined while it has the
    // focus. A click and a screen reader's press open it too, a press dragged off the link before its release does
    // not. Return on "beenden" ends the program at once, with no unload steps and no box. The link's colours: seven,
    // then red again; on while the window is hidden; a reload shows the design's colour and the cycle goes on where
    // it stood.
    void startWindow()
    {
        Program program;
        Start &start = program.start();
        platform::Frame *frame = start.frame();
        const auto keys = [frame](auto... keys) { (type(frame, keys), ...); };
        for (const auto &[name, text, toolTip] : designs) {
            const auto *control = start.client()->findChild<QWidget *>(name);
            QVERIFY2(control, name);
            QCOMPARE(std::pair(control->property("text").toString(), control->toolTip()),
                std::pair(QString(text), QString(toolTip)));
        }
        const StartControls &c = start.controls();
        QCOMPARE(std::tuple(frame->windowTitle(), c.Label5->font().bold(), c.Label1->font().bold(),
                     c.Label5->palette().color(QPalette::WindowText), c.Label1->cursor().shape()),
            std::tuple(QStringLiteral("Korvane"), true, true, QColor(0, 0, 255), Qt::PointingHandCursor));
        QCOMPARE(QList({ spoken(c.Command2), spoken(c.Command5), spoken(c.Label1) }),
            QList<Spoken>({ { "Reaktionstest", QAccessible::Button }, { "beenden", QAccessible::Button },
                { "Homepage www.korvane.de", QAccessible::Link } }));

        QStringList texts;
        for (QAction *action : frame->menuBar()->actions() + c.verlauf->actions())
            texts << (action->trigger(), action->iconText());
        QCOMPARE(texts,
            (QStringList {
                "Info", "Verlauf", "Reaktionstest", "Gedächtnistrainning", "Geschicklichkeit", "Kopfrechnen" }));
        QCOMPARE(menuKeys(frame->menuBar()),
            QList<QStringList>({ { "Alt+I", "Alt+V" }, { "Alt+K" }, { "Alt+R", "Alt+G", "Alt+S", "Alt+K" } }));
        QCOMPARE(program.fake.history.shown,
            (QList<FakeHistory::Shown> { { Test::Reaction, frame }, { Test::Memory, frame }, { Test::Dexterity, frame },
                { Test::Arithmetic, frame } }));
        QStringList tabs { focusName(frame) };
        for (int tab = 0; tab < 5; ++tab)
            tabs << (keys(Qt::Key_Tab), focusName(frame));
        QCOMPARE(tabs, QStringList({ "Command2", "Command4", "Command3", "Command1", "Command5", "Label1" }));
        keys(Qt::Key_A, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space);
        QTest::mouseClick(c.Label1, Qt::LeftButton);
        QTest::mousePress(c.Label1, Qt::LeftButton);
        QTest::mouseRelease(c.Label1, Qt::LeftButton, {}, QPoint(-5, -5));
        QAccessible::queryAccessibleInterface(c.Label1)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QCOMPARE(std::tuple(program.fake.desktop.opened, c.Label1->font().underline(), start.Visible()),
            std::tuple(QStringList(5, Start::homepage), true, true));
        keys(Qt::Key_Backtab, Qt::Key_Return);
        QCOMPARE(std::tuple(c.Label1->font().underline(), program.fake.program.ended, start.isLoaded(),
                     program.fake.dialogs.shown.size()),
            std::tuple(false, 1, true, qsizetype(0)));
        const auto colour = [&start] { return start.controls().Label1->palette().color(QPalette::WindowText); };
        const auto tick = [&] { return start.controls().Timer1->tick(), colour(); };
        const QColor design = colour();
        QList<QColor> seen { tick(), tick(), tick(), tick(), tick(), tick(), tick(), tick() };
        start.setVisible(false);
        tick(); // green, unseen
        start.unload();
        program.fake.program.showStart();
        seen << colour() << tick();
        QCOMPARE(seen,
            QList<QColor>({ Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::magenta, Qt::cyan, Qt::white, Qt::red, design,
                Qt::blue }));
    }

    // Each test button hides the start window (the reaction test's keeps it loaded) and shows its window, whose
    // last menu-bar item shows that test's history; closing the window brings the start window back and the
    // program goes on, until the start window's close box ends it. No menu title hides behind "»", and every
    // caption, label and panel title shows whole, in each window.
    void testButtonSwitchesToItsWindow_data()
    {
        QTest::addColumn<TestWindow>("which");
        QTest::addColumn<Test>("test");
        QTest::newRow("Reaktionstest") << TestWindow::Reaction << Test::Reaction;
        QTest::newRow("Gedächtnistrainning") << TestWindow::Memory << Test::Memory;
        QTest::newRow("Geschicklichkeit") << TestWindow::Dexterity << Test::Dexterity;
        QTest::newRow("Kopfrechnen") << TestWindow::Arithmetic << Test::Arithmetic;
    }
    void testButtonSwitchesToItsWindow()
    {
        QFETCH(TestWindow, which);
        QFETCH(Test, test);
        Program program;
        platform::Window &window = program.open<platform::Window>(which);
        QCOMPARE(std::tuple(window.Visible(), program.start().Visible(), program.start().isLoaded()),
            std::tuple(true, false, which == TestWindow::Reaction));
        QVERIFY(QTest::qWaitForWindowExposed(window.frame()));
        QCOMPARE(cutTexts(window.frame()).join(", "), QString()); // the names of those cut
        QAction *verlauf = window.frame()->menuBar()->actions().last();
        QCOMPARE(std::pair((verlauf->trigger(), verlauf->iconText()), program.fake.history.shown),
            std::pair(QStringLiteral("Verlauf"), QList<FakeHistory::Shown> { { test, window.frame() } }));
        window.frame()->close();
        QCOMPARE(std::pair(program.start().Visible(), program.fake.program.ended), std::pair(true, 0));
        QVERIFY(QTest::qWaitForWindowExposed(program.start().frame()));
        QCOMPARE(cutTexts(program.start().frame()).join(", "), QString());
        program.start().frame()->close();
        QCOMPARE(program.fake.program.ended, 1);
    }
};

QTEST_MAIN(tst_shell)
#include "tst_shell.moc"
