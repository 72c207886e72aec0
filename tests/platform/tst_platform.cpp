#include "fakeservices.h"
#include "platform/controls.h"
#include "platform/runtime.h"
#include "platform/timer.h"
#include "platform/window.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
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
    bool unloadOnClick = false;
    bool unloadAgainInUnload = false;

protected:
    void createControls(QWidget *client, QMenuBar *) override
    {
        Label1 = makeLabel(client, QStringLiteral("Entwurf"), twipsRect(120, 120, 3000, 300));
        Command1 = makeButton(client, QStringLiteral("Verlassen"), twipsRect(120, 600, 1500, 450));
        Timer1 = new Timer(1000, client);
        Timer1->setEnabled(true);
        QObject::connect(Command1, &QPushButton::clicked, client, [this] {
            if (unloadOnClick)
                unload();
        });
    }
    void destroyControls() override { } // the client owns the widgets; loading sets fresh pointers
    void Form_Load() override { ++loads; }
    void Form_Unload() override
    {
        ++unloads;
        if (unloadAgainInUnload)
            unload();
    }
};

void deleteDeferred()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// One conversion of the runtime, its result as text so that all share one table.
QString convert(const QString &call, const QString &input)
{
    const double number = input.toDouble();
    if (call == QLatin1String("Int"))
        return QString::number(Int(number));
    if (call == QLatin1String("CLng"))
        return QString::number(CLng(number));
    if (call == QLatin1String("Val"))
        return QString::number(Val(input));
    if (call == QLatin1String("Str"))
        return Str(number);
    return formatSeconds(number);
}

struct Conversion
{
    const char *call, *input, *expected;
};
const Conversion conversions[] = {
    // Int floors, also below zero and at the top of the wait formula.
    { "Int", "9.99", "9" }, { "Int", "-0.5", "-1" }, { "Int", "-3", "-3" }, { "Int", "5999.9997", "5999" },
    // CLng: halves go to the even neighbour; beyond 32 bits it clamps.
    { "CLng", "0.5", "0" }, { "CLng", "1.5", "2" }, { "CLng", "2.5", "2" }, { "CLng", "2.5001", "3" },
    { "CLng", "-1.5", "-2" }, { "CLng", "-2.5", "-2" }, { "CLng", "-2.6", "-3" }, { "CLng", "1e12", "2147483647" },
    { "CLng", "-1e12", "-2147483648" },
    // Val reads the leading number; only "." is a decimal point.
    { "Val", "", "0" }, { "Val", " 12 Punkte", "12" }, { "Val", "-5x", "-5" }, { "Val", "+7", "7" },
    { "Val", "-", "0" }, { "Val", "1.5.3", "1.5" }, { "Val", "3,7", "3" }, { "Val", " -.25", "-0.25" },
    // Str: sign position, no grouping, "." in a German locale too.
    { "Str", "7", " 7" }, { "Str", "0", " 0" }, { "Str", "-50", "-50" }, { "Str", "1234567", " 1234567" },
    { "Str", "2.5", " 2.5" },
    // formatSeconds: three rounded places, the locale's comma, no grouping.
    { "formatSeconds", "0.2346", "0,235 Sekunden" }, { "formatSeconds", "-0.02", "-0,020 Sekunden" },
    { "formatSeconds", "1234.5", "1234,500 Sekunden" }, { "formatSeconds", "59.9996", "60,000 Sekunden" }
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

} // namespace

