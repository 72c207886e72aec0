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
const QString failure = "Verlauf: Der Verlauf kann nicht gespeichert werden (%1). Ihre Ergebnisse werden in dieser "
                        "Sitzung weiter angezeigt, aber nicht aufbewahrt.";

// A history on fake services whose clock moves on one minute per result; << records.
struct Fixture
{
    FakeServices fake;
    ResultHistory history { fake.dialogs, fake.program };
    int minutes = 0;

    Fixture() { history.clock = std::bind(&Fixture::next, this); }
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

// Statements through a connection of its own, as another program runs them; the last one's answer.
// The connection stays open, with its transaction, until letGo().
QVariant sql(const QString &path, const QStringList &statements)
{
    static int others = 0;
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other" + QString::number(++others));
    db.setDatabaseName(path);
    db.open();
    QSqlQuery query(db);
    for (const QString &statement : statements)
        query.exec(statement);
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

QList<QPointF> points(QDialog &dialog, const char *chartName, const char *name)
{
    for (QAbstractSeries *series : dialog.findChild<QChartView *>(chartName)->chart()->series()) {
        auto *area = qobject_cast<QAreaSeries *>(series); // the counts: the line above them
        if (series->objectName() == QLatin1String(name))
            return (area ? area->upperSeries() : static_cast<QXYSeries *>(series))->points();
    }
    return {};
}

// A row of the table (its titles for row -1), and then the figures named.
QStringList shown(QDialog &dialog, int row, const QStringList &figures = {})
{
    const auto *table = dialog.findChild<QTableWidget *>("table");
    QStringList texts;
    for (int column = 0; column < table->columnCount(); ++column)
        texts << (row < 0 ? table->horizontalHeaderItem(column) : table->item(row, column))->text();
    for (const QString &figure : figures)
        texts << dialog.findChild<QLabel *>(figure)->text();
    return texts;
}

const QString verdict = " Einfach Klasse, total schnelle Reaktion! ";
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
        const QVariant none;
        QTest::addRow("even") << Values { 4, 1, 3, 2 } << false << QVariantList { 4, 0, 2.5, 2.5, none, none, 0.0 };
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
        const auto real = [](auto optional) { return optional ? QVariant(*optional) : QVariant(); };
        QTEST((QVariantList { f.count, whole(f.best), real(f.median), real(f.lastTen), real(f.tenBefore),
                  whole(f.trend), runningMedian(values).value(10) }),
            "figures");
    }

