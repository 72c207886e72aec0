// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakeservices.h"
#include "platform/access.h"
#include "platform/controls.h"
#include "platform/fittingcache.h"
#include "platform/realservices.h"
#include "platform/runtime.h"
#include "platform/timer.h"
#include "platform/window.h"

#include <QTest>
#include <QtWidgets>
#include <algorithm>
#include <functional>

using namespace platform;

namespace {

// A small window that counts its lifecycle events and can unload itself from
// inside its own handlers, the way the test windows leave.
class ProbeWindow : public Window
{
public:
    using Window::Window;

    QPushButton *Command1 = nullptr;
    Timer *Timer1 = nullptr;
    int loads = 0, unloads = 0;
    QString remembered; // a plain field: it must outlive the controls

    std::optional<int> question() { return ask(QStringLiteral("Wirklich?"), vbYesNo, QStringLiteral("Probe")); }

protected:
    void createControls(QWidget *client, QMenuBar *) override
    {
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

// Call, input, the result as text, so that all conversions of numbers and texts share one table.
const char *const conversionRows[][3] = {
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
    { "formatSeconds in English", "1234.5", "1234.500 Sekunden" },
    // withMnemonic marks the Alt letter where "|" stands, an '&' of the text kept as one; shownText takes the
    // marks out again, a lone '&' at the end kept.
    { "withMnemonic", "|Info", "&Info" }, { "withMnemonic", "E|nde", "E&nde" }, { "withMnemonic", "5|0", "5&0" },
    { "withMnemonic", "A & |B & C", "A && &B && C" }, { "shownText", "A && &B && C", "A & B & C" },
    { "shownText", "&Info", "Info" }, { "shownText", "5&0", "50" }, { "shownText", "Ende&", "Ende&" }
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

    // A list folder beside the program only where a file can be made there: not in a missing folder nor where
    // a file stands in its place; the probe leaves nothing behind. Else the data folder, named after the program.
    void listFolderBesideTheProgramOnlyWhenWritable()
    {
        const QTemporaryDir temporary;
        const QDir top(temporary.path());
        QFile file(top.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(QList<bool>({ canCreateFileIn(top.path()), canCreateFileIn(top.filePath("gone")),
                     canCreateFileIn(file.fileName()) }),
            QList<bool>({ true, false, false }));
        QCOMPARE(top.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList { "file" });
        QStandardPaths::setTestModeEnabled(true);
        setIdentity(); // the data folder with no organisation folder above it
        QCOMPARE(QStringList({ QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).section('/', -2),
                     QGuiApplication::desktopFileName(), QCoreApplication::applicationVersion() }),
            QStringList({ "share/korvane", "de.korvane.korvane", KORVANE_VERSION }));
    }

    void conversions_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(conversionRows)); ++row)
            QTest::addRow("%s(\"%s\")", conversionRows[row][0], conversionRows[row][1]) << row;
    }
    void conversions()
    {
        QFETCH(int, row);
        const auto [call, input, expected] = conversionRows[row];
        const QString text = QString::fromUtf8(input);
        const double number = text.toDouble();
        if (QByteArray(call).endsWith(" in English")) // on a system in another language: its separator
            QLocale::setDefault(QLocale(QLocale::English));
        const QHash<QString, QString> results { { "Int", QString::number(Int(number)) },
            { "CLng", QString::number(CLng(number)) }, { "Val", QString::number(Val(text)) }, { "Str", Str(number) },
            { "formatSeconds", formatSeconds(number) },
            { "withMnemonic", withMnemonic(QString(text).remove('|'), text.indexOf('|')) },
            { "shownText", shownText(text) } };
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(results.value(QString::fromUtf8(call).remove(" in English")), QString::fromUtf8(expected));
    }

