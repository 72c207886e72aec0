#include "drillfixture.h"
#include "platform/timer.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>

using namespace fixture;

namespace {

enum RangeItem { z10, z20, z100 };

const drill::Range &rangeOf(int item)
{
    static const drill::Range ranges[] = { drill::upToTen, drill::tenToTwenty, drill::tenToHundred };
    return ranges[item];
}

const QString noEntryPrompt
    = QStringLiteral(" Sie haben 0 Punkte erreicht das gibt keinen Eintrag in die Highscoreliste!");
const QString noEntryTitle = QStringLiteral("Das könnte noch besser werden");

// The arithmetic window on fake services, loaded and shown.
struct Drill
{
    FakeServices fake;
    Form4 form { fake.services };
    drill::Range range = drill::upToTen;

    Drill() { form.setVisible(true); }
    const Form4::Controls &c() const { return form.controls(); }

    void choose(int item)
    {
        const Form4::Controls &controls = c();
        QAction *items[] = { controls.z10, controls.z20, controls.z100 };
        items[item]->trigger();
        range = rangeOf(item);
    }
    void tasks(const QList<Task> &next) { scriptTasks(fake.random, next, range); }
    void start() { QTest::mouseClick(c().Command1, Qt::LeftButton); }
    void type(const QString &keys) { typeKeys(c().Text1, keys); }
    void tick(int times)
    {
        for (int i = 0; i < times; ++i)
            form.Timer1_Timer();
    }
    // Starts a drill and answers the tasks right, one after another; the
    // largest task of the range is on show afterwards.
    void answerRight(const QList<Task> &answered)
    {
        const int highest = range.lowfactor + range.factorspan - 1;
        tasks(answered + QList<Task> { { highest, highest } });
        start();
        for (const Task &task : answered)
            type(QString::number(task.first * task.second));
    }
    bool idle() const
    {
        return c().Command1->isVisibleTo(c().Command1->parentWidget()) && c().Command2->isHidden()
            && c().Text1->isHidden() && c().Label1->text().isEmpty() && c().Label2->text().isEmpty()
            && c().Label3->text().isEmpty() && !c().Timer1->Enabled() && rangeMenuEnabled(form);
    }
};

QColor colourOf(const QWidget *widget, QPalette::ColorRole role)
{
    return widget->palette().color(role);
}

} // namespace

class TestForm4 : public QObject
{
    Q_OBJECT

private slots:
    void windowHasDesignCaptionSizeAndBackground();
    void controlsHaveDesignPlaces_data();
    void controlsHaveDesignPlaces();
    void drillTextsHaveDesignLooks_data();
    void drillTextsHaveDesignLooks();
    void longTextsFitTheirPanels();
    void panelsHaveDesignTexts();
    void menuBarHasDesignEntries();

    void factorsCoverTheirRange_data();
    void factorsCoverTheirRange();
    void rangeMarksFollowTheChoice();
    void startShowsTheRunningDrill();
    void judging_data();
    void judging();
    void fastTypingJudgesOnlyTheTaskOnShow_data();
    void fastTypingJudgesOnlyTheTaskOnShow();
    void heldKeyIsJudgedOnce();
    void pointsPerRange_data();
    void pointsPerRange();
    void endWithoutListOpensEntryPanel();
    void endWithList_data();
    void endWithList();
    void cancelResets();
    void rangeMenuDuringAndAfterDrills();
    void newDrillWhileEntryOpenKeepsEarlierPoints();
    void failedSaveKeepsEntryPanelOpen();

    void helpPanelLeavesDrillRunning();
    void listPanel();
    void closingDuringDrillReopensIdle();
    void closingWithOpenEntryWritesNothing();
    void leaveMenuShowsStart();
};

void TestForm4::windowHasDesignCaptionSizeAndBackground()
{
    Drill drill;
    QVERIFY(drill.form.Visible());
    QCOMPARE(drill.form.frame()->windowTitle(), QStringLiteral("Wer ist der beste im Kopfrechnen"));
    QCOMPARE(drill.form.client()->size(), QSize(471, 365));
    QVERIFY(drill.form.client()->autoFillBackground());
    QCOMPARE(colourOf(drill.form.client(), QPalette::Window), QColor(0, 0, 0));
    QCOMPARE(drill.fake.random.seeded, 1);
    QVERIFY(drill.fake.dialogs.shown.isEmpty());
}

