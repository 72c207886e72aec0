#include "fakeservices.h"
#include "platform/access.h"
#include "platform/controls.h"
#include "platform/realservices.h"
#include "platform/runtime.h"
#include "platform/timer.h"
#include "platform/window.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTest>
#include <functional>

using namespace platform;

namespace {

// A small window that counts its lifecycle events and can unload itself from
// inside its own handlers, the way the test windows leave.
class ProbeWindow : public Window
{
public:
    explicit ProbeWindow(Services &services)
        : Window(services, QStringLiteral("Probe"), QSize(4500, 3000))
    { }

    QLabel *Label1 = nullptr;
    QPushButton *Command1 = nullptr;
    Timer *Timer1 = nullptr;
    int loads = 0, unloads = 0;
    QString remembered; // a plain field: it must outlive the controls

    std::optional<int> question() { return ask(QStringLiteral("Wirklich?"), vbYesNo, QStringLiteral("Probe")); }

protected:
    void createControls(QWidget *client, QMenuBar *) override
    {
        Label1 = makeLabel(client, "Label1", QStringLiteral("Entwurf"), twipsRect(120, 120, 3000, 300));
        Command1 = makeButton(client, "Command1", QStringLiteral("Verlassen"), twipsRect(120, 600, 1500, 450));
        Timer1 = new Timer("Timer1", 1000, client);
        Timer1->setEnabled(true);
        QObject::connect(Command1, &QPushButton::clicked, client, [this] { unload(); });
    }
    void destroyControls() override { } // the client owns the widgets; loading sets fresh pointers
    void Form_Load() override { ++loads; }
    void Form_Unload() override
    {
        ++unloads;
        unload(); // a second unload from inside the first must do nothing
    }
};

// Call, input, the result as text, so that all conversions share one table.
const char *const conversions[][3] = {
    // Int floors, also below zero.
    { "Int", "9.99", "9" }, { "Int", "-0.5", "-1" },
    // CLng: halves go to the even neighbour, below zero too; beyond 32 bits it clamps.
    { "CLng", "0.5", "0" }, { "CLng", "1.5", "2" }, { "CLng", "2.5001", "3" }, { "CLng", "-1.5", "-2" },
    { "CLng", "-2.5", "-2" }, { "CLng", "1e12", "2147483647" }, { "CLng", "-1e12", "-2147483648" },
    // Val reads the leading number, skipping blanks, tabs and line feeds anywhere; only "." is a decimal point.
    { "Val", "", "0" }, { "Val", " 12 Punkte", "12" }, { "Val", "+7", "7" }, { "Val", "-", "0" },
    { "Val", "1.5.3", "1.5" }, { "Val", "3,7", "3" }, { "Val", " -.25", "-0.25" }, { "Val", "1 2 Punkte", "12" },
    { "Val", "\t- 3\n4", "-34" }, { "Val", "+-1", "0" },
    // Str: sign position, no grouping, "." in a German locale too.
    { "Str", "0", " 0" }, { "Str", "-50", "-50" }, { "Str", "1234567", " 1234567" }, { "Str", "2.5", " 2.5" },
    // formatSeconds: three rounded places, the locale's separator, no grouping.
    { "formatSeconds", "0.2346", "0,235 Sekunden" }, { "formatSeconds", "-0.02", "-0,020 Sekunden" },
    { "formatSeconds", "1234.5", "1234,500 Sekunden" }, { "formatSeconds", "59.9996", "60,000 Sekunden" },
    { "formatSeconds in English", "1234.5", "1234.500 Sekunden" }
};

const QString wrappedText = QStringLiteral("Ein recht langer Text, der in seinem Kasten umbrechen muss und ihn "
                                           "bei zwölf Punkten fett sicher überfüllt, weil er so lang ist.");

// Where a line edit shows its text: inside the frame its style draws, less the
// margins QLineEdit keeps (2 pixels beside the text, 1 above and below).
QRect textArea(const QLineEdit *edit)
{
    QStyleOptionFrame frame;
    frame.initFrom(edit);
    frame.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, edit);
    return edit->style()->subElementRect(QStyle::SE_LineEditContents, &frame, edit).adjusted(2, 1, -2, -1);
}

// The seconds as shown on a system in another language: German words, its separator.
QString secondsIn(QLocale::Language language, double seconds)
{
    QLocale::setDefault(QLocale(language));
    const QString text = formatSeconds(seconds);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    return text;
}

} // namespace

