#include "fakeservices.h"
#include "platform/controls.h"
#include "platform/runtime.h"
#include "platform/timer.h"
#include "platform/window.h"

#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <limits>
#include <memory>

using namespace platform;

namespace {

// A small window that counts its lifecycle events and can unload itself from
// inside its own handlers, the way the test windows leave.
class ProbeWindow : public Window
{
public:
    static constexpr int designWidth = 3000;
    static inline const QString designText = QStringLiteral("Entwurf");

    struct Controls
    {
        QLabel *Label1;
        QPushButton *Command1;
        Timer *Timer1;
    };

    explicit ProbeWindow(Services &services)
        : Window(services, QStringLiteral("Probe"), QSize(4500, 3000))
    { }

    std::unique_ptr<Controls> c;
    int loads = 0;
    int unloads = 0;
    int builds = 0;
    int clicks = 0;
    QString remembered; // a plain field: it must outlive the controls
    bool unloadOnClick = false;
    bool unloadAgainInUnload = false;
    bool unloadInLoad = false;

    void Command1_Click()
    {
        ++clicks;
        if (unloadOnClick)
            unload();
    }

protected:
    void createControls(QWidget *client, QMenuBar *) override
    {
        ++builds;
        c = std::make_unique<Controls>();
        c->Label1 = makeLabel(client, designText, twipsRect(120, 120, designWidth, 300));
        c->Command1 = makeButton(client, QStringLiteral("Verlassen"), twipsRect(120, 600, 1500, 450));
        c->Timer1 = new Timer(1000, client);
        c->Timer1->setEnabled(true);
        QObject::connect(c->Command1, &QPushButton::clicked, client, [this] { Command1_Click(); });
    }
    void destroyControls() override
    {
        c.reset(); // the widgets belong to the client; only the record goes
    }
    void Form_Load() override
    {
        ++loads;
        if (unloadInLoad)
            unload();
    }
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

} // namespace

class tst_platform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void intFloors_data();
    void intFloors();
    void clngRoundsHalfToEven_data();
    void clngRoundsHalfToEven();
    void valReadsLeadingNumber_data();
    void valReadsLeadingNumber();
    void strPutsSignPosition_data();
    void strPutsSignPosition();
    void formatSecondsUsesLocale_data();
    void formatSecondsUsesLocale();

    void firstShowLoadsOnce();
    void hideKeepsLoaded();
    void fieldsSurviveUnload();
    void reloadRebuildsDesignControls();
    void unloadDropsControlsLater();
    void unloadFromOwnClickHandlerIsSafe();
    void closeBoxUnloads();
    void unloadInsideFormUnloadHasNoEffect();
    void unloadInsideFormLoadLeavesWindowUnloaded();
    void unloadStopsTimers();

    void timerDropsNestedTick();
    void timerEnabledRunsPreciseQTimer();
    void disabledTimerDoesNotTick();

    void checkItemKeepsMarkWhenTriggered_data();
    void checkItemKeepsMarkWhenTriggered();

    void fitToBoxLabel_data();
    void fitToBoxLabel();
    void fitToBoxButtonsShareOneSize();

private:
    QLocale previousLocale;
};

void tst_platform::initTestCase()
{
    previousLocale = QLocale();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void tst_platform::cleanupTestCase()
{
    QLocale::setDefault(previousLocale);
}

// --- number and text conversions ---

void tst_platform::intFloors_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("9.99") << 9.99 << 9.0;
    QTest::newRow("whole") << 4.0 << 4.0;
    QTest::newRow("zero") << 0.0 << 0.0;
    QTest::newRow("-0.5 goes down") << -0.5 << -1.0;
    QTest::newRow("-9.99") << -9.99 << -10.0;
    QTest::newRow("-3 whole") << -3.0 << -3.0;
    QTest::newRow("wait formula top") << 0.99999994 * 5000 + 1000 << 5999.0;
}