void TestForm4::controlsHaveDesignPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<bool>("shownAtFirst");
    QTest::newRow("Label1") << "Label1" << QRect(168, 120, 145, 41) << true;
    QTest::newRow("Text1") << "Text1" << QRect(192, 240, 81, 41) << false;
    QTest::newRow("Command1") << "Command1" << QRect(184, 328, 105, 33) << true;
    QTest::newRow("Command2") << "Command2" << QRect(184, 328, 105, 33) << false;
    QTest::newRow("Label2") << "Label2" << QRect(8, 336, 153, 25) << true;
    QTest::newRow("Label3") << "Label3" << QRect(312, 336, 153, 25) << true;
    QTest::newRow("Frame1") << "Frame1" << QRect(128, 128, 225, 161) << false;
    QTest::newRow("Label5") << "Label5" << QRect(16, 32, 193, 33) << true;
    QTest::newRow("Text2") << "Text2" << QRect(16, 64, 193, 25) << true;
    QTest::newRow("Command3") << "Command3" << QRect(72, 112, 73, 25) << true;
    QTest::newRow("Frame2") << "Frame2" << QRect(72, 0, 249, 177) << false;
    QTest::newRow("List1") << "List1" << QRect(0, 16, 241, 134) << true;
    QTest::newRow("Command4") << "Command4" << QRect(32, 152, 177, 17) << true;
    QTest::newRow("Frame3") << "Frame3" << QRect(144, 0, 313, 185) << false;
    QTest::newRow("Label4") << "Label4" << QRect(8, 8, 297, 121) << true;
    QTest::newRow("Command5") << "Command5" << QRect(200, 152, 105, 25) << true;
}

void TestForm4::controlsHaveDesignPlaces()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QFETCH(bool, shownAtFirst);
    Drill drill;
    const Form4::Controls &c = drill.c();
    const std::pair<const char *, QWidget *> widgets[] = {
        { "Label1", c.Label1 },
        { "Text1", c.Text1 },
        { "Command1", c.Command1 },
        { "Command2", c.Command2 },
        { "Label2", c.Label2 },
        { "Label3", c.Label3 },
        { "Frame1", c.Frame1 },
        { "Label5", c.Label5 },
        { "Text2", c.Text2 },
        { "Command3", c.Command3 },
        { "Frame2", c.Frame2 },
        { "List1", c.List1 },
        { "Command4", c.Command4 },
        { "Frame3", c.Frame3 },
        { "Label4", c.Label4 },
        { "Command5", c.Command5 },
    };
    QWidget *widget = nullptr;
    for (const auto &[widgetName, candidate] : widgets) {
        if (name == QLatin1String(widgetName))
            widget = candidate;
    }
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), pixels);
    QCOMPARE(!widget->isHidden(), shownAtFirst);
}

void TestForm4::drillTextsHaveDesignLooks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<double>("pointSize");
    QTest::addColumn<QString>("longest");
    QTest::newRow("Label1 task") << "Label1" << QColor(0, 192, 0) << 24.0 << " 99 x 99";
    QTest::newRow("Text1 answer") << "Text1" << QColor(192, 0, 0) << 24.0 << "9801";
    QTest::newRow("Label2 points") << "Label2" << QColor(255, 255, 0) << 13.5 << " 9999 Punkte";
    QTest::newRow("Label3 countdown") << "Label3" << QColor(255, 0, 0) << 12.0 << "Noch 59 Sekunden";
}

void TestForm4::drillTextsHaveDesignLooks()
{
    QFETCH(QString, name);
    QFETCH(QColor, colour);
    QFETCH(double, pointSize);
    QFETCH(QString, longest);
    Drill drill;
    const Form4::Controls &c = drill.c();
    QWidget *widget = name == QLatin1String("Label1") ? static_cast<QWidget *>(c.Label1)
        : name == QLatin1String("Text1")              ? static_cast<QWidget *>(c.Text1)
        : name == QLatin1String("Label2")             ? static_cast<QWidget *>(c.Label2)
                                                      : static_cast<QWidget *>(c.Label3);
    const QPalette::ColorRole textRole = widget == c.Text1 ? QPalette::Text : QPalette::WindowText;
    QCOMPARE(colourOf(widget, textRole), colour);
    // Disabled at the end of a drill, the answer keeps its colours.
    QCOMPARE(widget->palette().color(QPalette::Disabled, textRole), colour);
    QVERIFY(widget->font().bold());
    if (widget == c.Text1)
        QCOMPARE(colourOf(widget, QPalette::Base), QColor(0, 0, 0));
    else
        QVERIFY(!widget->autoFillBackground()); // the black window shows through

    // The design size, or as much less as the longest text needs to show whole.
    const QFont font = widget->font();
    QVERIFY(font.pointSizeF() <= pointSize);
    if (widget == c.Text1) {
        c.Text1->setText(longest);
        c.Text1->end(false);
        c.Text1->grab(); // lays the text out as shown, scrolled where it is too long
        QCOMPARE(c.Text1->cursorPositionAt(QPoint(1, c.Text1->height() / 2)), 0);
    } else {
        QFont larger = font;
        larger.setPointSizeF(font.pointSizeF() + 0.5);
        QVERIFY(QFontMetrics(font).horizontalAdvance(longest) <= widget->width());
        if (font.pointSizeF() < pointSize)
            QVERIFY(QFontMetrics(larger).horizontalAdvance(longest) > widget->width());
    }
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        QVERIFY(label->text().isEmpty());
        QVERIFY(!label->wordWrap());
    }
}

