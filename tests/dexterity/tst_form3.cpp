#include "dexterity/coursesurface.h"
#include "dexterity/form3.h"
#include "fakeservices.h"
#include "platform/timer.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

namespace {

constexpr qint32 yellow = 0x00FFFF;

// Points of the client area in logical pixels.
const QPointF onFirstStroke(76, 136); // middle of Line1(0)
const QPointF onBlack(100, 50);
const QPointF inTarget(32, 224);

const QString lostPrompt = QStringLiteral("Pech gehabt");
const QString noPlacePrompt = QStringLiteral(
    "Super Sie haben es geschafft, leider langt Ihre Zeit noch nicht für einen Eintrag in die Highscoreliste!");

QString dexterityLine(int points, const QString &name, int seconds, const QString &mode)
{
    return QStringLiteral("%1  Punkte für  %2 --- %3 Sekunden benötigt im Modus %4")
        .arg(points < 0 ? QString::number(points) : QStringLiteral(" ") + QString::number(points), name,
            seconds < 0 ? QString::number(seconds) : QStringLiteral(" ") + QString::number(seconds), mode);
}

} // namespace

class Form3Test : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadsWithItsDesign();
    void startPutsThePointerIntoTheStartArea();
    void startSamplesEvenWithoutAMovement();
    void lostOnBlack();
    void ticksWaitingInTheLostBoxAreDropped();
    void wonOn_data();
    void wonOn();
    void noSampleBeforeTheFirstTickLoses();
    void otherColoursGoOn();
    void realMovesSampleOnlyTheSurface();
    void pointsPerMode_data();
    void pointsPerMode();
    void negativePoints();
    void qualificationWithList_data();
    void qualificationWithList();
    void firstEntryClearsTheSeconds();
    void restartWhileTheNamePanelIsOpen();
    void failedSaveKeepsThePanel();
    void closingDuringARun_data();
    void closingDuringARun();
    void secondsStopAtTheSixteenBitLimit();
    void modes_data();
    void modes();
    void reloadBringsTheDesignBack();
    void helpAndListPanels();
    void samplingNeverRenders();
    void pixelUnderThePointerAtAnyScale();

private:
    const Form3::Controls &c() const { return form->controls(); }
    QString listPath() const { return QDir(fake->program.dir).filePath(QStringLiteral("best1.lst")); }
    void writeList(const QStringList &lines);
    QStringList readList();
    void moveTo(QPointF point) { form->Form_MouseMove(point.x(), point.y()); }
    void startRun() { QTest::mouseClick(c().Command1, Qt::LeftButton); }
    void runSeconds(int count);
    void finishAt(QPointF point);
    QPointF redLetterIn(QRect twips);
    bool hidesTheCourse(QGroupBox *panel);
    void chooseMode(QAction *item) { item->trigger(); }

    std::unique_ptr<FakeServices> fake;
    std::unique_ptr<Form3> form;
};

void Form3Test::init()
{
    fake = std::make_unique<FakeServices>();
    form = std::make_unique<Form3>(fake->services);
    form->setVisible(true);
}

void Form3Test::cleanup()
{
    form.reset();
    fake.reset();
}

