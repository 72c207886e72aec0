#include "coursewalk.h"
#include "dexterity/coursesurface.h"
#include "dexterity/form3.h"
#include "fakeservices.h"
#include "platform/timer.h"
#include "shell/registry.h"
#include "shell/start.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>

// The dexterity test as the program wires it: opened from the start window,
// played along the whole course with pointer movements, saved, and left again.
class PlaythroughTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void playTheWholeCourse_data();
    void playTheWholeCourse();

private:
    std::unique_ptr<FakeServices> fake;
    std::unique_ptr<WindowRegistry> registry;
};

void PlaythroughTest::init()
{
    fake = std::make_unique<FakeServices>();
    registry = std::make_unique<WindowRegistry>(fake->services);
    fake->program.onShowStart = [this] { registry->start().setVisible(true); };
    registry->start().setVisible(true);
}

void PlaythroughTest::cleanup()
{
    registry.reset();
    fake.reset();
}

void PlaythroughTest::playTheWholeCourse_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("startingValue");
    QTest::newRow("normal") << QStringLiteral("normal") << 200;
    QTest::newRow("sehr schwer") << QStringLiteral("sehr schwer") << 750;
}

void PlaythroughTest::playTheWholeCourse()
{
    QFETCH(QString, mode);
    QFETCH(int, startingValue);

    QTest::mouseClick(registry->start().controls().Command3, Qt::LeftButton);
    auto *form = dynamic_cast<Form3 *>(registry->test(TestWindow::Dexterity));
    QVERIFY(form);
    QVERIFY(form->Visible());
    QVERIFY(!registry->start().isLoaded());
    QVERIFY(QTest::qWaitForWindowExposed(form->frame()));
    const Form3::Controls &c = form->controls();
    if (mode == QStringLiteral("sehr schwer"))
        c.schwer->trigger();

    // The system answers the pointer's jump with a movement, as a real one does.
    fake->desktop.onPutPointer = [](QWidget *client, QPoint point) { QTest::mouseMove(client, point); };
    QTest::mouseClick(c.Command1, Qt::LeftButton);

    // Along the centre line, a tick every few samples and a second every so often.
    int samples = 0;
    int secondsTicked = 0;
    for (const coursewalk::Piece &piece : coursewalk::pieces(1.0)) {
        for (QPointF point : piece.points) {
            form->Form_MouseMove(point.x(), point.y());
            if (++samples % 4 == 0)
                c.Timer1->tick();
            if (samples % 250 == 0) {
                c.Timer2->tick();
                ++secondsTicked;
            }
            if (!c.Timer1->Enabled())
                break;
        }
        QVERIFY2(fake->dialogs.shown.isEmpty(), qPrintable(piece.name));
    }
    c.Timer1->tick();
    QVERIFY(!c.Timer1->Enabled());
    QVERIFY(secondsTicked > 5);
    QCOMPARE(form->seconds, short(secondsTicked));
    const int expectedPoints = startingValue - secondsTicked;
    QVERIFY(c.Frame3->isVisible());
    QCOMPARE(c.Label4->text(), QStringLiteral("Das sind %1 Punkte für Sie").arg(expectedPoints));

    QTest::keyClicks(c.Text2, QStringLiteral("Grete"));
    QTest::mouseClick(c.Command4, Qt::LeftButton);
    QVERIFY(c.Frame3->isHidden());
    QFile list(QDir(fake->program.dir).filePath(QStringLiteral("best1.lst")));
    QVERIFY(list.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLatin1(list.readAll()),
        QStringLiteral(" %1  Punkte für  Grete ---  %2 Sekunden benötigt im Modus %3\r\n")
            .arg(expectedPoints)
            .arg(secondsTicked)
            .arg(mode));

    c.ende->trigger();
    QVERIFY(!form->isLoaded());
    QVERIFY(registry->start().Visible());
    QCOMPARE(fake->program.ended, 0);
}

QObject *makePlaythroughTest()
{
    return new PlaythroughTest;
}

#include "tst_playthrough.moc"