void TestForm4::longTextsFitTheirPanels()
{
    Drill drill;
    const Form4::Controls &c = drill.c();
    QVERIFY(c.Label4->heightForWidth(c.Label4->width()) <= c.Label4->height());
    QVERIFY(c.Label4->font().pointSizeF() <= 12.0);
    QVERIFY(c.Frame1->minimumSizeHint().width() <= c.Frame1->width());
}

void TestForm4::panelsHaveDesignTexts()
{
    Drill drill;
    const Form4::Controls &c = drill.c();
    QCOMPARE(c.Command1->text(), QStringLiteral("Auf geht's"));
    QCOMPARE(c.Command2->text(), QStringLiteral("Abbrechen"));
    QCOMPARE(c.Frame1->title(), QStringLiteral("Eintrag in die Liste der Schnellrechner"));
    QCOMPARE(c.Label5->text(), QStringLiteral("Label5"));
    QVERIFY(c.Text2->text().isEmpty());
    QCOMPARE(c.Command3->text(), QStringLiteral("ok"));
    QCOMPARE(c.Frame2->title(), QStringLiteral("Frame2"));
    QCOMPARE(c.List1->count(), 0);
    QCOMPARE(c.Command4->text(), QStringLiteral("ok"));
    QVERIFY(c.Frame3->title().isEmpty());
    QCOMPARE(c.Label4->text(),
        QStringLiteral("Nach dem Start geben Sie einfach die Lösung der Aufgabe ein ohne mit Return zu bestätigen. "
                       "Es werden immer wieder neue Aufgaben gestellt bis die Zeit abgelaufen ist. Unter "
                       "Einstellungen können Sie die Schwierigkeit bestimmen."));
    QCOMPARE(colourOf(c.Label4, QPalette::Window), QColor(255, 224, 192));
    QCOMPARE(colourOf(c.Frame3, QPalette::Window), QColor(255, 224, 192));
    QVERIFY(c.Frame3->autoFillBackground());
    // The entry and list panels are opaque, not black like the window behind them.
    QVERIFY(c.Frame1->autoFillBackground());
    QVERIFY(colourOf(c.Frame1, QPalette::Window) != QColor(0, 0, 0));
    QVERIFY(c.Frame2->autoFillBackground());
    QVERIFY(colourOf(c.List1, QPalette::Base) != QColor(0, 0, 0));
    QCOMPARE(c.Timer1->Interval(), 1000);
    QVERIFY(!c.Timer1->Enabled());
}

void TestForm4::menuBarHasDesignEntries()
{
    Drill drill;
    const Form4::Controls &c = drill.c();
    const QList<QAction *> titles = drill.form.frame()->menuBar()->actions();
    QStringList captions;
    for (const QAction *title : titles)
        captions << title->text();
    QCOMPARE(captions,
        QStringList({ QStringLiteral("Einstellung"), QStringLiteral("Liste der Schnellrechner"),
            QStringLiteral("Hilfe"), QStringLiteral("Ende") }));
    QCOMPARE(titles[0]->menu(), c.eins);
    QCOMPARE(titles[1], c.lis);
    QCOMPARE(titles[2], c.hilf);
    QCOMPARE(titles[3]->menu(), c.enden);

    QCOMPARE(c.eins->actions(), QList<QAction *>({ c.z10, c.z20, c.z100 }));
    QCOMPARE(c.z10->text(), QStringLiteral("Zahlen von 1 bis 10 miteinander multiplizieren"));
    QCOMPARE(c.z20->text(), QStringLiteral("Zahlen von 10 bis 20 miteinander multiplizieren"));
    QCOMPARE(c.z100->text(), QStringLiteral("Zahlen von 10 bis 100 miteinander multiplizieren"));
    QCOMPARE(rangeMarks(drill.form), QList<bool>({ true, false, false }));
    QVERIFY(rangeMenuEnabled(drill.form));

    QCOMPARE(c.enden->actions(), QList<QAction *> { c.verlass });
    QCOMPARE(c.verlass->text(), QStringLiteral("Programm verlassen"));
}

void TestForm4::factorsCoverTheirRange_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("factor");
    constexpr float justBelowOne = 0.99999994f;
    QTest::newRow("1 to 10, lowest") << int(z10) << 0.0f << 1;
    QTest::newRow("1 to 10, highest") << int(z10) << justBelowOne << 10;
    QTest::newRow("10 to 19, lowest") << int(z20) << 0.0f << 10;
    QTest::newRow("10 to 19, highest, never 20") << int(z20) << justBelowOne << 19;
    QTest::newRow("10 to 99, lowest") << int(z100) << 0.0f << 10;
    QTest::newRow("10 to 99, highest, never 100") << int(z100) << justBelowOne << 99;
}

void TestForm4::factorsCoverTheirRange()
{
    QFETCH(int, item);
    QFETCH(float, r);
    QFETCH(int, factor);
    Drill drill;
    drill.choose(item);
    drill.fake.random.values = { r, r };
    drill.start();
    QCOMPARE(drill.fake.random.drawn, 2);
    QCOMPARE(drill.c().Label1->text(), QStringLiteral(" %1 x %1").arg(factor));
    QCOMPARE(drill.form.product, factor * factor);
}