void Form3Test::writeList(const QStringList &lines)
{
    QFile file(listPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QStringEncoder encoder("windows-1252");
    for (const QString &line : lines)
        file.write(encoder.encode(line + QStringLiteral("\r\n")));
}

QStringList Form3Test::readList()
{
    QFile file(listPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder decoder("windows-1252");
    QString text = decoder.decode(file.readAll());
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

void Form3Test::runSeconds(int count)
{
    for (int i = 0; i < count; ++i)
        c().Timer2->tick();
}

void Form3Test::finishAt(QPointF point)
{
    moveTo(point);
    c().Timer1->tick();
}

QPointF Form3Test::redLetterIn(QRect twips)
{
    const QRectF box = course::toPixels(twips);
    for (double y = box.top(); y < box.bottom(); ++y) {
        for (double x = box.left(); x < box.right(); ++x) {
            if (c().surface->colourAt(QPointF(x, y)) == quint32(Form3::red))
                return QPointF(x, y);
        }
    }
    return QPointF(-1, -1);
}

// A shown panel covers the course: at its free corners neither the black ground
// nor a yellow stroke shows through.
bool Form3Test::hidesTheCourse(QGroupBox *panel)
{
    const QImage shot = form->client()->grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    const QRect area = panel->geometry().adjusted(8, 8, -8, -8);
    for (QPoint corner : { area.bottomLeft(), area.bottomRight() }) {
        const QColor colour = shot.pixelColor(corner * ratio);
        if (colour == QColor(Qt::black) || colour == QColor(Qt::yellow))
            return false;
    }
    return true;
}

void Form3Test::loadsWithItsDesign()
{
    QCOMPARE(form->frame()->windowTitle(), QStringLiteral("Geschicklichkeitstest"));
    QCOMPARE(form->client()->size(), QSize(628, 449));
    QCOMPARE(c().surface->geometry(), QRect(0, 0, 628, 449));
    QCOMPARE(c().Command1->text(), QStringLiteral("lass uns anfangen"));
    QCOMPARE(c().Command1->geometry(), QRect(256, 56, 113, 33));
    QVERIFY(!c().Label1->Visible());
    QVERIFY(!c().Label2->Visible());
    QCOMPARE(c().Label2->Caption(), QStringLiteral("Sekunden"));
    for (QGroupBox *panel : { c().Frame1, c().Frame2, c().Frame3 })
        QVERIFY(panel->isHidden());
    QCOMPARE(c().Frame3->title(), QStringLiteral("Sie haben sich einen Platz in der Highscoreliste verdient"));
    QCOMPARE(c().Timer1->Interval(), 10);
    QCOMPARE(c().Timer2->Interval(), 1000);
    QVERIFY(!c().Timer1->Enabled());
    QVERIFY(!c().Timer2->Enabled());
    QCOMPARE(c().surface->linewidth(), 15);

    QStringList bar;
    for (QAction *action : form->frame()->menuBar()->actions())
        bar << action->text();
    QCOMPARE(bar,
        QStringList({ QStringLiteral("Schwierigkeit"), QStringLiteral("Wie funktioniert das nun?"),
            QStringLiteral("Hier finden Sie die Besten"), QStringLiteral("Das ist nichts für mich") }));
    QCOMPARE(c().ende->text(), QStringLiteral("Ende"));
    QVERIFY(c().einfach->isChecked());
    QCOMPARE(form->modepoints1, short(100));
    QCOMPARE(form->modepoints2, short(100));
    QCOMPARE(form->modename, QStringLiteral("normal"));
}

void Form3Test::startPutsThePointerIntoTheStartArea()
{
    QWidget *pointedAt = nullptr;
    fake->desktop.onPutPointer = [&pointedAt](QWidget *client, QPoint) { pointedAt = client; };
    startRun();
    QCOMPARE(fake->desktop.pointerMoves, QList<QPoint> { QPoint(25, 140) });
    QCOMPARE(pointedAt, form->client());
    QCOMPARE(c().surface->cursor().shape(), Qt::CrossCursor);
    QVERIFY(c().Label1->Visible());
    QVERIFY(c().Label2->Visible());
    QVERIFY(c().Timer1->Enabled());
    QVERIFY(c().Timer2->Enabled());
    QCOMPARE(form->seconds, short(0));
    QCOMPARE(c().Label1->Caption(), QString()); // not cleared: empty before the first second
}

void Form3Test::startSamplesEvenWithoutAMovement()
{
    // The last run ended on black and the pointer is put where it already is:
    // no movement arrives, and the new run must still start from the start area.
    form->pixelcolour = Form3::black;
    startRun();
    QCOMPARE(form->pixelcolour, yellow);
    c().Timer1->tick();
    QVERIFY(fake->dialogs.shown.isEmpty());
    QVERIFY(c().Timer1->Enabled());
}

void Form3Test::lostOnBlack()
{
    startRun();
    runSeconds(7);
    QCOMPARE(c().Label1->Caption(), QStringLiteral("7"));
    moveTo(onBlack);
    c().Timer1->tick();

    QCOMPARE(fake->dialogs.shown.size(), 1);
    QCOMPARE(fake->dialogs.shown[0].prompt, lostPrompt);
    QCOMPARE(fake->dialogs.shown[0].title, QStringLiteral("So ein Mist"));
    QCOMPARE(fake->dialogs.shown[0].buttons, 0);
    QVERIFY(!c().Timer1->Enabled());
    QVERIFY(!c().Timer2->Enabled());
    QCOMPARE(c().surface->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(form->seconds, short(0));
    QCOMPARE(c().Label1->Caption(), QStringLiteral("7")); // keeps the last count
    QVERIFY(c().Label1->Visible());
    QVERIFY(!QFile::exists(listPath()));
}

void Form3Test::ticksWaitingInTheLostBoxAreDropped()
{
    startRun();
    moveTo(onBlack);
    fake->dialogs.whileOpen = [this] {
        c().Timer1->tick(); // falls due while the box is open
        c().Timer2->tick(); // the seconds go on meanwhile
    };
    c().Timer1->tick();
    QCOMPARE(fake->dialogs.shown.size(), 1);
    QCOMPARE(c().Label1->Caption(), QStringLiteral("1"));
    QCOMPARE(form->seconds, short(0)); // cleared after the box closed
}

void Form3Test::wonOn_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("target") << QStringLiteral("target");
    QTest::newRow("seconds digits") << QStringLiteral("Label1");
    QTest::newRow("Sekunden") << QStringLiteral("Label2");
}

void Form3Test::wonOn()
{
    QFETCH(QString, where);
    startRun();
    runSeconds(15);
    QPointF point = inTarget;
    if (where == QStringLiteral("Label1"))
        point = redLetterIn(QRect(6720, 360, 735, 375));
    else if (where == QStringLiteral("Label2"))
        point = redLetterIn(QRect(7440, 360, 1815, 375));
    QVERIFY(point.x() >= 0);
    finishAt(point);

    QVERIFY(!c().Timer1->Enabled());
    QVERIFY(!c().Timer2->Enabled());
    QCOMPARE(c().surface->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(fake->dialogs.shown.isEmpty());
    QVERIFY(c().Frame3->isVisible()); // no list yet: every finish earns the panel
    QVERIFY(hidesTheCourse(c().Frame3));
    QCOMPARE(c().Label4->text(), QStringLiteral("Das sind 185 Punkte für Sie"));
    QCOMPARE(form->points, short(185));
    QCOMPARE(form->seconds, short(15));
    QCOMPARE(c().Label1->Caption(), QStringLiteral("15"));
    QCOMPARE(form->frame()->focusWidget(), c().Text2);
}

void Form3Test::noSampleBeforeTheFirstTickLoses()
{
    // A fresh window has never been moved over: its empty sample counts as black.
    c().Timer1->setEnabled(true);
    c().Timer1->tick();
    QCOMPARE(fake->dialogs.shown.size(), 1);
    QCOMPARE(fake->dialogs.shown[0].prompt, lostPrompt);
}

void Form3Test::otherColoursGoOn()
{
    startRun();
    moveTo(onFirstStroke);
    c().Timer1->tick();
    form->pixelcolour = 0xC0C0C0; // the grey of a control
    c().Timer1->tick();
    QVERIFY(fake->dialogs.shown.isEmpty());
    QVERIFY(c().Timer1->Enabled());
    QVERIFY(c().Frame3->isHidden());
}

void Form3Test::realMovesSampleOnlyTheSurface()
{
    QVERIFY(QTest::qWaitForWindowExposed(form->frame()));
    startRun();
    QTest::mouseMove(form->client(), onFirstStroke.toPoint());
    QCOMPARE(form->pixelcolour, yellow);

    // Over the button and over shown panels the last sample stays in force,
    // though black lies beneath them.
    QTest::mouseMove(form->client(), c().Command1->geometry().center());
    QCOMPARE(form->pixelcolour, yellow);
    form->hilfe_Click();
    QTest::mouseMove(form->client(), c().Frame1->geometry().topLeft() + QPoint(5, 5));
    QCOMPARE(form->pixelcolour, yellow);
    form->Command2_Click();
    writeList({ dexterityLine(185, QStringLiteral("Gast"), 15, QStringLiteral("normal")) });
    form->best_Click();
    QVERIFY(c().Frame2->isVisible());
    QTest::mouseMove(form->client(), c().Frame2->geometry().bottomLeft() + QPoint(5, -5));
    QCOMPARE(form->pixelcolour, yellow);
    QTest::mouseMove(form->client(), c().Frame2->mapTo(form->client(), c().List1->geometry().center()));
    QCOMPARE(form->pixelcolour, yellow);
    c().Command3->click();

    // The labels take no movements: their letters are sampled as part of the window.
    QTest::mouseMove(form->client(), redLetterIn(QRect(7440, 360, 1815, 375)).toPoint());
    QCOMPARE(form->pixelcolour, Form3::red);
    QTest::mouseMove(form->client(), onBlack.toPoint());
    QCOMPARE(form->pixelcolour, Form3::black);
}

void Form3Test::pointsPerMode_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("mode");
    QTest::newRow("einfach") << 0 << 130 << QStringLiteral("einfach");
    QTest::newRow("normal, never chosen") << -1 << 180 << QStringLiteral("normal");
    QTest::newRow("normal") << 1 << 180 << QStringLiteral("normal");
    QTest::newRow("schwer") << 2 << 380 << QStringLiteral("schwer");
    QTest::newRow("sehr schwer") << 3 << 730 << QStringLiteral("sehr schwer");
}

void Form3Test::pointsPerMode()
{
    QFETCH(int, item);
    QFETCH(int, points);
    QFETCH(QString, mode);
    QAction *items[] = { c().ganzeinfach, c().einfach, c().mittel, c().schwer };
    if (item >= 0)
        chooseMode(items[item]);
    startRun();
    runSeconds(20);
    finishAt(inTarget);
    QCOMPARE(form->points, short(points));
    QCOMPARE(c().Label4->text(), QStringLiteral("Das sind %1 Punkte für Sie").arg(points));

    c().Text2->insert(QStringLiteral("Jörg")); // typed; QTest types only ASCII
    QTest::mouseClick(c().Command4, Qt::LeftButton);
    QCOMPARE(readList(), QStringList { dexterityLine(points, QStringLiteral("Jörg"), 20, mode) });
    QVERIFY(c().Frame3->isHidden());
}

void Form3Test::negativePoints()
{
    startRun();
    runSeconds(250);
    finishAt(inTarget);
    QCOMPARE(form->points, short(-50));
    QCOMPARE(c().Label4->text(), QStringLiteral("Das sind -50 Punkte für Sie"));
    c().Command4->click();
    QCOMPARE(readList(), QStringList { dexterityLine(-50, QStringLiteral("Anonymer"), 250, QStringLiteral("normal")) });
    QCOMPARE(c().Text2->text(), QStringLiteral("Anonymer"));
}

void Form3Test::qualificationWithList_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("qualifies");
    QTest::newRow("nine better lines: room left") << 9 << 190 << true;
    // A tenth better line leaves no room the entry would be written into.
    QTest::newRow("ten better lines") << 10 << 190 << false;
    QTest::newRow("eleven better lines") << 11 << 190 << false;
    QTest::newRow("eleven lines, one beaten") << 11 << 180 << true;
    QTest::newRow("eleven equal lines") << 11 << 185 << false;
    QTest::newRow("empty list") << 0 << 0 << true;
}

void Form3Test::qualificationWithList()
{
    QFETCH(int, lines);
    QFETCH(int, key);
    QFETCH(bool, qualifies);
    QStringList old;
    for (int i = 0; i < lines; ++i)
        old << dexterityLine(key, QStringLiteral("Alt%1").arg(i), 10, QStringLiteral("normal"));
    writeList(old);
    if (lines == 0)
        QFile(listPath()).resize(0);

    startRun();
    runSeconds(15);
    finishAt(inTarget);
    QCOMPARE(form->points, short(185));
    QCOMPARE(form->qualifies, short(qualifies ? 1 : 0));
    if (qualifies) {
        QVERIFY(fake->dialogs.shown.isEmpty());
        QVERIFY(c().Frame3->isVisible());
        QCOMPARE(c().Label4->text(), QStringLiteral("Das sind 185 Punkte für Sie"));
        QCOMPARE(form->seconds, short(15));
        c().Command4->click();
        QVERIFY(readList().contains(dexterityLine(185, QStringLiteral("Anonymer"), 15, QStringLiteral("normal"))));
        QCOMPARE(form->seconds, short(15)); // only a first entry clears the count
    } else {
        QCOMPARE(fake->dialogs.shown.size(), 1);
        QCOMPARE(fake->dialogs.shown[0].prompt, noPlacePrompt);
        QCOMPARE(fake->dialogs.shown[0].title, QStringLiteral("Herzlichen Glückwunsch"));
        QCOMPARE(fake->dialogs.shown[0].buttons, 0);
        QVERIFY(c().Frame3->isHidden());
        QCOMPARE(form->seconds, short(0));
        QCOMPARE(readList(), old);
    }
}

void Form3Test::firstEntryClearsTheSeconds()
{
    startRun();
    runSeconds(15);
    finishAt(inTarget);
    c().Command4->click();
    QCOMPARE(form->seconds, short(0));
    QVERIFY(c().Frame3->isHidden());
    QCOMPARE(readList().size(), 1);
}

void Form3Test::restartWhileTheNamePanelIsOpen()
{
    startRun();
    runSeconds(15);
    finishAt(inTarget);
    QVERIFY(c().Frame3->isVisible());

    // A new run and another mode before the name is confirmed.
    startRun();
    QVERIFY(c().Frame3->isVisible());
    QVERIFY(c().Timer1->Enabled());
    chooseMode(c().schwer);
    runSeconds(3);
    c().Command4->click();

    QCOMPARE(readList(), QStringList { dexterityLine(185, QStringLiteral("Anonymer"), 15, QStringLiteral("normal")) });
    QVERIFY(c().Frame3->isHidden());
    QCOMPARE(form->seconds, short(3)); // the running count is left alone
    QVERIFY(c().Timer2->Enabled());

    // The run goes on and is scored in the new mode.
    finishAt(inTarget);
    QCOMPARE(form->points, short(747));
}

void Form3Test::failedSaveKeepsThePanel()
{
    startRun();
    runSeconds(15);
    finishAt(inTarget);
    QVERIFY(QDir(fake->program.dir).mkdir(QStringLiteral("best1.lst"))); // the list cannot be written
    c().Command4->click();
    QCOMPARE(fake->dialogs.shown.size(), 1);
    QVERIFY(c().Frame3->isVisible());
    QCOMPARE(form->seconds, short(15));

    QVERIFY(QDir(fake->program.dir).rmdir(QStringLiteral("best1.lst")));
    c().Command4->click();
    QVERIFY(c().Frame3->isHidden());
    QCOMPARE(readList(), QStringList { dexterityLine(185, QStringLiteral("Anonymer"), 15, QStringLiteral("normal")) });
}

void Form3Test::closingDuringARun_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("close box") << false;
    QTest::newRow("Ende") << true;
}

void Form3Test::closingDuringARun()
{
    QFETCH(bool, byMenu);
    startRun();
    runSeconds(4);
    moveTo(inTarget);
    if (byMenu)
        c().ende->trigger();
    else
        form->frame()->close();

    QVERIFY(!form->isLoaded());
    QVERIFY(fake->program.startShown >= 1);
    QVERIFY(fake->dialogs.shown.isEmpty());
    QVERIFY(!QFile::exists(listPath()));
    QCOMPARE(fake->program.ended, 0);

    // Loaded again, it is idle: nothing of the old run goes on.
    form->setVisible(true);
    QVERIFY(!c().Timer1->Enabled());
    QVERIFY(!c().Timer2->Enabled());
    QVERIFY(!c().Label1->Visible());
    QCOMPARE(c().surface->cursor().shape(), Qt::ArrowCursor);
}

void Form3Test::secondsStopAtTheSixteenBitLimit()
{
    startRun();
    form->seconds = 32766;
    runSeconds(3);
    QCOMPARE(form->seconds, short(32767));
    QCOMPARE(c().Label1->Caption(), QStringLiteral("32767"));
    finishAt(inTarget);
    QCOMPARE(form->points, short(200 - 32767));
}

void Form3Test::modes_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("points1");
    QTest::addColumn<int>("points2");
    QTest::addColumn<QString>("name");
    QTest::newRow("einfach") << 0 << 20 << 50 << 100 << QStringLiteral("einfach");
    QTest::newRow("normal") << 1 << 15 << 100 << 100 << QStringLiteral("normal");
    QTest::newRow("schwer") << 2 << 10 << 200 << 200 << QStringLiteral("schwer");
    QTest::newRow("sehr schwer") << 3 << 5 << 250 << 500 << QStringLiteral("sehr schwer");
}