    // The leave button unloads from inside its own click: plain fields stay, the
    // widgets go only after that event, and the next load rebuilds them as designed.
    // A box answers only while the window stays loaded: its close box, clicked while
    // a box is open, unloads it once; a repeated unload does nothing.
    void unloadKeepsFieldsReloadRebuildsAndAskAnswersOnlyWhileLoaded()
    {
        FakeServices fake;
        ProbeWindow window(fake.services, QStringLiteral("Probe"), QSize(4500, 3000));
        int observed = 0;
        window.onUnloaded([&] { ++observed; });
        window.setVisible(true);
        window.remembered = QStringLiteral("bleibt");
        window.Command1->setText(QStringLiteral("geändert"));
        QPointer<QWidget> frame = window.frame();
        QPointer<QPushButton> button = window.Command1;
        QPointer<QTimer> running = window.Timer1->findChild<QTimer *>();

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!window.isLoaded() && !running->isActive()); // no tick reaches a window whose controls are gone
        QVERIFY(frame && button); // deleted only once the click is done
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!frame && !button);

        window.setVisible(true);
        QCOMPARE(std::tuple(window.client()->size(), window.loads, window.remembered, window.Command1->text(),
                     window.Timer1->Enabled()),
            std::tuple(QSize(300, 200), 2, QStringLiteral("bleibt"), QStringLiteral("Verlassen"), true));
        fake.dialogs.answers = { vbYes };
        QCOMPARE(window.question().value_or(-1), int(vbYes));
        fake.dialogs.whileOpen = [&] { QVERIFY(!window.frame()->close()); }; // the frame itself stays to the owner
        QCOMPARE(window.question().value_or(-1), -1);
        window.unload();
        QCOMPARE(std::tuple(window.isLoaded(), window.unloads, observed), std::tuple(false, 2, 2));
    }

    // A timer ticks only enabled and with an interval (0 stays silent), and never inside its own handler:
    // while that waits in a box, its own ticks that fall due are dropped, other timers' are not.
    void timerTicksOnlyEnabledAndNeverInItsOwnHandler()
    {
        FakeServices fake;
        Timer waiting("w", 750, nullptr), other("o", 1, nullptr), disabled("d", 10, nullptr), silent("s", 0, nullptr);
        const QList<Timer *> timers { &waiting, &other, &disabled, &silent };
        QString ticks, running;
        for (Timer *timer : timers) {
            timer->onTick([&, timer] {
                ticks += timer->objectName();
                if (timer == &waiting) // all fall due again while it waits in its box
                    fake.services.dialogs.MsgBox(QStringLiteral("Bitte warten"), vbOKOnly, QStringLiteral("Probe"));
            });
            timer->setEnabled(true);
            timer->setEnabled(timer != &disabled); // disabled while it waits: it no longer wakes the program
            running += timer->findChild<QTimer *>()->isActive() ? timer->objectName() : QString();
        }
        fake.dialogs.whileOpen = [&] { std::ranges::for_each(timers, &Timer::tick); };
        waiting.tick();
        fake.dialogs.whileOpen = {};
        waiting.tick(); // once the handler has returned, it ticks again
        QCOMPARE(std::pair(ticks, running), std::pair(QStringLiteral("wow"), QStringLiteral("wo")));
    }

    // Each wait counts from when the tick before was due, so lateness never adds up.
    void timersKeepToTheirTimeline_data()
    {
        // ms on the fake clock: when the first tick (due at 750) comes, then when the ticking timer is due next
        // and when the timer it enables is due.
        QTest::addColumn<QList<qint64>>("times");
        QTest::newRow("on time") << QList<qint64> { 750, 1500, 2250 };
        QTest::newRow("12 ms late") << QList<qint64> { 762, 1500, 2250 };
        QTest::newRow("a whole wait late: the next at once") << QList<qint64> { 1500, 1500, 2250 };
        QTest::newRow("later than a whole wait: afresh from now") << QList<qint64> { 1600, 2350, 2250 };
    }
    void timersKeepToTheirTimeline()
    {
        QFETCH(QList<qint64>, times);
        qint64 now = 0;
        Timer::setClock([&now] { return now * 1'000'000; });
        Timer gap("Timer1", 750, nullptr), shown("Timer2", 1500, nullptr);
        gap.onTick([&] { shown.setEnabled(true); });
        gap.setEnabled(true);
        now = times[0];
        gap.tick();
        Timer::setClock({});
        QCOMPARE(QList<qint64>({ now, gap.nextDue() / 1'000'000, shown.nextDue() / 1'000'000 }), times);
    }

    // The real input box gives the text when confirmed, nothing when cancelled; the real message box warns with its
    // icon only where the program asks for the exclamation mark.
    void realBoxes()
    {
        RealDialogs dialogs;
        QStringList answers;
        QList<QMessageBox::Icon> icons;
        for (bool confirm : { true, false }) {
            QTimer::singleShot(
                0, [confirm] { static_cast<QDialog *>(QApplication::activeModalWidget())->done(confirm); });
            answers << dialogs.InputBox(QStringLiteral("Wie viele?"), QStringLiteral("Anzahl"), QStringLiteral("12"));
        }
        for (int buttons : { vbOKOnly | vbExclamation, vbYesNo | vbExclamation, int(vbOKOnly), int(vbYesNo) }) {
            QTimer::singleShot(0, [&icons] {
                icons << static_cast<QMessageBox *>(QApplication::activeModalWidget())->icon();
                QApplication::activeModalWidget()->close();
            });
            dialogs.MsgBox(QStringLiteral("Achtung"), buttons, QStringLiteral("Probe"));
        }
        QCOMPARE(std::pair(answers, icons),
            std::pair(QStringList({ "12", QString() }),
                QList({ QMessageBox::Warning, QMessageBox::Warning, QMessageBox::NoIcon, QMessageBox::NoIcon })));
    }

    void checkItemLeavesItsMarkToTheHandler()
    {
        QMenu menu;
        QAction *cleared = nullptr;
        const QList<QAction *> items { makeCheckItem(&menu, "leicht", "leicht", false, [] {}),
            makeCheckItem(&menu, "mittel", "mittel", true, [] {}),
            cleared = makeCheckItem(&menu, "schwer", "schwer", true, [&] { cleared->setChecked(false); }) };
        QList<bool> marks;
        for (QAction *item : items)
            marks << (item->trigger(), item->isChecked());
        QCOMPARE(marks, QList<bool>({ false, true, false }));
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
            QTest::addRow("label %d wide", width) << "label" << QRect(0, 0, width, width / 2) << QString() << 12.0;
            QTest::addRow("line edit %d wide", width) << "edit" << QRect(0, 0, width / 3, 25) << "980198" << 12.0;
            QTest::addRow("buttons %d wide", width) << "buttons" << QRect(0, 0, width / 2, 33) << "anfangen" << 12.0;
            QTest::addRow("caption %d wide", width) << "caption" << QRect(0, 0, width, 60) << caption << 12.0;
        }
        QTest::newRow("label, more to come") << "label" << QRect(0, 0, 200, 80) << wrappedText + " Und mehr." << 12.0;
        QTest::newRow("line edit, too low") << "edit" << QRect(0, 0, 200, 18) << "9801" << 12.0;
        QTest::newRow("design size off the half points") << "label" << QRect(0, 0, 150, 90) << QString() << 8.25;
        QTest::newRow("design size one step above 6") << "caption" << QRect(0, 0, 40, 60) << caption << 6.5;
        QTest::newRow("design size below a step above 6") << "caption" << QRect(0, 0, 40, 60) << caption << 6.25;
        QTest::newRow("design size below 6") << "caption" << QRect(0, 0, 40, 60) << caption << 5.0;
        const int margins = 2 * QGroupBox().style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
        QTest::newRow("no caption, no room") << "caption" << QRect(0, 0, margins, 60) << QString() << 12.0;
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
        if (kind == "label") {
            QLabel *label = makeLabel(&client, "Label1", wrappedText, box);
            fitToBox(label, text);
            fits = [=, longest = text.isEmpty() ? wrappedText : text](const QFont &font) {
                return box.contains(QFontMetrics(font).boundingRect(box, Qt::TextWordWrap, longest));
            };
        } else if (kind == "edit") {
            QLineEdit *edit = makeTextBox(&client, "Text1", box);
            fitToBox(edit, text);
            fits = [area = textArea(edit), text](const QFont &font) {
                const QFontMetrics metrics(font);
                return metrics.horizontalAdvance(text) < area.width() && metrics.height() <= area.height();
            };
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
                const QSize needed = wide->style()->sizeFromContents(QStyle::CT_PushButton, &option, textSize);
                return needed.width() <= wide->width() && needed.height() <= wide->height();
            };
        } else {
            QGroupBox *panel = makePanel(&client, "Frame1", text, box);
            fitCaption(panel);
            const int room = box.width() - 2 * panel->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
            fits = [=](const QFont &font) { return QFontMetrics(font).horizontalAdvance(text) <= room; };
        }
        QFont stepped = designFont(designSize, true);
        while (!fits(stepped) && stepped.pointSizeF() - 0.5 >= 6)
            stepped.setPointSizeF(stepped.pointSizeF() - 0.5);
        const QWidget *fitted = client.findChild<QWidget *>(QString(), Qt::FindDirectChildrenOnly); // the first made
        QCOMPARE(fitted->font().pointSizeF(), stepped.pointSizeF());
    }

    // The cache answers only with sizes the search could have found, keeps
    // them for the same environment, and writes its file only when it learnt something.
    void theCacheKeepsWhatTheSearchCouldHaveFound_data()
    {
        QTest::addColumn<double>("remembered");
        QTest::addColumn<bool>("answered");
        QTest::newRow("a step below the design size") << 11.5 << true;
        QTest::newRow("the design size") << 12.0 << true;
        QTest::newRow("6 pt") << 6.0 << true;
        QTest::newRow("above the design size") << 12.5 << false;
        QTest::newRow("off the half points") << 7.25 << false;
        QTest::newRow("below 6") << 5.5 << false;
    }
    void theCacheKeepsWhatTheSearchCouldHaveFound()
    {
        QFETCH(double, remembered);
        QFETCH(bool, answered);
        const std::optional<double> expected = answered ? std::optional(remembered) : std::nullopt;
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("fitting"));
        FittingCache cache(file, "test");
        cache.remember(QStringLiteral("Text"), remembered);
        QCOMPARE(cache.find(QStringLiteral("Text"), 12), expected);
        cache.save();
        QCOMPARE(FittingCache(file, "test").find(QStringLiteral("Text"), 12), expected);
        QVERIFY(QFile::remove(file));
        cache.save();
        QVERIFY(!QFile::exists(file));
    }

    // The file cannot grow without end: with a size for every text there is room for, the next starts afresh.
    void aFullCacheStartsAfresh()
    {
        FittingCache cache(QString(), "test");
        for (int text = 0; text <= 500; ++text)
            cache.remember(QString::number(text), 11.5);
        QCOMPARE(std::pair(cache.find("499", 12), cache.find("500", 12)),
            std::pair(std::optional<double>(), std::optional(11.5)));
    }

    // Fonts installed or configured for the user make sizes found before void.
    void userFontSettingsAreOfTheEnvironment()
    {
        QStandardPaths::setTestModeEnabled(true);
        QDir settings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/fontconfig");
        settings.removeRecursively();
        const QByteArray without = fittingEnvironment();
        QVERIFY(settings.mkpath(QStringLiteral(".")));
        QVERIFY(fittingEnvironment() != without);
        settings.removeRecursively();
    }

    // A size from the cache is taken only where the text fits at it, and only
    // from a file for the same environment.
    void aRememberedSizeIsCheckedBeforeItIsTaken_data()
    {
        QTest::addColumn<QByteArray>("stored"); // the size the file holds in place of the one found
        QTest::addColumn<QByteArray>("environment");
        QTest::addColumn<bool>("taken");
        QTest::newRow("smaller, still fits") << QByteArray("7") << QByteArray("test") << true;
        QTest::newRow("for another environment") << QByteArray("7") << QByteArray("other") << false;
        QTest::newRow("too large to fit") << QByteArray("11.5") << QByteArray("test") << false;
        QTest::newRow("not a number") << QByteArray("sieben") << QByteArray("test") << false;
    }
    void aRememberedSizeIsCheckedBeforeItIsTaken()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, environment);
        QFETCH(bool, taken);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("fitting"));
        const auto fitLabel = [&](const QByteArray &environment) {
            FittingCache cache(file, environment);
            FittingCache::use(&cache);
            QWidget client;
            client.setFont(designFont(12, true));
            QLabel *label = makeLabel(&client, "Label1", wrappedText, QRect(0, 0, 200, 80));
            fitToBox(label);
            const double size = label->font().pointSizeF();
            FittingCache::use(nullptr);
            cache.save();
            return size;
        };
        const double found = fitLabel("test");
        QVERIFY(found > 8 && found < 11.5);
        QCOMPARE(fitLabel("test"), found); // as it was remembered

        QFile cacheFile(file);
        QVERIFY(cacheFile.open(QIODevice::ReadWrite));
        QList<QByteArray> lines = cacheFile.readAll().split('\n'); // the heading, then one size
        QCOMPARE(lines.size(), 3);
        lines[1] = lines[1].split(' ').first() + ' ' + stored;
        cacheFile.resize(0);
        cacheFile.write(lines.join('\n'));
        cacheFile.close();
        QCOMPARE(fitLabel(environment), taken ? stored.toDouble() : found);
    }

    // Return and Enter click a made button as Space does and go no further; a held key clicks once, other keys
    // not at all and reach the window. A control given a back colour shows it, not its parent's.
    void returnClicksAButtonAndABackColourShows()
    {
        QWidget client;
        QPushButton *button = makeButton(&client, "Command1", QStringLiteral("OK"), QRect(0, 0, 80, 25));
        setBackColor(makeLabel(&client, "Label1", QString(), QRect(0, 30, 10, 10)), Qt::red);
        QString seen; // c: a click, w: a key that reached the window
        QObject::connect(button, &QPushButton::clicked, [&seen] { seen += 'c'; });
        onKeyPress(&client, [&seen](int) { return seen += 'w', false; });
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(button, &held);
        for (Qt::Key key : { Qt::Key_Return, Qt::Key_Enter, Qt::Key_A })
            QTest::keyClick(button, key);
        QCOMPARE(std::tuple(seen, button->autoDefault(), client.grab().toImage().pixelColor(5, 35)),
            std::tuple(QStringLiteral("ccw"), false, QColor(Qt::red)));
    }
};

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
