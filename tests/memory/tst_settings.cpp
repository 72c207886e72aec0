#include "memoryfixture.h"
#include "platform/timer.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>

namespace {

const QString badCountPrompt
    = QStringLiteral("Bitte geben Sie eine ganze Zahl von 1 bis 500 ein. Es bleibt bei 5 Farben.");

QString settingLine(int count, const QString &speed)
{
    return QStringLiteral(" Einstellung: %1 Farben merken bei %2 Geschwindigkeit.").arg(count).arg(speed);
}

QString checkedIn(const QList<QAction *> &items)
{
    QStringList names;
    for (QAction *item : items) {
        if (item->isChecked())
            names << item->objectName();
    }
    return names.join(QLatin1Char(','));
}

// Names the menu items after the design so that a failure says which one.
void nameItems(const form2::Controls &c)
{
    const std::pair<QAction *, const char *> items[] = {
        { c.schnell, "schnell" },
        { c.mittel, "mittel" },
        { c.langsam, "langsam" },
        { c.es5, "es5" },
        { c.es10, "es10" },
        { c.es20, "es20" },
        { c.es30, "es30" },
        { c.es40, "es40" },
        { c.es50, "es50" },
        { c.selbst, "selbst" },
    };
    for (const auto &[item, name] : items)
        item->setObjectName(QString::fromLatin1(name));
}

} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void loadValues();
    void menuTree();
    void menuPaths_data();
    void menuPaths();
    void ownCountBox();
};

void SettingsTest::loadValues()
{
    MemoryFixture f;
    nameItems(f.c());
    QCOMPARE(f.fake.random.seeded, 1);
    QCOMPARE(f.window.colourcount, 5);
    QCOMPARE(checkedIn({ f.c().schnell, f.c().mittel, f.c().langsam }), QStringLiteral("mittel"));
    QCOMPARE(checkedIn({ f.c().es5, f.c().es10, f.c().es20, f.c().es30, f.c().es40, f.c().es50, f.c().selbst }),
        QStringLiteral("es5"));
    QCOMPARE(f.c().Timer2->Interval(), 1500);
    QCOMPARE(f.c().Timer1->Interval(), 750);
    QCOMPARE(f.c().Label1->text(), QStringLiteral(" Einstellung: 5 Farben merken bei mittlerer Geschwindigkeit."));
    QCOMPARE(f.window.settingtext, f.c().Label1->text());
    QCOMPARE(f.window.speedword, QStringLiteral("mittlerer"));
}

void SettingsTest::menuTree()
{
    MemoryFixture f;
    QCOMPARE(f.c().es->title(), QStringLiteral("Einstellung"));
    QCOMPARE(f.c().egeschw->title(), QStringLiteral("Einblendungsgeschwindigkeit"));
    QCOMPARE(f.c().anz->title(), QStringLiteral("Anzahl "));
    QStringList speeds;
    for (QAction *item : f.c().egeschw->actions())
        speeds << item->text();
    QCOMPARE(speeds, (QStringList { "schnell", "mittel", "langsam" }));
    QStringList counts;
    for (QAction *item : f.c().anz->actions())
        counts << item->text();
    QCOMPARE(counts, (QStringList { "5 ", "10", "20", "30", "40", "50", "will ich sebst bestimmen" }));
    QCOMPARE(f.c().es->actions(), (QList<QAction *> { f.c().egeschw->menuAction(), f.c().anz->menuAction() }));
}