void Form3Test::modes()
{
    QFETCH(int, item);
    QFETCH(int, width);
    QFETCH(int, points1);
    QFETCH(int, points2);
    QFETCH(QString, name);
    QAction *items[] = { c().ganzeinfach, c().einfach, c().mittel, c().schwer };
    const QStringList captions { QStringLiteral("einfach"), QStringLiteral("normal"), QStringLiteral("schwer"),
        QStringLiteral("sehr schwer") };
    // From every other mode, and the same one twice.
    for (int from = 0; from < 4; ++from) {
        chooseMode(items[from]);
        chooseMode(items[item]);
        chooseMode(items[item]);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(items[i]->text(), captions[i]);
            QCOMPARE(items[i]->isChecked(), i == item);
        }
        QCOMPARE(form->linewidth, short(width));
        QCOMPARE(c().surface->linewidth(), width);
        QCOMPARE(form->modepoints1, short(points1));
        QCOMPARE(form->modepoints2, short(points2));
        QCOMPARE(form->modename, name);
    }
    // The picture follows: just beside the centre of Line4 (x = 304 px) at the new width.
    QCOMPARE(c().surface->colourAt(QPointF(304 + width / 2.0 - 1, 160)), quint32(yellow));
    QCOMPARE(c().surface->colourAt(QPointF(304 + width / 2.0 + 1, 160)), quint32(Form3::black));
}

