#include "memoryfixture.h"
#include "platform/controls.h"
#include "platform/timer.h"
#include "shell/registry.h"
#include "shell/start.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextLayout>

using namespace memory;
using platform::twipsRect;

namespace {

const QString firstSentence = QStringLiteral(
    "Mit diesem kleinen Programm können Sie Ihr Gedächtnis trainieren. Nach dem Start werden Farben eingeblendet, "
    "die Sie sich merken sollten, denn danach müssen Sie diese Farben durch Anklicken der Farbbuttons in der "
    "richtigen Reihenfolge wiederholen.");
const QString secondSentence = QStringLiteral(
    "Unter Einstellungen können Sie  die Dauer der Einblendung und die Anzahl der Einblendungen festlegen.");

// The widgets among a parent's children, the topmost first.
QList<QWidget *> topmostFirst(QWidget *parent)
{
    QList<QWidget *> widgets;
    for (QObject *child : parent->children()) {
        if (auto *widget = qobject_cast<QWidget *>(child))
            widgets.prepend(widget);
    }
    return widgets;
}

QString listPath(const FakeServices &fake)
{
    return QDir(fake.program.dir).filePath(QStringLiteral("best.lst"));
}

void writeList(const FakeServices &fake, const QByteArray &bytes)
{
    QFile file(listPath(fake));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void controls_data();
    void controls();
    void stackingOrder();
    void helpTextStartsItsSecondSentenceOnANewLine();
    void captionsFitTheirBoxes();
    void helpPanel();
    void listPanel();
    void listPanelStaysBelowTheHelpPanel();
    void resultWithoutAPlaceOpensNoNamePanel();
    void nameCancelWritesNothing();
    void unwritableListKeepsTheNamePanelOpen();
    void closingQuestionAnsweredNo();
    void closingQuestionAnsweredYes();
    void reopenedWindowIsBackAtItsLoadValues_data();
    void reopenedWindowIsBackAtItsLoadValues();
    void playedFromTheStartWindow();
};

void WindowTest::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("shownAtLoad");
    QTest::addColumn<QString>("text");

    const auto row = [](const char *name, QRect geometry, bool shown, const QString &text) {
        QTest::newRow(name) << QString::fromLatin1(name) << geometry << shown << text;
    };
    row("Frame4", twipsRect(720, 360, 5895, 2655), false, QString());
    row("Command11", twipsRect(1200, 2160, 3255, 375), true, "alles klar, hab's schon kapiert");
    row("Label7", twipsRect(240, 240, 5535, 1815), true, firstSentence + QString(70, ' ') + secondSentence);
    row("Label6", twipsRect(240, 240, 5535, 1815), true, QString());
    row("Frame3", twipsRect(2280, 1560, 3855, 1695), false, "Sie haben eines der besten 10 Ergebnisse erreicht");
    row("Text1", twipsRect(360, 720, 3135, 375), true, QString());
    row("Command9", twipsRect(240, 1200, 1575, 375), true, "schon erledigt");
    row("Command10", twipsRect(2400, 1200, 1335, 375), true, "abbrechen");
    row("Label5", twipsRect(480, 360, 2415, 375), true, "Tragen Sie hier Ihren Namen ein");
    row("Frame2", twipsRect(2520, 0, 3495, 2655), false, QString());
    row("Command8", twipsRect(360, 2280, 2775, 375), true, "ok");
    row("List1", twipsRect(120, 0, 3255, 2205), true, QString());
    row("Frame1", twipsRect(1560, 1200, 4695, 1935), false, QString());
    row("Command7", twipsRect(2640, 1440, 1455, 375), true, "OK");
    row("Label2", twipsRect(120, 240, 4455, 615), true, "Label2");
    row("Command3", twipsRect(1440, 4080, 855, 855), false, "GRÜN");
    row("Command6", twipsRect(4680, 4080, 855, 855), false, "GELB");
    row("Command5", twipsRect(3600, 4080, 855, 855), false, "BLAU");
    row("Command4", twipsRect(2520, 4080, 855, 855), false, "ROT");
    row("Command2", twipsRect(6000, 4920, 1455, 495), false, "Abbrechen");
    row("Command1", twipsRect(3000, 2040, 2175, 495), true, "Dann lass uns mal anfangen");
    row("Label4", twipsRect(1560, 2040, 4455, 1095), false, QString());
    row("Label3", twipsRect(1440, 4920, 4095, 495), false, "Label3");
    row("Label1", twipsRect(0, 5520, 7575, 375), true, " Einstellung: 5 Farben merken bei mittlerer Geschwindigkeit.");
    for (const char *square : { "Shape9", "Shape4", "Shape3", "Shape1", "Shape2" })
        row(square, twipsRect(2520, 1200, 2535, 2535), false, QString());
}