void TestForm4::rangeMarksFollowTheChoice()
{
    Drill drill;
    drill.choose(z100);
    QCOMPARE(rangeMarks(drill.form), QList<bool>({ false, false, true }));
    QCOMPARE(drill.form.lowfactor, short(10));
    QCOMPARE(drill.form.factorspan, short(90));
    QCOMPARE(drill.form.taskpoints, 6);

    drill.choose(z10);
    QCOMPARE(rangeMarks(drill.form), QList<bool>({ true, false, false }));
    QCOMPARE(drill.form.lowfactor, short(1));
    QCOMPARE(drill.form.factorspan, short(10));
    QCOMPARE(drill.form.taskpoints, 1);

    drill.choose(z20);
    drill.choose(z20); // the range in use keeps its mark
    QCOMPARE(rangeMarks(drill.form), QList<bool>({ false, true, false }));
    QCOMPARE(drill.form.lowfactor, short(10));
    QCOMPARE(drill.form.factorspan, short(10));
    QCOMPARE(drill.form.taskpoints, 3);
}

void TestForm4::startShowsTheRunningDrill()
{
    Drill drill;
    drill.tasks({ { 7, 8 } });
    drill.start();
    const Form4::Controls &c = drill.c();
    QCOMPARE(c.Label1->text(), QStringLiteral(" 7 x 8"));
    QCOMPARE(drill.form.product, 56);
    QCOMPARE(drill.form.secondsleft, 60);
    QCOMPARE(drill.form.rightanswers, 0);
    QVERIFY(!c.Text1->isHidden());
    QVERIFY(c.Text1->isEnabled());
    QCOMPARE(drill.form.frame()->focusWidget(), c.Text1);
    QVERIFY(c.Command1->isHidden());
    QVERIFY(!c.Command2->isHidden());
    QVERIFY(c.Timer1->Enabled());
    QVERIFY(!rangeMenuEnabled(drill.form));
    QVERIFY(c.Label2->text().isEmpty());
    QVERIFY(c.Label3->text().isEmpty()); // until the first tick
    QVERIFY(c.Frame1->isHidden());
}

void TestForm4::judging_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<Task>("task");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("judgedAtKey"); // 0: never
    QTest::addColumn<bool>("right");
    const Task sevenEight { 7, 8 };
    QTest::newRow("below 10, right digit") << int(z10) << Task { 2, 3 } << "6" << 1 << true;
    QTest::newRow("below 10, wrong digit") << int(z10) << Task { 2, 3 } << "7" << 1 << false;
    QTest::newRow("below 10, Backspace on nothing") << int(z10) << Task { 2, 3 } << "\b" << 1 << false;
    QTest::newRow("below 10, Shift") << int(z10) << Task { 2, 3 } << "^" << 1 << false;
    QTest::newRow("below 10, arrow") << int(z10) << Task { 3, 3 } << "<" << 1 << false;
    QTest::newRow("below 10, not a number") << int(z10) << Task { 1, 1 } << "a" << 1 << false;
    QTest::newRow("two digits, right") << int(z10) << sevenEight << "56" << 2 << true;
    QTest::newRow("two digits, 056") << int(z10) << sevenEight << "056" << 3 << true;
    QTest::newRow("two digits, wrong of right size") << int(z10) << sevenEight << "65" << 2 << false;
    QTest::newRow("two digits, one typed") << int(z10) << sevenEight << "5" << 0 << false;
    QTest::newRow("two digits, 9.5 is above 9") << int(z10) << sevenEight << "9.5" << 3 << false;
    QTest::newRow("two digits, negative") << int(z10) << sevenEight << "-56" << 0 << false;
    QTest::newRow("two digits, not a number") << int(z10) << sevenEight << "ab" << 0 << false;
    QTest::newRow("two digits, lowest") << int(z10) << Task { 2, 5 } << "10" << 2 << true;
    QTest::newRow("three digits, right") << int(z20) << Task { 10, 19 } << "190" << 3 << true;
    QTest::newRow("three digits, lowest") << int(z20) << Task { 10, 10 } << "100" << 3 << true;
    QTest::newRow("three digits, 99 is too small") << int(z20) << Task { 10, 10 } << "99" << 0 << false;
    QTest::newRow("three digits, wrong of right size") << int(z20) << Task { 12, 13 } << "165" << 3 << false;
    QTest::newRow("four digits, right") << int(z100) << Task { 99, 99 } << "9801" << 4 << true;
    QTest::newRow("four digits, 999 is too small") << int(z100) << Task { 99, 99 } << "999" << 0 << false;
    QTest::newRow("four digits, lowest") << int(z100) << Task { 20, 50 } << "1000" << 4 << true;
    QTest::newRow("four digits, wrong of right size") << int(z100) << Task { 99, 99 } << "1000" << 4 << false;
}