void tst_platform::intFloors()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(Int(value), expected);
}

void tst_platform::clngRoundsHalfToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("3.5") << 3.5 << 4;
    QTest::newRow("2.4999") << 2.4999 << 2;
    QTest::newRow("2.5001") << 2.5001 << 3;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("-3.5") << -3.5 << -4;
    QTest::newRow("-2.6") << -2.6 << -3;
    QTest::newRow("beyond top clamps") << 1e12 << std::numeric_limits<qint32>::max();
    QTest::newRow("beyond bottom clamps") << -1e12 << std::numeric_limits<qint32>::min();
}

void tst_platform::clngRoundsHalfToEven()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(CLng(value), expected);
}

void tst_platform::valReadsLeadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("blanks only") << "   " << 0.0;
    QTest::newRow("leading blank, trailing word") << " 12 Punkte" << 12.0;
    QTest::newRow("negative then letter") << "-5x" << -5.0;
    QTest::newRow("leading zero") << "056" << 56.0;
    QTest::newRow("second point stops") << "1.5.3" << 1.5;
    QTest::newRow("no digits") << "abc" << 0.0;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("comma is no decimal point") << "3,7" << 3.0;
    QTest::newRow("point first") << ".25" << 0.25;
    QTest::newRow("negative fraction") << " -0.5" << -0.5;
}

void tst_platform::valReadsLeadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(Val(text), expected);
}

void tst_platform::strPutsSignPosition_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("7") << 7.0 << " 7";
    QTest::newRow("0") << 0.0 << " 0";
    QTest::newRow("-50") << -50.0 << "-50";
    QTest::newRow("185") << 185.0 << " 185";
    QTest::newRow("large") << 1234567.0 << " 1234567";
    QTest::newRow("point in German locale") << 2.5 << " 2.5";
}

void tst_platform::strPutsSignPosition()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(Str(value), expected);
}

void tst_platform::formatSecondsUsesLocale_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("expected");
    QTest::newRow("rounds to three places") << 0.2344 << "0,234 Sekunden";
    QTest::newRow("rounds up") << 0.2346 << "0,235 Sekunden";
    QTest::newRow("negative keeps leading zero") << -0.02 << "-0,020 Sekunden";
    QTest::newRow("zero") << 0.0 << "0,000 Sekunden";
    QTest::newRow("no group separator") << 1234.5 << "1234,500 Sekunden";
    QTest::newRow("carry into whole") << 59.9996 << "60,000 Sekunden";
}

void tst_platform::formatSecondsUsesLocale()
{
    QFETCH(double, seconds);
    QFETCH(QString, expected);
    QCOMPARE(formatSeconds(seconds), expected);
}

// --- window lifecycle ---

void tst_platform::firstShowLoadsOnce()
{
    FakeServices fake;
    ProbeWindow window(fake.services);
    QVERIFY(!window.isLoaded());
    QCOMPARE(window.loads, 0);

    window.setVisible(true);
    QVERIFY(window.isLoaded());
    QVERIFY(window.Visible());
    QCOMPARE(window.loads, 1);
    QCOMPARE(window.frame()->windowTitle(), QStringLiteral("Probe"));
    QCOMPARE(window.client()->size(), QSize(300, 200));

    window.setVisible(true);
    QCOMPARE(window.loads, 1);
    QCOMPARE(window.builds, 1);
}

void tst_platform::hideKeepsLoaded()
{
    FakeServices fake;
    ProbeWindow window(fake.services);
    window.setVisible(true);
    window.setVisible(false);
    QVERIFY(window.isLoaded());
    QVERIFY(!window.Visible());
    QCOMPARE(window.unloads, 0);

    window.setVisible(true);
    QVERIFY(window.Visible());
    QCOMPARE(window.loads, 1);
}

