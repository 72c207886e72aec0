#include "fakeservices.h"
#include "history/historydialog.h"
#include "history/resulthistory.h"
#include "history/statistics.h"

#include <QTest>
#include <QtCharts>
#include <QtSql>
#include <QtWidgets>

using namespace history;
using Values = QList<double>;

namespace {

const QDateTime firstResult(QDate(2024, 3, 1), QTime(18, 0), Qt::UTC);
const QString failurePrompt = "Der Verlauf kann nicht gespeichert werden (%1). Ihre Ergebnisse werden in dieser "
                              "Sitzung weiter angezeigt, aber nicht aufbewahrt.";

// A history on fake services whose clock moves on one minute per result.
struct Fixture
{
    FakeServices fake;
    ResultHistory history { fake.dialogs, fake.program };
    int minutes = 0;

    Fixture()
    {
        history.clock = [this] { return firstResult.addSecs(60 * minutes++); };
    }
    QString path() const { return QDir(fake.program.dir).filePath(ResultHistory::fileName); }
    Fixture &operator<<(const Outcome &outcome) // records it
    {
        history.record(outcome);
        return *this;
    }
    QStringList boxes() const
    {
        QStringList texts;
        for (const ShownBox &box : fake.dialogs.shown)
            texts << box.title + ": " + box.prompt;
        return texts;
    }
};

// Statements through a connection of its own, as another program runs them; the last one's answer.
// The connection stays open, with its transaction, until the test ends.
QVariant sql(const QString &path, const QStringList &statements)
{
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other" + QString::number(rand()));
    db.setDatabaseName(path);
    db.open();
    QSqlQuery query(db);
    for (const QString &statement : statements)
        query.exec(statement);
    return query.next() ? query.value(0) : QVariant();
}

QByteArray bytes(const QString &path, const QByteArray &replacement = {})
{
    QFile file(path);
    if (!replacement.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(replacement))
        file.close();
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<QPointF> points(QDialog &dialog, const char *view, const char *name)
{
    for (QAbstractSeries *series : dialog.findChild<QChartView *>(view)->chart()->series()) {
        if (series->objectName() == QLatin1String(name))
            return static_cast<QXYSeries *>(series)->points();
    }
    return {};
}

Outcome reaction(double seconds)
{
    return Outcome::reaction(seconds, " Einfach Klasse, total schnelle Reaktion! ");
}

const Outcome memory5 = Outcome::memory(3, 5, 1500, "3 richtig");
const Outcome memory10 = Outcome::memory(10, 10, 1500, "Super, Sie haben alles behalten!");
const Outcome memoryFast = Outcome::memory(4, 5, 750, "4 richtig");
const Outcome wonNormal = Outcome::dexterity(185, 15, "normal", true, "Das sind 185 Punkte für Sie");
const Outcome lostNormal = Outcome::dexterity(0, 7, "normal", false, "Pech gehabt");
const Outcome wonHard = Outcome::dexterity(380, 20, "schwer", true, "Das sind 380 Punkte für Sie");
const Outcome drill10 = Outcome::arithmetic(24, 1, 10, "Sie haben 24  Punkte errechnet.");
const Outcome drill20 = Outcome::arithmetic(18, 10, 10, " Sie haben 18 Punkte erreicht");
const Outcome drill100 = Outcome::arithmetic(6, 10, 90, "Sie haben 6  Punkte errechnet.");

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
        for (const QString &connection : QSqlDatabase::connectionNames())
            QSqlDatabase::removeDatabase(connection.startsWith("other") ? connection : QString());
    }

    void statistics_data()
    {
        QTest::addColumn<Values>("values");
        QTest::addColumn<bool>("lowerIsBetter");
        // count, best, median, last ten, ten before, trend (better 0, worse 2)
        QTest::addColumn<QVariantList>("figures");
        QTest::addColumn<Values>("running");
        const QVariant none;
        const Values rising { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 };
        const Values medians { 1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5, 5.5, 6.5, 7.5 };
        QTest::addRow("even count") << Values { 4, 1, 3, 2 } << false << QVariantList { 4, 0, 2.5, 2.5, none, none }
                                    << Values { 4, 2.5, 3, 2.5 };
        QTest::addRow("lowest time, first of equals")
            << Values { 0.3, 0.2, 0.2, 0.4 } << true << QVariantList { 4, 1, 0.25, 0.25, none, none }
            << Values { 0.3, 0.25, 0.2, 0.25 };
        QTest::addRow("more points") << rising << false << QVariantList { 12, 11, 6.5, 7.5, 1.5, 0 } << medians;
        QTest::addRow("longer times") << rising << true << QVariantList { 12, 0, 6.5, 7.5, 1.5, 2 } << medians;
        QTest::addRow("all equal") << Values(25, 5) << false << QVariantList { 25, 0, 5.0, 5.0, 5.0, 1 }
                                   << Values(25, 5);
    }
    void statistics()
    {
        QFETCH(Values, values);
        QFETCH(bool, lowerIsBetter);
        const Figures f = figuresOf(values, lowerIsBetter);
        const auto variant = [](auto optional) { return optional ? QVariant(int(*optional)) : QVariant(); };
        const auto real = [](auto optional) { return optional ? QVariant(*optional) : QVariant(); };
        QTEST((QVariantList {
                  f.count, variant(f.best), real(f.median), real(f.lastTen), real(f.tenBefore), variant(f.trend) }),
            "figures");
        QTEST(runningMedian(values), "running");
    }