void TestForm4::judging()
{
    QFETCH(int, item);
    QFETCH(Task, task);
    QFETCH(QString, keys);
    QFETCH(int, judgedAtKey);
    QFETCH(bool, right);
    Drill drill;
    drill.choose(item);
    // The next task is a large one, so that nothing after the judging judges again.
    const int highest = drill.range.lowfactor + drill.range.factorspan - 1;
    drill.tasks({ task, { highest, highest } });
    drill.start();
    const Form4::Controls &c = drill.c();

    for (int key = 1; key <= keys.size(); ++key) {
        typeKey(c.Text1, keys[key - 1]);
        const bool judged = judgedAtKey != 0 && key >= judgedAtKey;
        QCOMPARE(drill.fake.random.drawn, judged ? 4 : 2);
    }
    if (judgedAtKey == 0) {
        QCOMPARE(c.Text1->text(), keys);
        QCOMPARE(drill.form.product, task.first * task.second);
        QVERIFY(c.Label2->text().isEmpty());
        return;
    }
    QCOMPARE(drill.form.rightanswers, right ? 1 : 0);
    QCOMPARE(c.Label2->text(), right ? QStringLiteral(" %1 Punkte").arg(drill.range.taskpoints) : " 0 Punkte");
    QCOMPARE(c.Label1->text(), QStringLiteral(" %1 x %1").arg(highest));
    QCOMPARE(drill.form.product, highest * highest);
    QVERIFY(c.Text1->text().isEmpty());
    QCOMPARE(drill.form.frame()->focusWidget(), c.Text1);
}

void TestForm4::fastTypingJudgesOnlyTheTaskOnShow_data()
{
    QTest::addColumn<Task>("next");
    QTest::addColumn<bool>("sixJudges");
    QTest::newRow("next product below 10") << Task { 1, 3 } << true;
    QTest::newRow("next product 10 or more") << Task { 3, 4 } << false;
}

void TestForm4::fastTypingJudgesOnlyTheTaskOnShow()
{
    QFETCH(Task, next);
    QFETCH(bool, sixJudges);
    Drill drill;
    drill.tasks({ { 7, 8 }, next, { 9, 9 } });
    drill.start();
    QLineEdit *answer = drill.c().Text1;

    QTest::keyPress(answer, Qt::Key_5);
    QTest::keyPress(answer, Qt::Key_6);
    QTest::keyRelease(answer, Qt::Key_5);
    QCOMPARE(drill.form.rightanswers, 1);
    QCOMPARE(drill.c().Label2->text(), QStringLiteral(" 1 Punkte"));
    const QString nextTask = QStringLiteral(" %1 x %2").arg(next.first).arg(next.second);
    QCOMPARE(drill.c().Label1->text(), nextTask);
    QVERIFY(answer->text().isEmpty());

    // The release of 6 finds the box empty: 0 is judged wrong where any release judges.
    QTest::keyRelease(answer, Qt::Key_6);
    QCOMPARE(drill.fake.random.drawn, sixJudges ? 6 : 4);
    QCOMPARE(drill.c().Label1->text(), sixJudges ? QStringLiteral(" 9 x 9") : nextTask);
    QCOMPARE(drill.c().Label2->text(), QStringLiteral(" 1 Punkte"));
    QCOMPARE(drill.form.rightanswers, 1);
}

void TestForm4::heldKeyIsJudgedOnce()
{
    Drill drill;
    drill.tasks({ { 2, 3 }, { 9, 9 } });
    drill.start();
    QLineEdit *answer = drill.c().Text1;

    QTest::keyPress(answer, Qt::Key_6);
    QKeyEvent repeatedRelease(QEvent::KeyRelease, Qt::Key_6, Qt::NoModifier, QStringLiteral("6"), true);
    QApplication::sendEvent(answer, &repeatedRelease);
    QCOMPARE(drill.fake.random.drawn, 2);
    QCOMPARE(drill.form.rightanswers, 0);

    QTest::keyRelease(answer, Qt::Key_6);
    QCOMPARE(drill.fake.random.drawn, 4);
    QCOMPARE(drill.form.rightanswers, 1);
}

void TestForm4::pointsPerRange_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QList<Task>>("tasks");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("entrySentence");
    QTest::newRow("1 to 10") << int(z10) << QList<Task> { { 7, 8 }, { 2, 3 }, { 10, 10 }, { 1, 1 } } << " 4 Punkte"
                             << "Sie haben 4  Punkte errechnet.";
    QTest::newRow("10 to 19") << int(z20) << QList<Task> { { 10, 19 }, { 19, 19 }, { 12, 13 }, { 10, 10 } }
                              << " 12 Punkte"
                              << "Sie haben 12  Punkte errechnet.";
    QTest::newRow("10 to 99") << int(z100) << QList<Task> { { 99, 99 }, { 10, 10 }, { 20, 50 }, { 45, 67 } }
                              << " 24 Punkte"
                              << "Sie haben 24  Punkte errechnet.";
}

void TestForm4::pointsPerRange()
{
    QFETCH(int, item);
    QFETCH(QList<Task>, tasks);
    QFETCH(QString, points);
    QFETCH(QString, entrySentence);
    Drill drill;
    drill.choose(item);
    drill.answerRight(tasks);
    QCOMPARE(drill.form.rightanswers, 4);
    QCOMPARE(drill.c().Label2->text(), points);

    drill.tick(60);
    QVERIFY(!drill.c().Frame1->isHidden());
    QCOMPARE(drill.c().Label5->text(), entrySentence);
    QCOMPARE(drill.c().Label2->text(), points);
}