void tst_platform::fieldsSurviveUnload()
{
    FakeServices fake;
    ProbeWindow window(fake.services);
    window.setVisible(true);
    window.remembered = QStringLiteral("bleibt");
    window.unload();
    QVERIFY(!window.isLoaded());
    QVERIFY(!window.Visible());
    QCOMPARE(window.unloads, 1);
    QCOMPARE(window.remembered, QStringLiteral("bleibt"));

    window.setVisible(true);
    QCOMPARE(window.loads, 2);
    QCOMPARE(window.remembered, QStringLiteral("bleibt"));
}

void tst_platform::reloadRebuildsDesignControls()
{
    FakeServices fake;
    ProbeWindow window(fake.services);
    window.setVisible(true);
    window.c->Label1->setText(QStringLiteral("geändert"));
    window.c->Label1->move(50, 60);
    window.c->Command1->setEnabled(false);
    window.c->Timer1->setEnabled(false);

    window.unload();
    window.setVisible(true);
    QCOMPARE(window.builds, 2);
    QCOMPARE(window.c->Label1->text(), ProbeWindow::designText);
    QCOMPARE(window.c->Label1->geometry(), twipsRect(120, 120, ProbeWindow::designWidth, 300));
    QVERIFY(window.c->Command1->isEnabled());
    QVERIFY(window.c->Timer1->Enabled());
}

void tst_platform::unloadDropsControlsLater()
{
    FakeServices fake;
    ProbeWindow window(fake.services);
    window.setVisible(true);
    QPointer<QWidget> frame = window.frame();
    QPointer<QPushButton> button = window.c->Command1;

    window.unload();
    QVERIFY(window.frame() == nullptr);
    QVERIFY(window.client() == nullptr);
    QVERIFY(window.c == nullptr);
    QVERIFY(frame); // not inside the event that unloaded it
    QVERIFY(!frame->isVisible());

    deleteDeferred();
    QVERIFY(!frame);
    QVERIFY(!button);
}

void tst_platform::unloadFromOwnClickHandlerIsSafe()
{
    FakeServices fake;
    ProbeWindow window(fake.services);
    int observed = 0;
    window.onUnloaded([&] { ++observed; });
    window.unloadOnClick = true;
    window.setVisible(true);
    QPointer<QPushButton> button = window.c->Command1;

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(window.clicks, 1);
    QCOMPARE(window.unloads, 1);
    QCOMPARE(observed, 1);
    QVERIFY(!window.isLoaded());
    deleteDeferred();
    QVERIFY(!button);

    window.setVisible(true);
    QTest::mouseClick(window.c->Command1, Qt::LeftButton);
    QCOMPARE(window.clicks, 2);
    QCOMPARE(window.unloads, 2);
    QCOMPARE(observed, 2);
}

void tst_platform::closeBoxUnloads()
{
    FakeServices fake;
    ProbeWindow window(fake.services);
    int observed = 0;
    window.onUnloaded([&] { ++observed; });
    window.setVisible(true);

    QVERIFY(!window.frame()->close()); // the frame itself stays to the owner
    QVERIFY(!window.isLoaded());
    QCOMPARE(window.unloads, 1);
    QCOMPARE(observed, 1);
}

void tst_platform::unloadInsideFormUnloadHasNoEffect()
{
    FakeServices fake;
    ProbeWindow window(fake.services);
    int observed = 0;
    window.onUnloaded([&] { ++observed; });
    window.unloadAgainInUnload = true;
    window.setVisible(true);

    window.unload();
    QCOMPARE(window.unloads, 1);
    QCOMPARE(observed, 1);
    QVERIFY(!window.isLoaded());

    window.unload(); // already unloaded: nothing runs
    QCOMPARE(window.unloads, 1);
    QCOMPARE(observed, 1);
}

void tst_platform::unloadInsideFormLoadLeavesWindowUnloaded()
{
    FakeServices fake;
    ProbeWindow window(fake.services);
    window.unloadInLoad = true;
    window.setVisible(true);
    QCOMPARE(window.loads, 1);
    QCOMPARE(window.unloads, 1);
    QVERIFY(!window.isLoaded());
    QVERIFY(!window.Visible());
}