void Form3Test::reloadBringsTheDesignBack()
{
    chooseMode(c().schwer);
    QCOMPARE(c().surface->linewidth(), 5);
    form->unload();
    form->setVisible(true);
    QCOMPARE(c().surface->linewidth(), 15);
    QVERIFY(c().einfach->isChecked());
    QVERIFY(!c().schwer->isChecked());
    QCOMPARE(form->modepoints1, short(100));
    QCOMPARE(form->modepoints2, short(100));
    QCOMPARE(form->modename, QStringLiteral("normal"));
    QCOMPARE(form->linewidth, short(5)); // a field: kept, but not applied until a mode is chosen
}

void Form3Test::helpAndListPanels()
{
    c().hilfe->trigger();
    QVERIFY(c().Frame1->isVisible());
    QVERIFY(hidesTheCourse(c().Frame1));
    QVERIFY(c().Frame1->geometry().intersects(c().Command1->geometry()));
    QCOMPARE(c().Label3->text(),
        QStringLiteral("Sie dürfen nach dem Start den gelben Bereich nicht mehr mit der Maus verlassen. Führen Sie "
                       "das Fadenkreuz in das rote Kästchen."));
    QTest::mouseClick(c().Command2, Qt::LeftButton);
    QVERIFY(c().Frame1->isHidden());

    c().best->trigger();
    QCOMPARE(fake->dialogs.shown.size(), 1);
    QCOMPARE(fake->dialogs.shown[0].prompt, QStringLiteral("Es ist leider noch kein Eintrag vorhanden"));
    QCOMPARE(fake->dialogs.shown[0].title, QStringLiteral("Na sowas"));
    QVERIFY(c().Frame2->isHidden());

    const QStringList lines { dexterityLine(185, QStringLiteral("Gast"), 15, QStringLiteral("normal")),
        dexterityLine(-50, QStringLiteral("Zäh"), 250, QStringLiteral("sehr schwer")) };
    writeList(lines);
    startRun(); // the list opens during a run too
    c().best->trigger();
    QVERIFY(c().Frame2->isVisible());
    QVERIFY(hidesTheCourse(c().Frame2));
    QCOMPARE(c().List1->count(), 2);
    QCOMPARE(c().List1->item(0)->text(), lines[0]);
    QCOMPARE(c().List1->item(1)->text(), lines[1]);
    QVERIFY(c().Timer1->Enabled());
    QTest::mouseClick(c().Command3, Qt::LeftButton);
    QVERIFY(c().Frame2->isHidden());
}