void WindowTest::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(bool, shownAtLoad);
    QFETCH(QString, text);
    MemoryFixture f;
    const form2::Controls &c = f.c();
    const std::map<QString, QWidget *> widgets {
        { "Frame4", c.Frame4 },
        { "Command11", c.Command11 },
        { "Label7", c.Label7 },
        { "Label6", c.Label6 },
        { "Frame3", c.Frame3 },
        { "Text1", c.Text1 },
        { "Command9", c.Command9 },
        { "Command10", c.Command10 },
        { "Label5", c.Label5 },
        { "Frame2", c.Frame2 },
        { "Command8", c.Command8 },
        { "List1", c.List1 },
        { "Frame1", c.Frame1 },
        { "Command7", c.Command7 },
        { "Label2", c.Label2 },
        { "Command3", c.Command3 },
        { "Command6", c.Command6 },
        { "Command5", c.Command5 },
        { "Command4", c.Command4 },
        { "Command2", c.Command2 },
        { "Command1", c.Command1 },
        { "Label4", c.Label4 },
        { "Label3", c.Label3 },
        { "Label1", c.Label1 },
        { "Shape9", c.Shape9 },
        { "Shape4", c.Shape4 },
        { "Shape3", c.Shape3 },
        { "Shape1", c.Shape1 },
        { "Shape2", c.Shape2 },
    };
    QWidget *widget = widgets.at(name);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(!widget->isHidden(), shownAtLoad);
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), text);
    else if (auto *button = qobject_cast<QPushButton *>(widget))
        QCOMPARE(button->text(), text);
    else if (auto *panel = qobject_cast<QGroupBox *>(widget))
        QCOMPARE(panel->title(), text);
    else if (auto *box = qobject_cast<QLineEdit *>(widget))
        QCOMPARE(box->text(), text);
}

void WindowTest::stackingOrder()
{
    MemoryFixture f;
    const form2::Controls &c = f.c();
    QCOMPARE(f.window.frame()->windowTitle(), QStringLiteral("Training für die kleinen grauen Zellen"));
    QCOMPARE(f.window.client()->size(), QSize(505, 390));
    QCOMPARE(f.window.client()->palette().color(QPalette::Window), QColor(0, 0, 0));
    QCOMPARE(topmostFirst(f.window.client()),
        (QList<QWidget *> { c.Frame4, c.Frame3, c.Frame2, c.Frame1, c.Command3, c.Command6, c.Command5, c.Command4,
            c.Command2, c.Command1, c.Label4, c.Label3, c.Label1, c.Shape9, c.Shape4, c.Shape3, c.Shape1, c.Shape2 }));
    QCOMPARE(topmostFirst(c.Frame4), (QList<QWidget *> { c.Command11, c.Label7, c.Label6 }));
    QCOMPARE(topmostFirst(c.Frame3), (QList<QWidget *> { c.Text1, c.Command9, c.Command10, c.Label5 }));
    QCOMPARE(topmostFirst(c.Frame2).mid(0, 2), (QList<QWidget *> { c.Command8, c.List1 }));
    QCOMPARE(topmostFirst(c.Frame1), (QList<QWidget *> { c.Command7, c.Label2 }));

    QStringList menuBar;
    for (QAction *item : f.window.frame()->menuBar()->actions())
        menuBar << item->text();
    QCOMPARE(menuBar, (QStringList { "Einstellung", "Wie geht das nun", "Bestenliste", "Keine Lust mehr" }));
}

void WindowTest::helpTextStartsItsSecondSentenceOnANewLine()
{
    MemoryFixture f;
    QLabel *label = f.c().Label7;
    const QString text = label->text();
    QCOMPARE(text.indexOf(secondSentence) - text.indexOf(QStringLiteral("wiederholen.")) - 12, 70);

    QTextLayout layout(text, label->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QList<int> lineStarts;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->contentsRect().width());
        lineStarts << line.textStart();
    }
    layout.endLayout();
    QVERIFY(lineStarts.contains(int(text.indexOf(secondSentence))));
    const qreal needed = layout.boundingRect().height();
    QVERIFY2(needed <= label->height(), qPrintable(QString::number(needed)));
}