void tst_platform::unloadStopsTimers()
{
    FakeServices fake;
    ProbeWindow window(fake.services);
    window.setVisible(true);
    QPointer<QTimer> running = window.c->Timer1->findChild<QTimer *>();
    QVERIFY(running);
    QVERIFY(running->isActive());

    window.unload();
    QVERIFY(running);
    QVERIFY(!running->isActive()); // no tick reaches a window whose controls are gone
}

// --- timers ---

void tst_platform::timerDropsNestedTick()
{
    FakeServices fake;
    Timer waiting(750);
    Timer other(10);
    waiting.setEnabled(true);
    other.setEnabled(true);
    int waitingTicks = 0;
    int otherTicks = 0;
    bool flaggedInside = false;
    waiting.onTick([&] {
        ++waitingTicks;
        fake.services.dialogs.MsgBox(QStringLiteral("Bitte warten"), vbOKOnly, QStringLiteral("Probe"));
    });
    other.onTick([&] { ++otherTicks; });
    fake.dialogs.whileOpen = [&] {
        flaggedInside = waiting.inHandler();
        waiting.tick(); // falls due while its own handler waits: dropped
        other.tick();
        other.tick();
    };

    waiting.tick();
    QCOMPARE(waitingTicks, 1);
    QCOMPARE(otherTicks, 2);
    QVERIFY(flaggedInside);
    QVERIFY(!waiting.inHandler());
    QCOMPARE(fake.dialogs.shown.size(), 1);

    // Once the handler has returned, the timer ticks again.
    fake.dialogs.whileOpen = {};
    waiting.tick();
    QCOMPARE(waitingTicks, 2);
}

void tst_platform::timerEnabledRunsPreciseQTimer()
{
    Timer timer(2000);
    auto *qtimer = timer.findChild<QTimer *>();
    QVERIFY(qtimer);
    QCOMPARE(qtimer->timerType(), Qt::PreciseTimer);
    QVERIFY(!timer.Enabled());
    QVERIFY(!qtimer->isActive());

    timer.setEnabled(true);
    QVERIFY(qtimer->isActive());
    QCOMPARE(qtimer->interval(), 2000);

    timer.setInterval(1500);
    QCOMPARE(timer.Interval(), 1500);
    QVERIFY(qtimer->isActive());
    QCOMPARE(qtimer->interval(), 1500);

    timer.setEnabled(false);
    QVERIFY(!qtimer->isActive());
    timer.setInterval(500); // a new interval does not switch a disabled timer on
    QVERIFY(!qtimer->isActive());
    timer.setEnabled(true);
    QVERIFY(qtimer->isActive());
    QCOMPARE(qtimer->interval(), 500);

    timer.setInterval(0); // an interval of 0 keeps it silent
    QVERIFY(timer.Enabled());
    QVERIFY(!qtimer->isActive());
}

void tst_platform::disabledTimerDoesNotTick()
{
    Timer timer(100);
    int ticks = 0;
    timer.onTick([&] { ++ticks; });
    timer.tick();
    QCOMPARE(ticks, 0);

    timer.setEnabled(true);
    timer.tick();
    QCOMPARE(ticks, 1);

    timer.setEnabled(false);
    timer.tick();
    QCOMPARE(ticks, 1);
}

// --- menus ---

void tst_platform::checkItemKeepsMarkWhenTriggered_data()
{
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("handlerSets"); // -1: the handler leaves the mark alone
    QTest::addColumn<bool>("expected");
    QTest::newRow("unmarked, handler silent") << false << -1 << false;
    QTest::newRow("marked, handler silent") << true << -1 << true;
    QTest::newRow("unmarked, handler marks") << false << 1 << true;
    QTest::newRow("marked, handler clears") << true << 0 << false;
    QTest::newRow("marked, handler marks again") << true << 1 << true;
}