class tst_platform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void listFolderBesideTheProgramOnlyWhenWritable_data()
    {
        QTest::addColumn<QString>("programFolder"); // below a fresh temporary folder; "" is that folder
        QTest::addColumn<bool>("creatable");
        QTest::addRow("writable folder") << "" << true;
        QTest::addRow("missing folder") << "gone" << false;
        QTest::addRow("a file in the folder's place") << "file" << false;
    }
    void listFolderBesideTheProgramOnlyWhenWritable()
    {
        const QTemporaryDir temporary;
        const QDir top(temporary.path());
        QFile file(top.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QFETCH(QString, programFolder);
        const QString folder = top.filePath(programFolder);
        QFETCH(bool, creatable);
        QCOMPARE(canCreateFileIn(folder), creatable);
        QCOMPARE(top.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList { "file" });
        // The answer decides; a read-only folder is passed in, as root could write anywhere.
        const QString data = QStringLiteral("/home/ida/.local/share/korvane");
        QCOMPARE(chooseListFolder(folder, creatable, data), creatable ? folder : data);
    }

    void dataFolderIsNamedAfterTheProgramAlone()
    {
        QStandardPaths::setTestModeEnabled(true);
        setIdentity();
        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCOMPARE(data.section('/', -2), QStringLiteral("share/korvane")); // no organisation folder between
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("de.korvane.korvane"));
        QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral(KORVANE_VERSION));
    }

    void conversionsFollowTheOldRuntime_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(conversions)); ++row)
            QTest::addRow("%s(\"%s\")", conversions[row][0], conversions[row][1]) << row;
    }
    void conversionsFollowTheOldRuntime()
    {
        QFETCH(int, row);
        const auto [call, input, expected] = conversions[row];
        const double number = QString::fromUtf8(input).toDouble();
        const QHash<QString, QString> results { { "Int", QString::number(Int(number)) },
            { "CLng", QString::number(CLng(number)) }, { "Val", QString::number(Val(QString::fromUtf8(input))) },
            { "Str", Str(number) }, { "formatSeconds", formatSeconds(number) },
            { "formatSeconds in English", secondsIn(QLocale::English, number) } };
        QCOMPARE(results.value(QString::fromUtf8(call)), QString::fromUtf8(expected));
    }

    // The leave button unloads from inside its own click: plain fields stay, the
    // widgets go only after that event, and the next load rebuilds them as designed.
    void unloadFromOwnHandlerKeepsFieldsAndReloadRebuildsDesign()
    {
        FakeServices fake;
        ProbeWindow window(fake.services);
        window.setVisible(true);
        QCOMPARE(window.client()->size(), QSize(300, 200));
        window.remembered = QStringLiteral("bleibt");
        window.Label1->setText(QStringLiteral("geändert"));
        window.Label1->move(50, 60);
        window.Label1->setEnabled(false);
        QPointer<QWidget> frame = window.frame();
        QPointer<QPushButton> button = window.Command1;
        QPointer<QTimer> running = window.Timer1->findChild<QTimer *>();

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!window.isLoaded());
        QVERIFY(!running->isActive()); // no tick reaches a window whose controls are gone
        QVERIFY(frame && button); // deleted only once the click is done
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!frame && !button);

        window.setVisible(true);
        QCOMPARE(QStringList({ QString::number(window.loads), window.remembered, window.Label1->text() }),
            QStringList({ "2", "bleibt", "Entwurf" }));
        QCOMPARE(window.Label1->geometry(), twipsRect(120, 120, 3000, 300));
        QVERIFY(window.Label1->isEnabled() && window.Timer1->Enabled());
        QTest::mouseClick(window.Command1, Qt::LeftButton); // the rebuilt button unloads too
        QCOMPARE(window.unloads, 2);
    }

    void closeBoxUnloadsAndRepeatedUnloadHasNoEffect()
    {
        FakeServices fake;
        ProbeWindow window(fake.services);
        int observed = 0;
        window.onUnloaded([&] { ++observed; });
        window.setVisible(true);
        QVERIFY(!window.frame()->close()); // the frame itself stays to the owner
        QVERIFY(!window.isLoaded());
        window.unload();
        QCOMPARE(window.unloads, 1);
        QCOMPARE(observed, 1);
    }

    // An answer comes back only while the window is still there to use it.
    void askAnswersOnlyWhileTheWindowStaysLoaded()
    {
        FakeServices fake;
        ProbeWindow window(fake.services);
        window.setVisible(true);
        fake.dialogs.answers = { vbYes, vbYes };
        QCOMPARE(window.question().value_or(0), int(vbYes));
        fake.dialogs.whileOpen = [&] { window.frame()->close(); };
        QCOMPARE(window.question().has_value(), false);
    }

    void timerDropsNestedTickWhileOthersTick()
    {
        FakeServices fake;
        Timer waiting("Timer1", 750, nullptr), other("Timer2", 10, nullptr);
        waiting.setEnabled(true);
        other.setEnabled(true);
        QString ticks;
        waiting.onTick([&] {
            ticks += 'w';
            fake.services.dialogs.MsgBox(QStringLiteral("Bitte warten"), vbOKOnly, QStringLiteral("Probe"));
        });
        other.onTick([&] { ticks += 'o'; });
        // Both fall due while the first handler waits in its box.
        fake.dialogs.whileOpen = [&] {
            waiting.tick();
            other.tick();
        };
        waiting.tick();
        fake.dialogs.whileOpen = {};
        waiting.tick(); // once the handler has returned, it ticks again
        QCOMPARE(ticks, QStringLiteral("wow"));
    }

    // Each wait counts from when the tick before was due, so lateness never adds up.
    void timersKeepToTheirTimeline_data()
    {
        QTest::addColumn<qint64>("tickAt"); // ms on the fake clock; the first tick is due at 750
        QTest::addColumn<qint64>("ownNext"); // when the ticking timer is due next
        QTest::addColumn<qint64>("chainedDue"); // when the timer it enables is due
        QTest::newRow("on time") << qint64(750) << qint64(1500) << qint64(2250);
        QTest::newRow("12 ms late") << qint64(762) << qint64(1500) << qint64(2250);
        QTest::newRow("later than a whole wait: afresh from now") << qint64(1600) << qint64(2350) << qint64(2250);
    }
    void timersKeepToTheirTimeline()
    {
        QFETCH(qint64, tickAt);
        QFETCH(qint64, ownNext);
        QFETCH(qint64, chainedDue);
        qint64 now = 0;
        Timer::setClock([&now] { return now * 1'000'000; });
        Timer gap("Timer1", 750, nullptr), shown("Timer2", 1500, nullptr);
        gap.onTick([&] { shown.setEnabled(true); });
        gap.setEnabled(true);
        now = tickAt;
        gap.tick();
        Timer::setClock({});
        QCOMPARE(gap.nextDue() / 1'000'000, ownNext);
        QCOMPARE(shown.nextDue() / 1'000'000, chainedDue);
    }

    void timerRunsOnlyEnabledWithAnInterval_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("runs");
        QTest::newRow("enabled") << 10 << true << true;
        QTest::newRow("disabled") << 10 << false << false;
        QTest::newRow("interval 0 stays silent") << 0 << true << false;
    }
    void timerRunsOnlyEnabledWithAnInterval()
    {
        QFETCH(int, interval);
        QFETCH(bool, enabled);
        QFETCH(bool, runs);
        Timer timer("Timer1", interval, nullptr);
        int ticks = 0;
        timer.onTick([&] { ++ticks; });
        timer.setEnabled(enabled);
        timer.tick();
        QCOMPARE(timer.findChild<QTimer *>()->isActive(), runs);
        QCOMPARE(ticks, runs ? 1 : 0);
    }

    void checkItemLeavesItsMarkToTheHandler()
    {
        QMenuBar bar;
        QMenu *menu = makeMenu(&bar, "modus", QStringLiteral("Modus"));
        QAction *unmarked = makeCheckItem(menu, "leicht", QStringLiteral("leicht"), false, [] {});
        QAction *marked = makeCheckItem(menu, "mittel", QStringLiteral("mittel"), true, [] {});
        QAction *cleared = nullptr;
        cleared = makeCheckItem(menu, "schwer", QStringLiteral("schwer"), true, [&] { cleared->setChecked(false); });
        for (QAction *item : { unmarked, marked, cleared })
            item->trigger();
        QCOMPARE(QList<bool>({ unmarked->isChecked(), marked->isChecked(), cleared->isChecked() }),
            QList<bool>({ false, true, false }));
    }

    // A control fitted to its text ends where the step search from its design
    // size down in half points ends: at the first size that shows the text
    // whole, or at 6 pt.
    void fitToBoxFindsWhatTheStepSearchFinds_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QString>("text"); // a label's longest text; its own when empty
        QTest::addColumn<double>("designSize");
        const QString caption = QStringLiteral("Sie haben eines der besten 10 Ergebnisse erreicht");
        for (int width : { 30, 70, 120, 180, 260, 420 }) {
            QTest::addRow("wrapped label %d wide", width)
                << "label" << QRect(0, 0, width, width / 2) << QString() << 12.0;
            QTest::addRow("line edit %d wide", width) << "edit" << QRect(0, 0, width / 3, 25) << "980198" << 12.0;
            QTest::addRow("two buttons %d wide", width)
                << "buttons" << QRect(0, 0, width / 2, 33) << "anfangen" << 12.0;
            QTest::addRow("caption %d wide", width) << "caption" << QRect(0, 0, width, 60) << caption << 12.0;
        }
        QTest::newRow("label, a longer text to come")
            << "label" << QRect(0, 0, 200, 80) << wrappedText + " Und noch mehr." << 12.0;
        QTest::newRow("line edit, too low") << "edit" << QRect(0, 0, 200, 18) << "9801" << 12.0;
        QTest::newRow("design size off the half points") << "label" << QRect(0, 0, 150, 90) << QString() << 8.25;
        QTest::newRow("design size below a step above 6") << "caption" << QRect(0, 0, 40, 60) << caption << 6.25;
        QTest::newRow("design size below 6") << "caption" << QRect(0, 0, 40, 60) << caption << 5.0;
    }
    void fitToBoxFindsWhatTheStepSearchFinds()
    {
        QFETCH(QString, kind);
        QFETCH(QRect, box);
        QFETCH(QString, text);
        QFETCH(double, designSize);
        QWidget client;
        client.setFont(designFont(designSize, true));
        std::function<bool(const QFont &)> fits;
        QWidget *control = nullptr;
        if (kind == "label") {
            QLabel *label = makeLabel(&client, "Label1", wrappedText, box);
            fitToBox(label, text);
            QCOMPARE(label->text(), wrappedText); // fitted for the longer text, showing its own
            const QString longest = text.isEmpty() ? wrappedText : text;
            const int flags = Qt::TextWordWrap | label->alignment();
            fits
                = [=](const QFont &font) { return box.contains(QFontMetrics(font).boundingRect(box, flags, longest)); };
            control = label;
        } else if (kind == "edit") {
            auto *edit = new QLineEdit(&client);
            edit->setGeometry(box);
            fitToBox(edit, text);
            fits = [area = textArea(edit), text](const QFont &font) {
                const QFontMetrics metrics(font);
                return metrics.horizontalAdvance(text) < area.width() && metrics.height() <= area.height();
            };
            control = edit;
        } else if (kind == "buttons") { // a row shares one size: the wider caption decides
            QPushButton *wide = makeButton(&client, "Command1", text, box);
            QPushButton *narrow = makeButton(&client, "Command2", QStringLiteral("OK"), box.translated(box.width(), 0));
            fitToBox({ narrow, wide });
            QCOMPARE(narrow->font(), wide->font());
            fits = [wide](const QFont &font) {
                QStyleOptionButton option;
                option.initFrom(wide);
                option.fontMetrics = QFontMetrics(font);
                option.text = wide->text();
                const QSize textSize(option.fontMetrics.horizontalAdvance(wide->text()), option.fontMetrics.height());
                return QRect(QPoint(), wide->size())
                    .contains(
                        QRect(QPoint(), wide->style()->sizeFromContents(QStyle::CT_PushButton, &option, textSize)));
            };
            control = wide;
        } else {
            QGroupBox *panel = makePanel(&client, "Frame1", text, box);
            fitCaption(panel);
            const int room = box.width() - 2 * panel->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
            fits = [=](const QFont &font) { return QFontMetrics(font).horizontalAdvance(text) <= room; };
            control = panel;
        }
        QFont stepped = designFont(designSize, true);
        while (!fits(stepped) && stepped.pointSizeF() - 0.5 >= 6)
            stepped.setPointSizeF(stepped.pointSizeF() - 0.5);
        QCOMPARE(control->font().pointSizeF(), stepped.pointSizeF());
    }

    // The Alt letter marked before its position, an '&' of the text kept as one; the text as shown is the original.
    void mnemonicKeepsTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("marked");
        QTest::addColumn<QString>("key");
        QTest::newRow("first letter") << "Info" << 0 << "&Info"
                                      << "Alt+I";
        QTest::newRow("within") << "Ende" << 1 << "E&nde"
                                << "Alt+N";
        QTest::newRow("last") << "50" << 1 << "5&0"
                              << "Alt+0";
        QTest::newRow("an & before and after") << "A & B & C" << 4 << "A && &B && C"
                                               << "Alt+B";
    }
    void mnemonicKeepsTheText()
    {
        QFETCH(QString, text);
        QFETCH(int, position);
        const QString marked = withMnemonic(text, position);
        QTEST(marked, "marked");
        QTEST(QKeySequence::mnemonic(marked).toString(), "key");
        QCOMPARE(shownText(marked), text);
    }

    // Return and Enter click a made button as Space does; a held key clicks once, other keys not at all.
    void returnClicksAButton()
    {
        QWidget client;
        QPushButton *button = makeButton(&client, "Command1", QStringLiteral("OK"), QRect(0, 0, 80, 25));
        int clicks = 0;
        QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
        QTest::keyClick(button, Qt::Key_Return);
        QTest::keyClick(button, Qt::Key_Enter);
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(button, &held);
        QTest::keyClick(button, Qt::Key_A);
        QCOMPARE(std::pair(clicks, button->autoDefault()), std::pair(2, false));
    }
};

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