void TestForm4::endWithoutListOpensEntryPanel()
{
    Drill drill;
    drill.tasks({ { 7, 8 } });
    drill.start();
    drill.type(QStringLiteral("5")); // typed, not yet judged
    const Form4::Controls &c = drill.c();
    drill.tick(1);
    QCOMPARE(c.Label3->text(), QStringLiteral("Noch 59 Sekunden"));
    drill.tick(58);
    QCOMPARE(c.Label3->text(), QStringLiteral("Noch 1 Sekunden"));
    QVERIFY(c.Timer1->Enabled());
    QVERIFY(c.Frame1->isHidden());
    drill.tick(1);
    QVERIFY(!c.Timer1->Enabled());

    QVERIFY(drill.fake.dialogs.shown.isEmpty());
    QVERIFY(!c.Frame1->isHidden());
    QCOMPARE(c.Label5->text(), QStringLiteral("Sie haben 0  Punkte errechnet."));
    QVERIFY(c.Text2->text().isEmpty());
    QVERIFY(!c.Command1->isHidden());
    QVERIFY(c.Command2->isHidden());
    QVERIFY(!c.Text1->isHidden());
    QVERIFY(!c.Text1->isEnabled());
    QCOMPARE(c.Text1->text(), QStringLiteral("5"));
    QCOMPARE(c.Label1->text(), QStringLiteral(" 7 x 8"));
    QCOMPARE(c.Label3->text(), QStringLiteral("Noch 0 Sekunden"));
    QVERIFY(!rangeMenuEnabled(drill.form));
    QVERIFY(!drill.fake.program.dir.isEmpty());
    QVERIFY(!QFile::exists(listPath(drill.fake)));

    QTest::keyClicks(c.Text2, QStringLiteral("Gast"));
    QTest::mouseClick(c.Command3, Qt::LeftButton);
    QCOMPARE(readList(drill.fake), QByteArray(" 0  Punkte f\xfcr  Gast\r\n"));
    QVERIFY(c.Frame1->isHidden());
    QVERIFY(drill.fake.dialogs.shown.isEmpty());
}

void TestForm4::endWithList_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("item");
    QTest::addColumn<QList<Task>>("answered");
    QTest::addColumn<int>("qualifies");
    const QList<int> tenLines { 100, 90, 80, 70, 60, 50, 40, 30, 20, 12 };
    const QList<Task> fourInTenToTwenty { { 10, 11 }, { 12, 13 }, { 14, 15 }, { 16, 17 } };
    QTest::newRow("short list takes 0 points") << QList<int> { 50, 40, 30 } << int(z10) << QList<Task> {} << 1;
    QTest::newRow("empty list takes 0 points") << QList<int> {} << int(z10) << QList<Task> {} << 1;
    QTest::newRow("ten lines, 0 points") << tenLines << int(z10) << QList<Task> {} << 0;
    QTest::newRow("ten lines, 12 points tie the last") << tenLines << int(z20) << fourInTenToTwenty.mid(0, 4) << 0;
    QTest::newRow("ten lines, 15 points beat the last")
        << tenLines << int(z20) << (fourInTenToTwenty + QList<Task> { { 18, 19 } }) << 1;
}

void TestForm4::endWithList()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, item);
    QFETCH(QList<Task>, answered);
    QFETCH(int, qualifies);
    Drill drill;
    writeList(drill.fake, keys);
    const QByteArray before = readList(drill.fake);
    drill.choose(item);
    drill.answerRight(answered);
    const int points = int(answered.size()) * drill.range.taskpoints;
    const Form4::Controls &c = drill.c();
    bool timerOffWhileBoxOpen = false;
    bool answerDisabledWhileBoxOpen = false;
    drill.fake.dialogs.whileOpen = [&] {
        timerOffWhileBoxOpen = !c.Timer1->Enabled();
        answerDisabledWhileBoxOpen = !c.Text1->isEnabled();
    };
    drill.tick(60);

    QCOMPARE(int(drill.form.qualifies), qualifies);
    QCOMPARE(readList(drill.fake), before);
    if (qualifies == 1) {
        QVERIFY(drill.fake.dialogs.shown.isEmpty());
        QVERIFY(!c.Frame1->isHidden());
        QCOMPARE(c.Label5->text(), QStringLiteral("Sie haben %1  Punkte errechnet.").arg(points));
        QVERIFY(!rangeMenuEnabled(drill.form));
        QVERIFY(!c.Text1->isHidden());
        QVERIFY(!c.Text1->isEnabled());
        QCOMPARE(drill.form.rightanswers, int(answered.size()));
        return;
    }
    QCOMPARE(drill.fake.dialogs.shown.size(), 1);
    const ShownBox box = drill.fake.dialogs.shown.first();
    QCOMPARE(box.prompt,
        QStringLiteral(" Sie haben %1 Punkte erreicht das gibt keinen Eintrag in die Highscoreliste!").arg(points));
    QCOMPARE(box.title, noEntryTitle);
    QCOMPARE(box.buttons, int(platform::vbOKOnly));
    QVERIFY(timerOffWhileBoxOpen);
    QVERIFY(answerDisabledWhileBoxOpen);
    QVERIFY(drill.idle());
    QVERIFY(c.Frame1->isHidden());
    QCOMPARE(drill.form.product, 0);
    QCOMPARE(drill.form.rightanswers, 0);
}