void Form3Test::samplingNeverRenders()
{
    startRun();
    c().surface->picture();
    const int before = c().surface->renderCount();
    for (int i = 0; i < 100; ++i)
        moveTo(QPointF(i * 6, 140));
    QCOMPARE(c().surface->renderCount(), before);

    chooseMode(c().einfach); // the width in force already
    QCOMPARE(c().surface->renderCount(), before);
    chooseMode(c().schwer);
    moveTo(onFirstStroke);
    QCOMPARE(c().surface->renderCount(), before + 1);
    runSeconds(1);
    moveTo(onFirstStroke);
    QCOMPARE(c().surface->renderCount(), before + 2);

    // The seconds change while hidden: nothing drawn changes.
    moveTo(onBlack);
    c().Timer1->tick();
    c().Label1->setVisible(false);
    moveTo(onFirstStroke);
    const int hidden = c().surface->renderCount();
    c().Label1->setCaption(QStringLiteral("99"));
    moveTo(onFirstStroke);
    QCOMPARE(c().surface->renderCount(), hidden);
}

void Form3Test::pixelUnderThePointerAtAnyScale()
{
    QVERIFY(QTest::qWaitForWindowExposed(form->frame()));
    const qreal ratio = form->client()->devicePixelRatioF();
    // The second run of this suite is on a screen of scale factor 2; make sure it was.
    const qreal expected = qEnvironmentVariableIsSet("KORVANE_EXPECT_SCALE")
        ? qEnvironmentVariable("KORVANE_EXPECT_SCALE").toDouble()
        : ratio;
    QCOMPARE(ratio, expected);
    const QImage &image = c().surface->picture();
    QCOMPARE(image.devicePixelRatio(), ratio);
    QCOMPARE(image.size(), (QSizeF(628, 449) * ratio).toSize());

    // The edge of Line4 (x = 304 px, 15 px wide): at scale 2 a half pixel matters.
    for (double x = 305; x < 316; x += 0.5) {
        const QPointF point(x, 160);
        moveTo(point);
        const QRgb drawn = image.pixel(int(x * ratio), int(160 * ratio));
        QCOMPARE(quint32(form->pixelcolour), quint32(qRed(drawn) | qGreen(drawn) << 8 | qBlue(drawn) << 16));
    }
    // Through the real event path, at the screen's own scale.
    QTest::mouseMove(form->client(), QPoint(311, 160));
    QCOMPARE(form->pixelcolour, yellow);
    QTest::mouseMove(form->client(), QPoint(312, 160));
    QCOMPARE(form->pixelcolour, Form3::black);
}

QObject *makeForm3Test()
{
    return new Form3Test;
}

#include "tst_form3.moc"