class tst_platform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void conversionsFollowTheOldRuntime_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        for (const Conversion &row : conversions)
            QTest::addRow("%s(\"%s\")", row.call, row.input)
                << QString::fromUtf8(row.call) << QString::fromUtf8(row.input) << QString::fromUtf8(row.expected);
    }
    void conversionsFollowTheOldRuntime()
    {
        QFETCH(QString, call);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(convert(call, input), expected);
    }

    void unloadKeepsFieldsAndReloadRebuildsDesignControls()
    {
        FakeServices fake;
        ProbeWindow window(fake.services);
        window.setVisible(true);
        window.setVisible(false); // hiding is no unload
        window.setVisible(true);
        QCOMPARE(window.loads, 1);
        QCOMPARE(window.client()->size(), QSize(300, 200));
        window.remembered = QStringLiteral("bleibt");
        window.Label1->setText(QStringLiteral("geändert"));
        window.Label1->move(50, 60);
        window.Command1->setEnabled(false);
        QPointer<QWidget> frame = window.frame();
        QPointer<QTimer> running = window.Timer1->findChild<QTimer *>();

        window.unload();
        QVERIFY(!window.isLoaded());
        QVERIFY(!running->isActive()); // no tick reaches a window whose controls are gone
        QVERIFY(frame); // deleted later, not inside the event that unloaded it
        deleteDeferred();
        QVERIFY(!frame);

        window.setVisible(true);
        QCOMPARE(window.loads, 2);
        QCOMPARE(window.remembered, QStringLiteral("bleibt"));
        QCOMPARE(window.Label1->text(), QStringLiteral("Entwurf"));
        QCOMPARE(window.Label1->geometry(), twipsRect(120, 120, 3000, 300));
        QVERIFY(window.Command1->isEnabled());
        QVERIFY(window.Timer1->Enabled());
    }

    void unloadFromOwnClickHandlerIsSafe()
    {
        FakeServices fake;
        ProbeWindow window(fake.services);
        window.unloadOnClick = true;
        for (int round = 1; round <= 2; ++round) {
            window.setVisible(true);
            QPointer<QPushButton> button = window.Command1;
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(window.unloads, round);
            deleteDeferred();
            QVERIFY(!button);
        }
    }

    void closeBoxUnloadsAndRepeatedUnloadHasNoEffect()
    {
        FakeServices fake;
        ProbeWindow window(fake.services);
        int observed = 0;
        window.onUnloaded([&] { ++observed; });
        window.unloadAgainInUnload = true;
        window.setVisible(true);
        QVERIFY(!window.frame()->close()); // the frame itself stays to the owner
        QVERIFY(!window.isLoaded());
        window.unload();
        QCOMPARE(window.unloads, 1);
        QCOMPARE(observed, 1);
    }

    void timerDropsNestedTickWhileOthersTick()
    {
        FakeServices fake;
        Timer waiting(750), other(10);
        waiting.setEnabled(true);
        other.setEnabled(true);
        int waitingTicks = 0, otherTicks = 0;
        waiting.onTick([&] {
            ++waitingTicks;
            fake.services.dialogs.MsgBox(QStringLiteral("Bitte warten"), vbOKOnly, QStringLiteral("Probe"));
        });
        other.onTick([&] { ++otherTicks; });
        // Both fall due while the first handler waits in its box.
        fake.dialogs.whileOpen = [&] {
            waiting.tick();
            other.tick();
        };

        waiting.tick();
        QCOMPARE(waitingTicks, 1);
        QCOMPARE(otherTicks, 1);
        fake.dialogs.whileOpen = {};
        waiting.tick(); // once the handler has returned, it ticks again
        QCOMPARE(waitingTicks, 2);
    }

    void timerRunsOnlyWhileEnabledWithAnInterval()
    {
        Timer timer(2000);
        auto *qtimer = timer.findChild<QTimer *>();
        timer.setInterval(500); // a new interval does not switch a disabled timer on
        QVERIFY(!qtimer->isActive());
        timer.setEnabled(true);
        QVERIFY(qtimer->isActive());
        QCOMPARE(qtimer->interval(), 500);
        timer.setInterval(0); // an interval of 0 keeps it silent
        QVERIFY(!qtimer->isActive());
    }

    void checkItemLeavesItsMarkToTheHandler_data()
    {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<int>("handlerSets"); // -1: the handler leaves the mark alone
        QTest::addColumn<bool>("expected");
        QTest::newRow("unmarked, handler silent") << false << -1 << false;
        QTest::newRow("marked, handler silent") << true << -1 << true;
        QTest::newRow("marked, handler clears") << true << 0 << false;
    }
    void checkItemLeavesItsMarkToTheHandler()
    {
        QFETCH(bool, checked);
        QFETCH(int, handlerSets);
        QFETCH(bool, expected);
        QMenuBar bar;
        QAction *item = nullptr;
        item = makeCheckItem(makeMenu(&bar, QStringLiteral("Modus")), QStringLiteral("leicht"), checked, [&] {
            if (handlerSets >= 0)
                item->setChecked(handlerSets == 1);
        });
        item->trigger();
        QCOMPARE(item->isChecked(), expected);
    }

    // A control fitted to a text it cannot show at 12 pt bold ends at the
    // largest half-point size that shows the text whole, or at 6 pt.
    void fitToBoxShrinksToTheLargestSizeThatFits_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QString>("longest"); // a label's own text when empty
        QTest::newRow("wrapped label, its own text") << "label" << QRect(0, 0, 200, 80) << QString();
        QTest::newRow("label, a longer text to come")
            << "label" << QRect(0, 0, 200, 80) << wrappedText + " Und noch mehr.";
        QTest::newRow("line edit, too narrow") << "edit" << QRect(0, 0, 60, 40) << "980198";
        QTest::newRow("line edit, too low") << "edit" << QRect(0, 0, 200, 18) << "9801";
        QTest::newRow("button, no further than readable")
            << "button" << QRect(0, 80, 40, 33) << "viel zu lang für so wenig";
    }
    void fitToBoxShrinksToTheLargestSizeThatFits()
    {
        QFETCH(QString, kind);
        QFETCH(QRect, box);
        QFETCH(QString, longest);
        QWidget client;
        client.setFont(designFont(12, true));
        std::function<bool(const QFont &)> fits;
        QWidget *control = nullptr;
        if (kind == "label") {
            QLabel *label = makeLabel(&client, wrappedText, box);
            fitToBox(label, longest);
            QCOMPARE(label->text(), wrappedText); // fitted for the longer text, showing its own
            const QString text = longest.isEmpty() ? wrappedText : longest;
            const int flags = Qt::TextWordWrap | label->alignment();
            fits = [=](const QFont &font) { return box.contains(QFontMetrics(font).boundingRect(box, flags, text)); };
            control = label;
        } else if (kind == "edit") {
            auto *edit = new QLineEdit(&client);
            edit->setGeometry(box);
            fitToBox(edit, longest);
            fits = [area = textArea(edit), longest](const QFont &font) {
                const QFontMetrics metrics(font);
                return metrics.horizontalAdvance(longest) < area.width() && metrics.height() <= area.height();
            };
            control = edit;
        } else {
            QPushButton *button = makeButton(&client, longest, box);
            fitToBox({ button });
            QCOMPARE(button->font().pointSizeF(), 6.0);
            return;
        }
        QFont larger = control->font();
        QVERIFY(larger.pointSizeF() < 12);
        larger.setPointSizeF(larger.pointSizeF() + 0.5);
        QVERIFY(fits(control->font()));
        QVERIFY(!fits(larger));
    }
};

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