void TestForm4::cancelResets()
{
    Drill drill;
    drill.choose(z20);
    drill.tasks({ { 10, 11 }, { 12, 13 }, { 12, 13 } });
    drill.start();
    drill.type(QStringLiteral("110"));
    drill.type(QStringLiteral("15"));
    drill.tick(3);
    QTest::mouseClick(drill.c().Command2, Qt::LeftButton);

    QVERIFY(drill.idle());
    QVERIFY(drill.c().Frame1->isHidden());
    QCOMPARE(drill.form.product, 0);
    QCOMPARE(drill.form.rightanswers, 0);
    QCOMPARE(drill.form.secondsleft, 57);
    QCOMPARE(drill.c().Text1->text(), QStringLiteral("15"));
    QVERIFY(drill.fake.dialogs.shown.isEmpty());
    QVERIFY(!QFile::exists(listPath(drill.fake)));
    // The range stays as chosen and can be changed again.
    QCOMPARE(rangeMarks(drill.form), QList<bool>({ false, true, false }));

    // What was typed for the cancelled drill is still there for the next one.
    drill.start();
    QCOMPARE(drill.c().Text1->text(), QStringLiteral("15"));
    drill.type(QStringLiteral("6"));
    QCOMPARE(drill.form.rightanswers, 1);
}

void TestForm4::rangeMenuDuringAndAfterDrills()
{
    Drill drill;
    drill.tasks({ { 7, 8 } });
    drill.start();
    QVERIFY(!rangeMenuEnabled(drill.form));
    drill.tick(60);
    QVERIFY(!rangeMenuEnabled(drill.form)); // while the entry waits for its name
    drill.start();
    QVERIFY(!rangeMenuEnabled(drill.form));
    QCOMPARE(drill.c().Label3->text(), QStringLiteral("Noch 0 Sekunden")); // until the first tick
    QTest::mouseClick(drill.c().Command3, Qt::LeftButton);
    QVERIFY(drill.c().Frame1->isHidden());
    QVERIFY(!rangeMenuEnabled(drill.form)); // the drill still runs
    QTest::mouseClick(drill.c().Command2, Qt::LeftButton);
    QVERIFY(rangeMenuEnabled(drill.form));

    drill.start();
    drill.tick(60); // best2.lst has one line now: 0 points take a place in a short list
    QVERIFY(!drill.c().Frame1->isHidden());
    QVERIFY(!rangeMenuEnabled(drill.form));
    QTest::mouseClick(drill.c().Command3, Qt::LeftButton);
    QVERIFY(!rangeMenuEnabled(drill.form)); // saved: still held until a cancel
    drill.start();
    drill.tick(60);
    QTest::mouseClick(drill.c().Command3, Qt::LeftButton);
    QVERIFY(!rangeMenuEnabled(drill.form));
    drill.start();
    QTest::mouseClick(drill.c().Command2, Qt::LeftButton);
    QVERIFY(rangeMenuEnabled(drill.form));
}

void TestForm4::newDrillWhileEntryOpenKeepsEarlierPoints()
{
    Drill drill;
    drill.answerRight({ { 7, 8 }, { 2, 3 }, { 9, 9 } });
    QCOMPARE(drill.form.rightanswers, 3);
    drill.tick(60);
    QCOMPARE(drill.c().Label5->text(), QStringLiteral("Sie haben 3  Punkte errechnet."));

    drill.answerRight({ { 1, 1 }, { 5, 5 } });
    QVERIFY(!drill.c().Frame1->isHidden());
    QCOMPARE(drill.form.rightanswers, 2);

    QTest::keyClicks(drill.c().Text2, QStringLiteral("Anna"));
    QTest::mouseClick(drill.c().Command3, Qt::LeftButton);
    QCOMPARE(readList(drill.fake), QByteArray(" 3  Punkte f\xfcr  Anna\r\n"));
    QVERIFY(drill.c().Frame1->isHidden());
    QVERIFY(drill.c().Timer1->Enabled());
    QVERIFY(drill.c().Text1->isEnabled());
    QCOMPARE(drill.form.rightanswers, 2);
}