void WindowTest::captionsFitTheirBoxes()
{
    MemoryFixture f;
    const form2::Controls &c = f.c();
    for (QPushButton *button : { c.Command1, c.Command2, c.Command7, c.Command8, c.Command9, c.Command10, c.Command11 })
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width(), qPrintable(button->text()));
    for (QLabel *label : { c.Label1, c.Label2, c.Label3, c.Label5, c.Label7 }) {
        const QRect box = label->contentsRect();
        const QRect needed = label->fontMetrics().boundingRect(box, Qt::TextWordWrap, label->text());
        QVERIFY2(box.contains(needed), qPrintable(label->text()));
    }
    QVERIFY(c.Frame3->fontMetrics().horizontalAdvance(c.Frame3->title()) < c.Frame3->width());
    // The name panel's smaller caption font is its own: its controls keep theirs.
    QCOMPARE(c.Text1->font().pointSizeF(), 8.25);
}

void WindowTest::helpPanel()
{
    MemoryFixture f;
    f.showColours({ red, red, red, red, red });
    f.click(green);
    QVERIFY(!f.c().Frame1->isHidden());
    f.c().hilf->trigger();
    QVERIFY(!f.c().Frame4->isHidden());
    QVERIFY(!f.c().Frame1->isHidden());
    QTest::mouseClick(f.c().Command11, Qt::LeftButton);
    QVERIFY(f.c().Frame4->isHidden());
    QVERIFY(!f.c().Frame1->isHidden());

    // The game's timers run on while the help is open.
    f.fake.random.values << MemoryFixture::rndFor(blue);
    QTest::mouseClick(f.c().Command2, Qt::LeftButton);
    QTest::mouseClick(f.c().Command1, Qt::LeftButton);
    f.c().hilf->trigger();
    f.window.Timer1_Timer();
    QCOMPARE(f.visibleSquares(), QStringList { "Shape3" });
    QVERIFY(f.c().Timer2->Enabled());
}

void WindowTest::listPanel()
{
    MemoryFixture f;
    f.c().best->trigger();
    QCOMPARE(f.fake.dialogs.shown.size(), 1);
    QCOMPARE(f.fake.dialogs.shown[0].prompt, QStringLiteral("Es ist leider noch kein Eintrag vorhanden"));
    QCOMPARE(f.fake.dialogs.shown[0].title, QStringLiteral("Na sowas"));
    QVERIFY(f.c().Frame2->isHidden());

    writeList(f.fake, " 12  Punkte f\xfcr  Gast\r\n 7  Punkte f\xfcr  Anonymer\r\n");
    f.c().best->trigger();
    QVERIFY(!f.c().Frame2->isHidden());
    QCOMPARE(f.c().List1->count(), 2);
    QCOMPARE(f.c().List1->item(0)->text(), QStringLiteral(" 12  Punkte für  Gast"));
    QCOMPARE(f.c().List1->palette().color(QPalette::Text), QColor(0, 0, 255));
    QTest::mouseClick(f.c().Command8, Qt::LeftButton);
    QVERIFY(f.c().Frame2->isHidden());
}

void WindowTest::listPanelStaysBelowTheHelpPanel()
{
    MemoryFixture f;
    writeList(f.fake, " 12  Punkte f\xfcr  Gast\r\n");
    f.c().hilf->trigger();
    f.c().best->trigger();
    const QList<QWidget *> order = topmostFirst(f.window.client());
    QCOMPARE(order.mid(0, 3), (QList<QWidget *> { f.c().Frame4, f.c().Frame3, f.c().Frame2 }));
}