    // A failing file never stops a game: told once, when no other box is open; this run's results still show.
    void failingFileLosesNoGame_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addRow("damaged") << "die Datei „%1“ ist beschädigt";
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
        if (row == "newer schema")
            sql(where, { "PRAGMA user_version = 2" });
        if (row == "locked")
            sql(where, { "BEGIN EXCLUSIVE" });
        const QByteArray before = bytes(f.path());
        f << Outcome::reaction(0.3, verdict) << Outcome::reaction(0.25, verdict);
        QCOMPARE(f.boxes(), QStringList()); // the game goes on undisturbed
        QVERIFY(f.history.tellingDue());
        f.history.tellWhenFree();
        letGo(); // a lock let go changes nothing: the file stays out of use in this run
        f << Outcome::reaction(0.4, verdict);
        f.history.tellWhenFree();
        QFETCH(QString, cause);
        QCOMPARE((QVariantList { f.boxes(), f.history.tellingDue(), f.history.outcomes(Test::Reaction).size() }),
            (QVariantList { QStringList(failure.arg(cause.arg(QDir::toNativeSeparators(where)))), false, 3 }));
        f.history.clear(Test::Reaction);
        QCOMPARE(f.history.outcomes(Test::Reaction), QList<Outcome>());
        QCOMPARE(bytes(f.path()), before);
    }

    void chartsHoldTheResults()
    {
        Fixture f;
        f << Outcome::reaction(0.3, verdict) << Outcome::reaction(0.25, verdict) << Outcome::reaction(0.4, verdict);
        HistoryDialog dialog(Test::Reaction, f.history, f.fake.dialogs, nullptr);
        const qreal at = qreal(firstResult.toMSecsSinceEpoch());
        QCOMPARE(points(dialog, "progress", "results"),
            (QList<QPointF> { { at, 0.3 }, { at + 60'000, 0.25 }, { at + 120'000, 0.4 } }));
        QCOMPARE(points(dialog, "progress", "median"),
            (QList<QPointF> { { at, 0.3 }, { at + 60'000, 0.275 }, { at + 120'000, 0.3 } }));
        QCOMPARE(points(dialog, "progress", "best"), (QList<QPointF> { { at + 60'000, 0.25 } }));
        QCOMPARE(points(dialog, "spread", "median"), (QList<QPointF> { { 0.3, 0 }, { 0.3, 2 } }));
        // The outline of the counts, from 0 s: the bar of 0.25 s, then the one after it; down at 1 s.
        const QList<QPointF> outline = points(dialog, "spread", "histogram");
        QCOMPARE(outline.mid(21, 3) << outline.constLast(),
            (QList<QPointF> { { 0.25, 1 }, { 0.275, 1 }, { 0.275, 0 }, { 1, 0 } }));
        const QChart *spread = dialog.findChild<QChartView *>("spread")->chart();
        QCOMPARE(static_cast<QValueAxis *>(spread->axes(Qt::Vertical)[0])->min(), 0.0); // the bars stand on 0
        // Every other verdict band, the counts, the median.
        QCOMPARE(spread->series().size(), 5 + 2);
        // Bins a quarter band wide, so that a band's bounds always fall between two bins.
        const Bins bins = binned({ -0.02, 0.3, 0.324, 1.2 });
        QList<int> found { qRound(bins.from * 100), int(bins.counts.size()) }; // where they start, how many
        for (int bin = 0; bin < bins.counts.size(); ++bin)
            found.append(QList<int>(bins.counts[bin], bin)); // the bin of each time
        QCOMPARE(found, (QList<int> { -10, 56, 3, 16, 16, 52 }));
        // Every point inside the axes, none on their edge, with no more room than a few steps; German dates
        // and decimal commas.
        const QChart *chart = dialog.findChild<QChartView *>("progress")->chart();
        const QList<QAbstractAxis *> axes = chart->axes();
        const auto *x = static_cast<QDateTimeAxis *>(axes[0]);
        const auto *y = static_cast<QValueAxis *>(axes[1]);
        QVERIFY(x->format() == "dd.MM. HH:mm" && chart->localizeNumbers() && chart->series()[0]->attachedAxes() == axes
            && x->min() < firstResult && x->min() > firstResult.addSecs(-600) && x->max() > firstResult.addSecs(120)
            && x->max() < firstResult.addSecs(720) && y->min() < 0.25 && y->min() >= 0.2 && y->max() > 0.4
            && y->max() <= 0.5);
        QCOMPARE(shown(dialog, -1, { "best" }) + shown(dialog, 0),
            (QStringList { "Datum", "Zeit", "Meldung", "0,250 Sekunden am 01.03.2024 19:01", "01.03.2024 19:02",
                "0,400 Sekunden", "Einfach Klasse, total schnelle Reaktion!" }));
    }

    // Every test's fields come back from the file; the choices easiest first, each row named after the one it takes.
    void filtersCompareLikeWithLike_data()
    {
        QTest::addColumn<QList<Outcome>>("outcomes");
        QTest::addColumn<QStringList>("shown"); // the choices, the titles, the count and the last ten
        QTest::addRow("5 Farben") << QList<Outcome> { memory10, memory5, memoryFast }
                                  << QStringList { "alle", "5 Farben", "10 Farben", "alle", "mittel", "schnell",
                                         "Datum", "Richtig", "Anzahl", "Geschwindigkeit", "Meldung", "2",
                                         "3,5 richtig" };
        QTest::addRow("normal") << QList<Outcome> { wonHard, lostNormal, wonNormal }
                                << QStringList { "alle", "normal", "schwer", "Datum", "Punkte", "Modus", "Sekunden",
                                       "Meldung", "2, davon 1 im Ziel", "185 Punkte" };
        QTest::addRow("10 bis 99") << QList<Outcome> { drill100, drill10, drill20 }
                                   << QStringList { "alle", "1 bis 10", "10 bis 19", "10 bis 99", "Datum", "Punkte",
                                          "Zahlenbereich", "Meldung", "1", "6 Punkte" };
    }
    void filtersCompareLikeWithLike()
    {
        QFETCH(QList<Outcome>, outcomes);
        Fixture f;
        for (const Outcome &outcome : outcomes)
            f << outcome;
        for (int i = 0; i < outcomes.size(); ++i)
            outcomes[i].when = firstResult.addSecs(60 * i);
        QCOMPARE(f.history.outcomes(outcomes[0].test), outcomes); // read back from the file
        HistoryDialog dialog(outcomes[0].test, f.history, f.fake.dialogs, nullptr);
        QList<QComboBox *> choices = dialog.findChildren<QComboBox *>();
        choices[0]->setCurrentIndex(choices[0]->findText(QTest::currentDataTag()));
        QStringList texts;
        for (const QComboBox *choice : choices) {
            for (int i = 0; i < choice->count(); ++i)
                texts << choice->itemText(i);
        }
        QTEST(texts + shown(dialog, -1, { "count", "lastTen" }), "shown");
        QCOMPARE(dialog.findChild<QChartView *>("progress")->chart()->axes().size(), 2); // none left from before
    }

    void clearingAsksAndClears_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("left"); // in the window and in the file
        QTest::addRow("Ja") << int(platform::vbYes) << 0;
        QTest::addRow("Nein") << int(platform::vbNo) << 2;
    }
    void clearingAsksAndClears()
    {
        QFETCH(int, answer);
        QFETCH(int, left);
        Fixture f;
        f << drill10 << drill20 << Outcome::reaction(0.3, verdict);
        f.fake.dialogs.answers << answer;
        QVariantList seen; // the rows left, whether there is more to clear, whether Return closed the window
        QTimer::singleShot(0, [&] {
            QWidget *window = QApplication::activeModalWidget();
            window->findChild<QPushButton *>("clear")->click();
            seen << window->findChild<QTableWidget *>("table")->rowCount()
                 << window->findChild<QPushButton *>("clear")->isEnabled();
            QTest::keyClick(window, Qt::Key_Return);
            seen << window->isHidden();
            window->close();
        });
        f.history.show(Test::Arithmetic, nullptr);
        QCOMPARE(f.boxes().constFirst(),
            "Verlauf löschen: Alle Ergebnisse im Verlauf „Kopfrechnen“ löschen? "
            "Das lässt sich nicht rückgängig machen.");
        QCOMPARE(f.fake.dialogs.shown[0].buttons, platform::vbYesNo | platform::vbExclamation);
        ResultHistory later(f.fake.dialogs, f.fake.program);
        QCOMPARE(seen, (QVariantList { left, left > 0, true }));
        QCOMPARE((QVariantList { f.boxes().size(), later.outcomes(Test::Arithmetic).size(),
                     later.outcomes(Test::Reaction).size(), sql(f.path(), { "PRAGMA user_version" }),
                     sql(f.path(), { "PRAGMA journal_mode" }) }),
            (QVariantList { 1, left, 1, Store::schemaVersion, "wal" }));
    }
};

QTEST_MAIN(tst_history)
#include "tst_history.moc"