void TestForm4::failedSaveKeepsEntryPanelOpen()
{
    Drill drill;
    drill.tasks({ { 7, 8 } });
    drill.start();
    drill.tick(60);
    const QString folder = drill.fake.program.dir;
    drill.fake.program.dir = QDir(folder).filePath(QStringLiteral("gone"));

    QTest::mouseClick(drill.c().Command3, Qt::LeftButton);
    QCOMPARE(drill.fake.dialogs.shown.size(), 1);
    QCOMPARE(drill.fake.dialogs.shown.first().title, QStringLiteral("Bestenliste"));
    QVERIFY(!drill.c().Frame1->isHidden());
    QVERIFY(!rangeMenuEnabled(drill.form));

    drill.fake.program.dir = folder;
    QTest::mouseClick(drill.c().Command3, Qt::LeftButton);
    QVERIFY(drill.c().Frame1->isHidden());
    QCOMPARE(readList(drill.fake), QByteArray(" 0  Punkte f\xfcr  Anonymer\r\n"));
    QCOMPARE(drill.c().Text2->text(), QStringLiteral("Anonymer"));
}

void TestForm4::helpPanelLeavesDrillRunning()
{
    Drill drill;
    drill.tasks({ { 7, 8 }, { 9, 9 } });
    drill.start();
    drill.c().hilf->trigger();
    QVERIFY(!drill.c().Frame3->isHidden());
    drill.tick(1);
    QCOMPARE(drill.c().Label3->text(), QStringLiteral("Noch 59 Sekunden"));
    drill.type(QStringLiteral("56"));
    QCOMPARE(drill.form.rightanswers, 1);
    QTest::mouseClick(drill.c().Command5, Qt::LeftButton);
    QVERIFY(drill.c().Frame3->isHidden());
    QVERIFY(drill.c().Timer1->Enabled());
}

void TestForm4::listPanel()
{
    Drill drill;
    drill.c().lis->trigger();
    QCOMPARE(drill.fake.dialogs.shown.size(), 1);
    QCOMPARE(drill.fake.dialogs.shown.first().title, QStringLiteral("Na sowas"));
    QVERIFY(drill.c().Frame2->isHidden());

    writeList(drill.fake, { 24, 6 });
    drill.c().lis->trigger();
    QVERIFY(!drill.c().Frame2->isHidden());
    QCOMPARE(drill.c().List1->count(), 2);
    QCOMPARE(drill.c().List1->item(0)->text(), QStringLiteral(" 24  Punkte für  Spieler1"));
    QTest::mouseClick(drill.c().Command4, Qt::LeftButton);
    QVERIFY(drill.c().Frame2->isHidden());
    QCOMPARE(drill.fake.dialogs.shown.size(), 1);
}

void TestForm4::closingDuringDrillReopensIdle()
{
    Drill drill;
    drill.choose(z100);
    drill.tasks({ { 99, 99 } });
    drill.start();
    drill.c().hilf->trigger();
    drill.tick(5);
    drill.type(QStringLiteral("98"));

    drill.form.frame()->close();
    QVERIFY(!drill.form.isLoaded());
    QCOMPARE(drill.fake.program.startShown, 1);
    QVERIFY(drill.fake.dialogs.shown.isEmpty());
    QVERIFY(!QFile::exists(listPath(drill.fake)));

    drill.form.setVisible(true);
    QCOMPARE(drill.fake.random.seeded, 2);
    QVERIFY(drill.idle());
    QVERIFY(drill.c().Frame1->isHidden());
    QVERIFY(drill.c().Frame2->isHidden());
    QVERIFY(drill.c().Frame3->isHidden());
    QVERIFY(drill.c().Text1->text().isEmpty());
    QCOMPARE(rangeMarks(drill.form), QList<bool>({ true, false, false }));

    drill.fake.random.values = { 0.99999994f, 0.0f };
    drill.start();
    QCOMPARE(drill.c().Label1->text(), QStringLiteral(" 10 x 1"));
    drill.type(QStringLiteral("10"));
    drill.tick(60);
    QCOMPARE(drill.c().Label5->text(), QStringLiteral("Sie haben 1  Punkte errechnet."));
}

void TestForm4::closingWithOpenEntryWritesNothing()
{
    Drill drill;
    drill.answerRight({ { 7, 8 } });
    drill.tick(60);
    QVERIFY(!drill.c().Frame1->isHidden());
    drill.form.frame()->close();
    QVERIFY(!QFile::exists(listPath(drill.fake)));
    drill.form.setVisible(true);
    QVERIFY(drill.c().Frame1->isHidden());
    QVERIFY(drill.idle());
}

void TestForm4::leaveMenuShowsStart()
{
    Drill drill;
    bool loadedWhenStartShown = false;
    drill.fake.program.onShowStart = [&] {
        if (drill.fake.program.startShown == 1)
            loadedWhenStartShown = drill.form.isLoaded();
    };
    drill.c().verlass->trigger();
    QVERIFY(loadedWhenStartShown); // Start first, then the window goes
    QVERIFY(!drill.form.isLoaded());
    QVERIFY(drill.fake.program.startShown >= 1);
    QCOMPARE(drill.fake.program.ended, 0);
    QVERIFY(drill.fake.dialogs.shown.isEmpty());
}

QObject *makeForm4Test()
{
    return new TestForm4;
}

#include "tst_form4.moc"