void SettingsTest::menuPaths_data()
{
    QTest::addColumn<QStringList>("steps"); // menu items; "selbst:<typed>" answers the input box
    QTest::addColumn<QString>("speedMark");
    QTest::addColumn<QString>("countMark");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("speedWord");
    QTest::addColumn<int>("displayMs");
    QTest::addColumn<int>("complaints");

    QTest::newRow("langsam") << QStringList { "langsam" } << "langsam"
                             << "es5" << 5 << "langsamer" << 2500 << 0;
    QTest::newRow("schnell and es20") << QStringList { "schnell", "es20" } << "schnell"
                                      << "es20" << 20 << "schneller" << 750 << 0;
    QTest::newRow("back to mittel") << QStringList { "langsam", "es40", "mittel" } << "mittel"
                                    << "es40" << 40 << "mittlerer" << 1500 << 0;
    QTest::newRow("es10 es30 es50") << QStringList { "es10", "es30", "es50" } << "mittel"
                                    << "es50" << 50 << "mittlerer" << 1500 << 0;
    QTest::newRow("same item twice") << QStringList { "schnell", "schnell", "es30", "es30" } << "schnell"
                                     << "es30" << 30 << "schneller" << 750 << 0;
    QTest::newRow("own count confirmed") << QStringList { "selbst:60" } << "mittel"
                                         << "selbst" << 60 << "mittlerer" << 1500 << 0;
    QTest::newRow("own count with blanks") << QStringList { "selbst: 8 " } << "mittel"
                                           << "selbst" << 8 << "mittlerer" << 1500 << 0;
    QTest::newRow("own count 1") << QStringList { "selbst:1" } << "mittel"
                                 << "selbst" << 1 << "mittlerer" << 1500 << 0;
    QTest::newRow("own count 500") << QStringList { "langsam", "selbst:500" } << "langsam"
                                   << "selbst" << 500 << "langsamer" << 2500 << 0;
    QTest::newRow("es30 after an own count") << QStringList { "selbst:60", "es30" } << "mittel"
                                             << "es30" << 30 << "mittlerer" << 1500 << 0;
    QTest::newRow("own count, then cancelled") << QStringList { "selbst:60", "selbst:" } << "mittel"
                                               << "es5" << 5 << "mittlerer" << 1500 << 0;
    QTest::newRow("es50, then own count cancelled") << QStringList { "es50", "selbst:" } << "mittel"
                                                    << "es5" << 5 << "mittlerer" << 1500 << 0;
    QTest::newRow("speed kept through an own count") << QStringList { "schnell", "selbst:12" } << "schnell"
                                                     << "selbst" << 12 << "schneller" << 750 << 0;
    for (const char *typed : { "abc", "2.5", "2,5", "0", "-3", "501", "100000000000", "12 Farben", " " }) {
        QTest::addRow("invalid own count \"%s\"", typed)
            << QStringList { "es20", QStringLiteral("selbst:") + typed } << "mittel"
            << "es5" << 5 << "mittlerer" << 1500 << 1;
    }
}

void SettingsTest::menuPaths()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, speedMark);
    QFETCH(QString, countMark);
    QFETCH(int, count);
    QFETCH(QString, speedWord);
    QFETCH(int, displayMs);
    QFETCH(int, complaints);
    MemoryFixture f;
    const form2::Controls &c = f.c();
    nameItems(c);
    const QList<QAction *> speeds { c.schnell, c.mittel, c.langsam };
    const QList<QAction *> counts { c.es5, c.es10, c.es20, c.es30, c.es40, c.es50, c.selbst };
    for (const QString &step : steps) {
        const QString item = step.section(QLatin1Char(':'), 0, 0);
        if (step.contains(QLatin1Char(':')))
            f.fake.dialogs.inputs << step.section(QLatin1Char(':'), 1);
        for (QAction *action : speeds + counts) {
            if (action->objectName() == item)
                action->trigger();
        }
        // After every click exactly one mark in each group.
        QCOMPARE(checkedIn(speeds).count(QLatin1Char(',')), 0);
        QVERIFY(!checkedIn(speeds).isEmpty());
        QCOMPARE(checkedIn(counts).count(QLatin1Char(',')), 0);
        QVERIFY(!checkedIn(counts).isEmpty());
    }
    QCOMPARE(checkedIn(speeds), speedMark);
    QCOMPARE(checkedIn(counts), countMark);
    QCOMPARE(f.window.colourcount, count);
    QCOMPARE(f.window.speedword, speedWord);
    QCOMPARE(c.Timer2->Interval(), displayMs);
    QCOMPARE(c.Timer1->Interval(), 750);
    QCOMPARE(c.Label1->text(), settingLine(count, speedWord));
    QCOMPARE(f.fake.dialogs.shown.size(), complaints);
    if (complaints) {
        const ShownBox &box = f.fake.dialogs.shown.first();
        QCOMPARE(box.prompt, badCountPrompt);
        QCOMPARE(box.buttons, platform::vbOKOnly + platform::vbExclamation);
        QCOMPARE(box.title, QStringLiteral("Das geht leider nicht"));
    }
}

void SettingsTest::ownCountBox()
{
    MemoryFixture f;
    bool marksClearedWhileOpen = false;
    f.fake.dialogs.whileOpen = [&] {
        const form2::Controls &c = f.c();
        marksClearedWhileOpen = !c.es5->isChecked() && !c.es10->isChecked() && !c.selbst->isChecked();
    };
    f.fake.dialogs.inputs << "60";
    f.c().selbst->trigger();
    QCOMPARE(f.fake.dialogs.inputBoxes.size(), 1);
    QCOMPARE(f.fake.dialogs.inputBoxes[0].prompt, QStringLiteral("Bitte eine Zahl eingeben"));
    QCOMPARE(f.fake.dialogs.inputBoxes[0].title, QStringLiteral("50 ist Ihnen also noch zu wenig"));
    QCOMPARE(f.fake.dialogs.proposals, QStringList { "60" });
    QVERIFY(marksClearedWhileOpen);
    QCOMPARE(f.c().Label1->text(), QStringLiteral(" Einstellung: 60 Farben merken bei mittlerer Geschwindigkeit."));
}

QObject *makeSettingsTest()
{
    return new SettingsTest;
}

#include "tst_settings.moc"