void WindowTest::resultWithoutAPlaceOpensNoNamePanel()
{
    MemoryFixture f;
    QByteArray nine;
    for (int i = 0; i < 9; ++i)
        nine += " 4  Punkte f\xfcr  Gast\r\n";
    writeList(f.fake, nine);
    f.showColours({ red, red, red, red, red });
    f.click({ red, red, red, green });
    QTest::mouseClick(f.c().Command7, Qt::LeftButton);
    QCOMPARE(f.window.qualifies, short(0));
    QVERIFY(f.c().Frame3->isHidden());
    QVERIFY(f.c().Frame1->isHidden());
    QVERIFY(!f.c().Command1->isHidden());
    QVERIFY(f.c().Command2->isHidden());
    QVERIFY(!f.colourButtonsVisible());
    QVERIFY(f.c().Label4->isHidden());

    f.showColours({ red, red, red, red, red });
    f.click({ red, red, red, red, red });
    QTest::mouseClick(f.c().Command7, Qt::LeftButton);
    QCOMPARE(f.window.qualifies, short(1));
    QVERIFY(!f.c().Frame3->isHidden());
    QTest::mouseClick(f.c().Command9, Qt::LeftButton);
    QVERIFY(f.listBytes().startsWith(" 5  Punkte f\xfcr  Anonymer\r\n 4  Punkte"));
}

void WindowTest::nameCancelWritesNothing()
{
    MemoryFixture f;
    f.showColours({ red, red, red, red, red });
    f.click(blue);
    QTest::mouseClick(f.c().Command7, Qt::LeftButton);
    QVERIFY(!f.c().Frame3->isHidden());
    QTest::mouseClick(f.c().Command10, Qt::LeftButton);
    QVERIFY(f.c().Frame3->isHidden());
    QVERIFY(!QFile::exists(listPath(f.fake)));
}

void WindowTest::unwritableListKeepsTheNamePanelOpen()
{
    MemoryFixture f;
    // A folder where the list should be: it cannot be written as a file.
    QVERIFY(QDir(f.fake.program.dir).mkdir(QStringLiteral("best.lst")));
    f.showColours({ red, red, red, red, red });
    f.click({ red, blue });
    QTest::mouseClick(f.c().Command7, Qt::LeftButton);
    QTest::mouseClick(f.c().Command9, Qt::LeftButton);
    QCOMPARE(f.fake.dialogs.shown.size(), 1);
    QVERIFY(!f.c().Frame3->isHidden());
}

void WindowTest::closingQuestionAnsweredNo()
{
    MemoryFixture f;
    f.fake.random.values << MemoryFixture::rndFor(yellow) << MemoryFixture::rndFor(red);
    QTest::mouseClick(f.c().Command1, Qt::LeftButton);
    f.window.Timer1_Timer();
    // The game's timer goes on ticking while the question is open.
    f.fake.dialogs.whileOpen = [&f] { f.window.Timer2_Timer(); };
    f.fake.dialogs.answers << platform::vbNo;
    f.c().kl->trigger();

    QCOMPARE(f.fake.dialogs.shown.size(), 1);
    QCOMPARE(f.fake.dialogs.shown[0].prompt, QStringLiteral("Wirklich beenden?"));
    QCOMPARE(f.fake.dialogs.shown[0].buttons, int(platform::vbYesNo));
    QCOMPARE(f.fake.dialogs.shown[0].title, QStringLiteral("Ich frage lieber mal nach?"));
    QVERIFY(f.window.isLoaded());
    QVERIFY(f.window.Visible());
    QCOMPARE(f.fake.program.startShown, 0);
    QCOMPARE(f.visibleSquares(), (QStringList { "Shape9", "Shape4" }));
    QVERIFY(f.c().Timer1->Enabled());
    f.window.Timer1_Timer();
    QCOMPARE(f.visibleSquares(), QStringList { "Shape2" });
    QCOMPARE(f.window.showstep, 2);
}

void WindowTest::closingQuestionAnsweredYes()
{
    MemoryFixture f;
    QTest::mouseClick(f.c().Command1, Qt::LeftButton);
    f.window.Timer1_Timer();
    bool hiddenBeforeStart = false;
    f.fake.program.onShowStart = [&] { hiddenBeforeStart = !f.window.Visible(); };
    f.fake.dialogs.answers << platform::vbYes;
    f.c().kl->trigger();
    QVERIFY(hiddenBeforeStart);
    QVERIFY(f.fake.program.startShown >= 1);
    QVERIFY(!f.window.isLoaded());
    QCOMPARE(f.fake.program.ended, 0);
}

void WindowTest::reopenedWindowIsBackAtItsLoadValues_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Keine Lust mehr") << false;
    QTest::newRow("close box") << true;
}

