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

protected:
    void createControls(QWidget *client, QMenuBar *) override
    {
        Label1 = makeLabel(client, QStringLiteral("Entwurf"), twipsRect(120, 120, 3000, 300));
        Command1 = makeButton(client, QStringLiteral("Verlassen"), twipsRect(120, 600, 1500, 450));
        Timer1 = new Timer(1000, client);
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
    // Int floors, also below zero.
    { "Int", "9.99", "9" }, { "Int", "-0.5", "-1" },
    // CLng: halves go to the even neighbour, below zero too; beyond 32 bits it clamps.
    { "CLng", "0.5", "0" }, { "CLng", "1.5", "2" }, { "CLng", "2.5001", "3" }, { "CLng", "-1.5", "-2" },
    { "CLng", "-2.5", "-2" }, { "CLng", "1e12", "2147483647" }, { "CLng", "-1e12", "-2147483648" },
    // Val reads the leading number; only "." is a decimal point.
    { "Val", "", "0" }, { "Val", " 12 Punkte", "12" }, { "Val", "+7", "7" }, { "Val", "-", "0" },
    { "Val", "1.5.3", "1.5" }, { "Val", "3,7", "3" }, { "Val", " -.25", "-0.25" },
    // Str: sign position, no grouping, "." in a German locale too.
    { "Str", "0", " 0" }, { "Str", "-50", "-50" }, { "Str", "1234567", " 1234567" }, { "Str", "2.5", " 2.5" },
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

    // The leave button unloads from inside its own click: plain fields stay, the
    // widgets go only after that event, and the next load rebuilds them as designed.
    void unloadFromOwnHandlerKeepsFieldsAndReloadRebuildsDesign()
    {
        FakeServices fake;
        ProbeWindow window(fake.services);
        window.setVisible(true);
        window.setVisible(false); // hiding is no unload
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
        QVERIFY(frame && button);
        deleteDeferred();
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

    void timerDropsNestedTickWhileOthersTick()
    {
        FakeServices fake;
        Timer waiting(750), other(10);
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

    void timerRunsOnlyWhileEnabledWithAnInterval()
    {
        Timer timer(0);
        const QTimer *qtimer = timer.findChild<QTimer *>();
        timer.setEnabled(true);
        const bool silentAtZero = !qtimer->isActive();
        timer.setInterval(500);
        QVERIFY(silentAtZero && qtimer->isActive() && qtimer->interval() == 500);
        timer.setEnabled(false);
        timer.setInterval(700); // a new interval does not switch a disabled timer on
        QVERIFY(!qtimer->isActive());
    }

    void checkItemLeavesItsMarkToTheHandler()
    {
        QMenuBar bar;
        QMenu *menu = makeMenu(&bar, QStringLiteral("Modus"));
        QAction *unmarked = makeCheckItem(menu, QStringLiteral("leicht"), false, [] {});
        QAction *marked = makeCheckItem(menu, QStringLiteral("mittel"), true, [] {});
        QAction *cleared = nullptr;
        cleared = makeCheckItem(menu, QStringLiteral("schwer"), true, [&] { cleared->setChecked(false); });
        for (QAction *item : { unmarked, marked, cleared })
            item->trigger();
        QCOMPARE(QList<bool>({ unmarked->isChecked(), marked->isChecked(), cleared->isChecked() }),
            QList<bool>({ false, true, false }));
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
