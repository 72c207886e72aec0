// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakeservices.h"
#include "history/charts.h"
#include "history/historydialog.h"
#include "history/resulthistory.h"
#include "history/statistics.h"

#include <QTest>
#include <QtCharts>
#include <QtSql>
#include <QtWidgets>

using namespace history;
using namespace Qt::StringLiterals;
using Values = QList<double>;
using Points = QList<QPointF>;

namespace {

const QDateTime firstResult(QDate(2024, 3, 1), QTime(18, 0), Qt::UTC);
const QString verdict = " Einfach Klasse, total schnelle Reaktion! ";

// A history on fake services whose clock moves on one minute per result; << records.
struct Fixture
{
    FakeServices fake;
    ResultHistory history { fake.dialogs, fake.program };
    int minutes = 0;

    Fixture()
    {
        history.clock = std::bind(&Fixture::next, this);
        history.windowFolders = { fake.program.dir, KORVANE_BUILD_FOLDER }; // the first lacks the module
    }
    QDateTime next() { return firstResult.addSecs(60 * minutes++); }
    QString path() const { return QDir(fake.program.dir).filePath(ResultHistory::fileName); }
    Fixture &operator<<(const Outcome &outcome) { return history.record(outcome), *this; }
    QStringList boxes() const
    {
        QStringList texts;
        for (const ShownBox &box : fake.dialogs.shown)
            texts << box.title + ": " + box.prompt;
        return texts;
    }
};

// A statement through a connection of its own, as another program runs it; its answer. The
// connection stays open, with its transaction, until letGo().
QVariant sql(const QString &path, const QString &statement)
{
    static int others = 0;
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other" + QString::number(++others));
    db.setDatabaseName(path);
    db.open();
    QSqlQuery query(statement, db);
    return query.next() ? query.value(0) : QVariant();
}

void letGo()
{
    for (const QString &connection : QSqlDatabase::connectionNames().filter("other"))
        QSqlDatabase::removeDatabase(connection);
}

QByteArray bytes(const QString &path, const QByteArray &replacement = {})
{
    QFile file(path);
    if (!replacement.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(replacement))
        file.close();
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Points points(QDialog &dialog, const char *chartName, const char *name)
{
    // The counts are an area: their line is its upper one.
    for (QAbstractSeries *series : dialog.findChild<QChartView *>(chartName)->chart()->series())
        if (auto *area = qobject_cast<QAreaSeries *>(series); series->objectName() == QLatin1String(name))
            return (area ? area->upperSeries() : static_cast<QXYSeries *>(series))->points();
    return {};
}

// The texts of the window: its title, every filter's name (as a screen reader says it) and choices, each
// column's title with the newest row's cell, and the figures named.
QStringList texts(QDialog &dialog, const QStringList &figures)
{
    const auto *table = dialog.findChild<QTableWidget *>("table");
    QStringList texts { dialog.windowTitle() };
    for (const QComboBox *choice : dialog.findChildren<QComboBox *>())
        for (int i = -1; i < choice->count(); ++i) // its name first
            texts << (i < 0 ? choice->accessibleName() : choice->itemText(i));
    for (int column = 0; column < table->columnCount(); ++column)
        texts << table->horizontalHeaderItem(column)->text() << table->item(0, column)->text();
    for (const QString &figure : figures)
        texts << dialog.findChild<QLabel *>(figure)->text();
    return texts;
}

} // namespace

class tst_history : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3"); // stored in UTC, shown in the player's time
    }
    void cleanup()
    {
        letGo();
        QCOMPARE(QSqlDatabase::connectionNames(), QStringList()); // every history has let go of its file
    }

    void statistics_data()
    {
        QTest::addColumn<Values>("values");
        QTest::addColumn<bool>("lowerIsBetter");
        // count, best, median, last ten, ten before, trend (0 better, 1 the same, 2 worse), and the running median at
        // the eleventh value, the first whose window has let go of one
        QTest::addColumn<QVariantList>("figures");
        QTest::addRow("faster") << Values(5, 0.4) + Values(10, 0.3) + Values(10, 0.2) << true
                                << QVariantList { 25, 15, 0.3, 0.2, 0.3, 0, 0.3 };
        QTest::addRow("slower") << Values { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 } << true
                                << QVariantList { 12, 0, 6.5, 7.5, 1.5, 2, 6.5 };
        QTest::addRow("equal") << Values(25, 5) << false << QVariantList { 25, 0, 5.0, 5.0, 5.0, 1, 5.0 };
    }
    void statistics()
    {
        QFETCH(Values, values);
        QFETCH(bool, lowerIsBetter);
        const Figures f = figuresOf(values, lowerIsBetter);
        const auto whole = [](auto optional) { return optional ? QVariant(int(*optional)) : QVariant(); };
        QTEST((QVariantList { f.count, whole(f.best), *f.median, *f.lastTen, *f.tenBefore, whole(f.trend),
                  runningMedian(values).value(10) }),
            "figures");
    }

    // A failing file never stops a game: told once, when no other box is open; this run's results still show.
    void failingFileLosesNoGame_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addRow("damaged") << "die Datei „%1“ ist beschädigt";
        QTest::addRow("damaged inside") << "die Datei „%1“ ist beschädigt";
        QTest::addRow("folder under a file") << "der Ordner „%1“ lässt sich nicht anlegen";
        QTest::addRow("newer schema") << "die Datei „%1“ stammt von einer neueren Fassung von Korvane";
        QTest::addRow("locked") << "die Datei „%1“ ist von einem anderen Programm gesperrt";
    }
    void failingFileLosesNoGame()
    {
        const QString row = QTest::currentDataTag();
        Fixture f;
        QString where = f.path();
        bytes(where, row == "damaged" || row == "folder under a file" ? QByteArray(4096, 'x') : QByteArray());
        if (row == "folder under a file")
            f.fake.program.dir = where = QDir(where).filePath("Korvane");
        if (row == "newer schema" || row == "locked")
            sql(where, row == "locked" ? "BEGIN EXCLUSIVE" : "PRAGMA user_version = 2");
        if (row == "damaged inside") { // a good file whose table of tables is overwritten
            sql(where, "PRAGMA user_version = 1");
            bytes(where, bytes(where).replace(100, 8, "xxxxxxxx"));
        }
        const QByteArray before = bytes(f.path());
        f << Outcome::reaction(0.3, verdict) << Outcome::reaction(0.25, verdict);
        QCOMPARE(std::pair(f.boxes(), f.history.tellingDue()), std::pair(QStringList(), true)); // the game goes on
        f.history.tellWhenFree();
        letGo(); // a lock let go changes nothing: the file stays out of use in this run
        f << Outcome::reaction(0.4, verdict);
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        f.history.show(Test::Reaction, nullptr); // the window of this run's results, and no second box
        QFETCH(QString, cause);
        const QString told = "Verlauf: Der Verlauf kann nicht gespeichert werden (%1). Ihre Ergebnisse werden in "
                             "dieser Sitzung weiter angezeigt, aber nicht aufbewahrt.";
        QCOMPARE((QVariantList { f.boxes(), f.history.tellingDue(), f.history.outcomes(Test::Reaction).size() }),
            (QVariantList { QStringList(told.arg(cause.arg(QDir::toNativeSeparators(where)))), false, 3 }));
        f.history.clear(Test::Reaction);
        QCOMPARE(std::pair(f.history.outcomes(Test::Reaction), bytes(f.path())), std::pair(QList<Outcome>(), before));
    }

    // A clear the file refuses while another program writes to it keeps every result, and the file stays in use.
    void refusedClearKeepsTheFile()
    {
        Fixture f;
        f << Outcome::reaction(0.3, verdict);
        sql(f.path(), "BEGIN IMMEDIATE");
        f.history.clear(Test::Reaction);
        letGo();
        f << Outcome::reaction(0.25, verdict);
        QCOMPARE(std::tuple(f.boxes().size(), f.history.tellingDue(),
                     ResultHistory(f.fake.dialogs, f.fake.program).outcomes(Test::Reaction).size()),
            std::tuple(qsizetype(1), false, qsizetype(2)));
    }

    void chartsHoldTheResults()
    {
        Fixture f;
        f << Outcome::reaction(0.3, verdict) << Outcome::reaction(0.25, verdict) << Outcome::reaction(0.4, verdict);
        HistoryDialog dialog(Test::Reaction, f.history, f.fake.dialogs, nullptr);
        const qreal at = qreal(firstResult.toMSecsSinceEpoch()), next = at + 60'000, last = at + 120'000;
        // The results, their running median and the best; the median of the spread, and the outline of its
        // counts from 0 s: the bar of 0.25 s, then the one after it; down at 1 s.
        const Points outline = points(dialog, "spread", "histogram");
        QCOMPARE((QList<Points> { points(dialog, "progress", "results"), points(dialog, "progress", "median"),
                     points(dialog, "progress", "best"), points(dialog, "spread", "median"),
                     outline.mid(21, 3) << outline.constLast() }),
            (QList<Points> { { { at, 0.3 }, { next, 0.25 }, { last, 0.4 } },
                { { at, 0.3 }, { next, 0.275 }, { last, 0.3 } }, { { next, 0.25 } }, { { 0.3, 0 }, { 0.3, 2 } },
                { { 0.25, 1 }, { 0.275, 1 }, { 0.275, 0 }, { 1, 0 } } }));
        // Every other verdict band under the counts and the median, all standing on 0.
        const QChart *spread = dialog.findChild<QChartView *>("spread")->chart();
        // Ticks a band apart, or a round step when a slow time stretches the axis, so that no label is cut; whole
        // counts.
        QChart stretched;
        showSpread(&stretched, { 0.2, 13.1 });
        QList<double> ticks;
        for (QAbstractAxis *axis :
            { spread->axes(Qt::Horizontal)[0], stretched.axes(Qt::Horizontal)[0], spread->axes(Qt::Vertical)[0] })
            ticks << static_cast<QValueAxis *>(axis)->tickInterval();
        QCOMPARE(
            std::tuple(spread->series().size(), static_cast<QValueAxis *>(spread->axes(Qt::Vertical)[0])->min(), ticks),
            std::tuple(qsizetype(5 + 2), 0.0, QList<double> { 0.1, 2.0, 1.0 }));
        // Bins a quarter band wide, so that a band's bounds always fall between two bins.
        const Bins bins = binned({ -0.02, 0.3, 0.324, 1.2 });
        // Where they start, how many, how many stay empty, and where the times fall.
        QCOMPARE((QList<qsizetype> { qRound(bins.from * 100), bins.counts.size(), bins.counts.count(0),
                     bins.counts.indexOf(1), bins.counts.indexOf(2), bins.counts.lastIndexOf(1) }),
            (QList<qsizetype> { -10, 56, 53, 3, 16, 52 }));
        // What a screen reader names them.
        QCOMPARE((QStringList { dialog.findChild<QChartView *>("progress")->accessibleName(),
                     dialog.findChild<QChartView *>("spread")->accessibleName(),
                     dialog.findChild<QTableWidget *>("table")->accessibleName() }),
            u"Diagramm: Ergebnisse im Zeitverlauf|Diagramm: Verteilung der Zeiten|Alle Ergebnisse, das neueste zuerst"_s
                .split('|'));
        QCOMPARE(texts(dialog, { "best" }),
            u"Verlauf – Reaktionstest|Datum|01.03.2024 19:02|Zeit|0,400 Sekunden|Meldung|"
            "Einfach Klasse, total schnelle Reaktion!|0,250 Sekunden am 01.03.2024 19:01"_s.split('|'));
        // Without its module the window cannot open: the player is told, and nothing else happens.
        f.history.windowFolders.removeLast();
        f.history.show(Test::Reaction, nullptr);
        const QString told = "Verlauf: Das Fenster „Verlauf“ kann nicht geöffnet werden: ";
        QCOMPARE(f.boxes().value(0).left(told.size()), told);
        QCOMPARE(f.boxes().value(0).contains(QDir(f.fake.program.dir).filePath("korvane-verlauf.so")), true);
    }

    // Every test's results come back from the file into its window: the choices easiest first, each row named
    // after the one it takes; "Verlauf löschen" asks, and Return closes the window, never clears.
    void windowShowsAndClears_data()
    {
        QTest::addColumn<QList<Outcome>>("outcomes");
        QTest::addColumn<QStringList>("shown"); // title, choices, column titles with the newest row, count, last ten
        QTest::addColumn<bool>("confirmed"); // "Verlauf löschen" answered with Ja
        QTest::addRow("5 Farben")
            << QList { Outcome::memory(10, 10, 1500, "Super!"), Outcome::memory(3, 5, 1500, "3 richtig"),
                   Outcome::memory(4, 5, 750, "Gut") }
            << u"Verlauf – Gedächtnistrainning|Anzahl|alle|5 Farben|10 Farben|Geschwindigkeit|alle|"
               "mittel|schnell|Datum|01.03.2024 19:02|Richtig|4 richtig|Anzahl|5 Farben|Geschwindigkeit|"
               "schnell|Meldung|Gut|2|3,5 richtig"_s.split('|')
            << false;
        QTest::addRow("normal") << QList { Outcome::dexterity(380, 20, "schwer", true, "Klasse"),
            Outcome::dexterity(0, 7, "normal", false, "Pech"), Outcome::dexterity(185, 15, "normal", true, "Toll") }
                                << u"Verlauf – Geschicklichkeit|Modus|alle|normal|schwer|Datum|"
                                   "01.03.2024 19:02|Punkte|185 Punkte|Modus|normal|Sekunden|15|Meldung|"
                                   "Toll|2, davon 1 im Ziel|185 Punkte"_s.split('|')
                                << true;
        QTest::addRow("10 bis 99")
            << QList { Outcome::arithmetic(6, 10, 90, " Sie haben 6 Punkte "), Outcome::arithmetic(24, 1, 10, "24"),
                   Outcome::arithmetic(18, 10, 10, "18") }
            << u"Verlauf – Kopfrechnen|Zahlenbereich|alle|1 bis 10|10 bis 19|10 bis 99|Datum|"
               "01.03.2024 19:00|Punkte|6 Punkte|Zahlenbereich|10 bis 99|Meldung|Sie haben 6 Punkte|1|"
               "6 Punkte"_s.split('|')
            << true;
    }
    void windowShowsAndClears()
    {
        QFETCH(QList<Outcome>, outcomes);
        QFETCH(bool, confirmed);
        Fixture f;
        for (int i = 0; i < outcomes.size(); ++i)
            f << outcomes[i], outcomes[i].when = firstResult.addSecs(60 * i);
        f << Outcome::reaction(0.3, verdict); // another test's, which stays
        const Test test = outcomes[0].test;
        QCOMPARE(f.history.outcomes(test), outcomes); // read back from the file
        f.fake.dialogs.answers << (confirmed ? platform::vbYes : platform::vbNo);
        HistoryDialog window(test, f.history, f.fake.dialogs, nullptr);
        window.show();
        auto *first = window.findChild<QComboBox *>();
        first->setCurrentIndex(first->findText(QTest::currentDataTag()));
        QTEST(texts(window, { "count", "lastTen" }), "shown");
        // No axes left from before; no points below 0 (a lost run has 0).
        const QList<QAbstractAxis *> axes = window.findChild<QChartView *>("progress")->chart()->axes();
        QCOMPARE(std::pair(int(axes.size()), static_cast<QValueAxis *>(axes[1])->min() >= 0), std::pair(2, true));
        const int rows = window.findChild<QTableWidget *>("table")->rowCount();
        window.findChild<QPushButton *>("clear")->click();
        QCOMPARE(f.boxes(),
            QStringList(u"Verlauf löschen: Alle Ergebnisse im Verlauf „%1“ löschen? Das lässt sich nicht rückgängig "
                        "machen."_s.arg(testName(test))));
        QCOMPARE(f.fake.dialogs.shown[0].buttons, platform::vbYesNo | platform::vbExclamation);
        QTest::keyClick(&window, Qt::Key_Return);
        ResultHistory later(f.fake.dialogs, f.fake.program);
        // The rows left, whether there is more to clear, whether Return closed the window; what the file kept.
        QCOMPARE(
            (QVariantList { window.findChild<QTableWidget *>("table")->rowCount(),
                window.findChild<QPushButton *>("clear")->isEnabled(), window.isHidden(), later.outcomes(test).size(),
                later.outcomes(Test::Reaction).size(), sql(f.path(), "PRAGMA journal_mode") }),
            (QVariantList { confirmed ? 0 : rows, !confirmed, true, confirmed ? 0 : 3, 1, "wal" }));
    }
};

QTEST_MAIN(tst_history)
#include "tst_history.moc"