void WindowTest::reopenedWindowIsBackAtItsLoadValues()
{
    QFETCH(bool, closeBox);
    MemoryFixture f;
    f.c().langsam->trigger();
    f.c().es30->trigger();
    f.showColours({ red, red, red, red, red }); // stops early: 30 colours
    f.c().hilf->trigger();
    if (closeBox) {
        f.window.frame()->close();
    } else {
        f.fake.dialogs.answers << platform::vbYes;
        f.c().kl->trigger();
    }
    QVERIFY(!f.window.isLoaded());
    QVERIFY(f.fake.program.startShown >= 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    f.window.setVisible(true);
    const form2::Controls &c = f.c();
    QCOMPARE(f.fake.random.seeded, 2);
    QCOMPARE(f.window.colourcount, 5);
    QVERIFY(c.mittel->isChecked());
    QVERIFY(!c.langsam->isChecked());
    QVERIFY(c.es5->isChecked());
    QVERIFY(!c.es30->isChecked());
    QCOMPARE(c.Timer2->Interval(), 1500);
    QCOMPARE(c.Label1->text(), QStringLiteral(" Einstellung: 5 Farben merken bei mittlerer Geschwindigkeit."));
    QCOMPARE(f.window.phase, form2::Phase::Idle);
    QVERIFY(!c.Timer1->Enabled());
    QVERIFY(!c.Timer2->Enabled());
    QVERIFY(!c.Command1->isHidden());
    QVERIFY(c.Command2->isHidden());
    QVERIFY(c.Frame4->isHidden());
    QCOMPARE(f.visibleSquares(), QStringList());
    // The stale ticks of the closed game show nothing in the new window.
    f.window.Timer2_Timer();
    QCOMPARE(f.visibleSquares(), QStringList());
}

void WindowTest::playedFromTheStartWindow()
{
    FakeServices fake;
    {
        WindowRegistry registry(fake.services);
        fake.program.onShowStart = [&registry] { registry.start().setVisible(true); };
        registry.start().setVisible(true);
        QTest::mouseClick(registry.start().controls().Command4, Qt::LeftButton);
        QVERIFY(!registry.start().isLoaded());
        auto *window = static_cast<form2 *>(registry.test(TestWindow::Memory));
        QVERIFY(window->Visible());

        const form2::Controls &c = window->controls();
        const Colours colours { yellow, blue, green, red, blue };
        for (Colour colour : colours)
            fake.random.values << MemoryFixture::rndFor(colour);
        QTest::mouseClick(c.Command1, Qt::LeftButton);
        for (int i = 0; i < 5; ++i) {
            c.Timer1->tick();
            c.Timer2->tick();
        }
        c.Timer1->tick();
        QPushButton *buttons[] = { nullptr, c.Command3, c.Command4, c.Command5, c.Command6 };
        for (Colour colour : Colours { yellow, blue, green, blue })
            QTest::mouseClick(buttons[colour], Qt::LeftButton);
        QCOMPARE(c.Label2->text(), QStringLiteral("Das war leider ein Fehler, aber Sie haben 3 richtig"));
        QTest::mouseClick(c.Command7, Qt::LeftButton);
        QVERIFY(c.Frame3->isVisible());
        QTest::keyClicks(c.Text1, QStringLiteral("Gast"));
        QTest::mouseClick(c.Command9, Qt::LeftButton);
        QVERIFY(!c.Frame3->isVisible());
        QCOMPARE(MemoryFixture::listBytesIn(fake.program.dir), QByteArray(" 3  Punkte f\xfcr  Gast\r\n"));

        fake.dialogs.answers << platform::vbYes;
        c.kl->trigger();
        QVERIFY(!window->isLoaded());
        QVERIFY(registry.start().isLoaded());
        QVERIFY(registry.start().Visible());
        QCOMPARE(fake.program.ended, 0);

        // Opened again: the list is there, the settings are back at their start.
        QTest::mouseClick(registry.start().controls().Command4, Qt::LeftButton);
        QVERIFY(window->Visible());
        window->controls().best->trigger();
        QCOMPARE(window->controls().List1->count(), 1);
        QCOMPARE(window->colourcount, 5);
    }
}

QObject *makeWindowTest()
{
    return new WindowTest;
}

#include "tst_window.moc"