    // Bins a quarter band wide, so that a band's bounds always fall between two bins.
    void histogramBins()
    {
        const Bins bins = binned({ -0.02, 0.3, 0.324, 1.23 });
        QList<int> found { qRound(bins.from * 100), int(bins.counts.size()) }; // where they start, how many
        for (int bin = 0; bin < bins.counts.size(); ++bin)
            found.append(QList<int>(bins.counts[bin], bin)); // the bin of each time
        QCOMPARE(found, (QList<int> { -10, 56, 3, 16, 16, 53 }));
    }

    // A failing file never stops a game: told once, after the game's own box, and this run's results still show.
    void failingFileLosesNoGame_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addRow("damaged") << "die Datei „%1“ ist beschädigt";
        QTest::addRow("folder under a file") << "der Ordner „%1“ lässt sich nicht anlegen";
        QTest::addRow("newer schema") << "die Datei „%1“ stammt von einer neueren Fassung von Korvane";
    }
    void failingFileLosesNoGame()
    {
        const QString row = QTest::currentDataTag();
        Fixture f;
        QString where = f.path();
        bytes(where, row == "newer schema" ? QByteArray() : QByteArray(4096, 'x'));
        if (row == "folder under a file")
            f.fake.program.dir = where = QDir(where).filePath("Korvane");
        if (row == "newer schema")
            sql(where, { "PRAGMA user_version = 2" });
        const QByteArray before = bytes(f.path());
        f << reaction(0.3) << reaction(0.25);
        QDialog gameBox;
        gameBox.open();
        f.history.tellWhenFree();
        QCOMPARE(f.boxes(), QStringList()); // the game goes on undisturbed
        gameBox.close();
        QVERIFY(f.history.tellingDue());
        f.history.tellWhenFree();
        f << reaction(0.4);
        f.history.tellWhenFree();
        QFETCH(QString, cause);
        QCOMPARE(f.boxes(), QStringList("Verlauf: " + failurePrompt.arg(cause.arg(QDir::toNativeSeparators(where)))));
        QVERIFY(!f.history.tellingDue());
        QCOMPARE(f.history.outcomes(Test::Reaction).size(), 3);
        QCOMPARE(bytes(f.path()), before);
    }

    void chartsHoldTheResults()
    {
        Fixture f;
        f << reaction(0.3) << reaction(0.25) << reaction(0.4);
        HistoryDialog dialog(Test::Reaction, f.history, f.fake.dialogs, nullptr);
        const qreal at = qreal(firstResult.toMSecsSinceEpoch());
        QCOMPARE(points(dialog, "progress", "results"),
            (QList<QPointF> { { at, 0.3 }, { at + 60'000, 0.25 }, { at + 120'000, 0.4 } }));
        QCOMPARE(points(dialog, "progress", "median"),
            (QList<QPointF> { { at, 0.3 }, { at + 60'000, 0.275 }, { at + 120'000, 0.3 } }));
        QCOMPARE(points(dialog, "progress", "best"), (QList<QPointF> { { at + 60'000, 0.25 } }));
        QCOMPARE(points(dialog, "spread", "median"), (QList<QPointF> { { 0.3, 0 }, { 0.3, 2 } }));
        // Every point inside the axes, none on their edge.
        const QChart *chart = dialog.findChild<QChartView *>("progress")->chart();
        const auto *x = static_cast<QDateTimeAxis *>(chart->axes(Qt::Horizontal).constFirst());
        const auto *y = static_cast<QValueAxis *>(chart->axes(Qt::Vertical).constFirst());
        QVERIFY(x->min() < firstResult && x->max() > firstResult.addSecs(120) && y->min() < 0.25 && y->max() > 0.4);
        const auto *table = dialog.findChild<QTableWidget *>("table");
        QCOMPARE((QStringList { table->item(0, 0)->text(), table->item(0, 1)->text(), table->item(0, 2)->text(),
                     dialog.findChild<QLabel *>("best")->text() }),
            (QStringList { "01.03.2024 19:02", "0,400 Sekunden", "Einfach Klasse, total schnelle Reaktion!",
                "0,250 Sekunden am 01.03.2024 19:01" }));
    }

    // Every test's fields come back from the file; the choices easiest first, each row named after the one it takes.
    void filtersCompareLikeWithLike_data()
    {
        QTest::addColumn<QList<Outcome>>("outcomes");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<QStringList>("figures"); // the count, the median of the last ten
        QTest::addColumn<int>("rows");
        const QList<Outcome> games { memory10, memory5, memoryFast };
        QTest::addRow("5 Farben") << games << 0 << QStringList { "alle", "5 Farben", "10 Farben" }
                                  << QStringList { "2", "3,5 richtig" } << 2;
        QTest::addRow("schnell") << games << 1 << QStringList { "alle", "mittel", "schnell" }
                                 << QStringList { "1", "4 richtig" } << 1;
        QTest::addRow("normal") << QList<Outcome> { wonHard, lostNormal, wonNormal } << 0
                                << QStringList { "alle", "normal", "schwer" }
                                << QStringList { "2, davon 1 im Ziel", "185 Punkte" } << 2;
        QTest::addRow("10 bis 99") << QList<Outcome> { drill100, drill10, drill20 } << 0
                                   << QStringList { "alle", "1 bis 10", "10 bis 19", "10 bis 99" }
                                   << QStringList { "1", "6 Punkte" } << 1;
    }
    void filtersCompareLikeWithLike()
    {
        QFETCH(QList<Outcome>, outcomes);
        QFETCH(int, filter);
        Fixture f;
        for (const Outcome &outcome : outcomes)
            f << outcome;
        ResultHistory later(f.fake.dialogs, f.fake.program);
        for (int i = 0; i < outcomes.size(); ++i)
            outcomes[i].when = firstResult.addSecs(60 * i);
        QCOMPARE(later.outcomes(outcomes[0].test), outcomes);
        HistoryDialog dialog(outcomes[0].test, later, f.fake.dialogs, nullptr);
        QComboBox *choice = dialog.findChildren<QComboBox *>()[filter];
        choice->setCurrentIndex(choice->findText(QTest::currentDataTag()));
        QStringList choices;
        for (int i = 0; i < choice->count(); ++i)
            choices << choice->itemText(i);
        QTEST(choices, "choices");
        QTEST((QStringList {
                  dialog.findChild<QLabel *>("count")->text(), dialog.findChild<QLabel *>("lastTen")->text() }),
            "figures");
        QTEST(dialog.findChild<QTableWidget *>("table")->rowCount(), "rows");
    }

    void clearingAsksAndClears_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("left"); // in the window and in the file
        QTest::addRow("Ja") << int(platform::vbYes) << 0;
        QTest::addRow("Nein") << int(platform::vbNo) << 2;
        QTest::addRow("Ja, but the file is locked") << int(platform::vbYes) << 2; // told at once
    }
    void clearingAsksAndClears()
    {
        QFETCH(int, answer);
        QFETCH(int, left);
        Fixture f;
        f << drill10 << drill20 << reaction(0.3);
        const bool locked = QTest::currentDataTag() == QLatin1String("Ja, but the file is locked");
        if (locked)
            sql(f.path(), { "BEGIN EXCLUSIVE", "DELETE FROM results" });
        f.fake.dialogs.answers << answer;
        qsizetype rows = -1;
        QTimer::singleShot(0, [&] {
            QWidget *window = QApplication::activeModalWidget();
            window->findChild<QPushButton *>("clear")->click();
            rows = window->findChild<QTableWidget *>("table")->rowCount();
            window->close();
        });
        f.history.show(Test::Arithmetic, nullptr);
        QCOMPARE(f.boxes().constFirst(),
            "Verlauf löschen: Alle Ergebnisse im Verlauf „Kopfrechnen“ löschen? "
            "Das lässt sich nicht rückgängig machen.");
        QCOMPARE(f.fake.dialogs.shown[0].buttons, platform::vbYesNo | platform::vbExclamation);
        QCOMPARE(f.boxes().size(), locked ? 2 : 1);
        cleanup();
        ResultHistory later(f.fake.dialogs, f.fake.program);
        QCOMPARE(
            (QList<qsizetype> { rows, later.outcomes(Test::Arithmetic).size(), later.outcomes(Test::Reaction).size() }),
            (QList<qsizetype> { left, left, 1 }));
        QCOMPARE((QVariantList { sql(f.path(), { "PRAGMA user_version" }), sql(f.path(), { "PRAGMA journal_mode" }) }),
            (QVariantList { Store::schemaVersion, "wal" }));
    }
};

QTEST_MAIN(tst_history)
#include "tst_history.moc"