void tst_platform::checkItemKeepsMarkWhenTriggered()
{
    QFETCH(bool, checked);
    QFETCH(int, handlerSets);
    QFETCH(bool, expected);

    QMenuBar bar;
    QMenu *menu = makeMenu(&bar, QStringLiteral("Modus"));
    int calls = 0;
    QAction *item = nullptr;
    item = makeCheckItem(menu, QStringLiteral("leicht"), checked, [&] {
        ++calls;
        if (handlerSets >= 0)
            item->setChecked(handlerSets == 1);
    });
    QVERIFY(item->isCheckable());
    QCOMPARE(item->isChecked(), checked);

    item->trigger();
    QCOMPARE(calls, 1);
    QCOMPARE(item->isChecked(), expected);
}

// --- fitting design texts ---

void tst_platform::fitToBoxLabel_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<bool>("keepsSize");
    const QString longText = QStringLiteral("Ein recht langer Text, der in seinem Kasten umbrechen muss und ihn "
                                            "bei zwölf Punkten fett sicher überfüllt, weil er so lang ist.");
    QTest::newRow("fits already") << QStringLiteral("kurz") << QSize(200, 40) << true;
    QTest::newRow("too tall when wrapped") << longText << QSize(200, 80) << false;
    QTest::newRow("one word too wide") << QStringLiteral("Kreuzworträtsellexikon") << QSize(120, 40) << false;
}

void tst_platform::fitToBoxLabel()
{
    QFETCH(QString, text);
    QFETCH(QSize, box);
    QFETCH(bool, keepsSize);
    QWidget client;
    QLabel *label = makeLabel(&client, text, QRect(QPoint(0, 0), box));
    label->setFont(designFont(12, true));

    fitToBox(label);
    QCOMPARE(label->font().pointSizeF() == 12.0, keepsSize);
    QVERIFY(label->font().pointSizeF() >= 6.0);
    QVERIFY(label->font().bold());
    const QRect needed = QFontMetrics(label->font())
                             .boundingRect(QRect(QPoint(0, 0), box), Qt::TextWordWrap | label->alignment(), text);
    QVERIFY2(needed.width() <= box.width() && needed.height() <= box.height(), qPrintable(QDebug::toString(needed)));
    // The largest size that fits: half a point more would overflow.
    if (!keepsSize) {
        QFont larger = label->font();
        larger.setPointSizeF(larger.pointSizeF() + 0.5);
        const QRect over
            = QFontMetrics(larger).boundingRect(QRect(QPoint(0, 0), box), Qt::TextWordWrap | label->alignment(), text);
        QVERIFY(over.width() > box.width() || over.height() > box.height());
    }
}

void tst_platform::fitToBoxButtonsShareOneSize()
{
    QWidget client;
    QPushButton *shortText = makeButton(&client, QStringLiteral("Ende"), QRect(0, 0, 113, 33));
    QPushButton *longText = makeButton(&client, QStringLiteral("Gedächtnistrainning"), QRect(0, 40, 113, 33));
    QFont start = shortText->font();
    start.setPointSizeF(9);
    shortText->setFont(start);
    longText->setFont(start);

    fitToBox({ shortText, longText });
    QCOMPARE(shortText->font(), longText->font());
    QVERIFY(longText->font().pointSizeF() < 9);
    QVERIFY(longText->font().pointSizeF() >= 6);
    QVERIFY(QFontMetrics(longText->font()).horizontalAdvance(longText->text()) < longText->width());

    QPushButton *impossible
        = makeButton(&client, QStringLiteral("viel zu langer Text für so wenig Platz"), QRect(0, 80, 40, 33));
    impossible->setFont(start);
    fitToBox({ impossible });
    QCOMPARE(impossible->font().pointSizeF(), 6.0); // no further than readable
}

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
