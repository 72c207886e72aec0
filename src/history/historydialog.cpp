// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/historydialog.h"

#include "history/charts.h"
#include "history/resulthistory.h"
#include "history/statistics.h"

#include <QChartView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace history {

namespace {

const QString titleStart = QStringLiteral("Verlauf – ");
const QString allChoice = QStringLiteral("alle");
const QString figuresCaption = QStringLiteral("Zahlen");
const QString clearCaption = QStringLiteral("Verlauf &löschen");
const QString closeCaption = QStringLiteral("&Schließen");
const QString clearTitle = QStringLiteral("Verlauf löschen");
const QString clearPrompt
    = QStringLiteral("Alle Ergebnisse im Verlauf „%1“ löschen? Das lässt sich nicht rückgängig machen.");

const QString dateTitle = QStringLiteral("Datum");
const QString secondsTitle = QStringLiteral("Sekunden");
const QString sentenceTitle = QStringLiteral("Meldung");
const QString dateFormat = QStringLiteral("dd.MM.yyyy HH:mm");
const QString none = QStringLiteral("–");
const QString wonPart = QStringLiteral(", davon %1 im Ziel");
const QString bestOn = QStringLiteral(" am ");
const QString trendWords[]
    = { QStringLiteral(" (besser)"), QStringLiteral(" (gleich)"), QStringLiteral(" (schlechter)") };

const QString progressName = QStringLiteral("Diagramm: Ergebnisse im Zeitverlauf");
const QString spreadName = QStringLiteral("Diagramm: Verteilung der Zeiten");
const QString tableName = QStringLiteral("Alle Ergebnisse, das neueste zuerst");

// The figures, each as an object name with its label.
const std::pair<const char *, QString> figureRows[] = {
    { "count", QStringLiteral("Anzahl:") },
    { "best", QStringLiteral("Bestes:") },
    { "median", QStringLiteral("Median:") },
    { "lastTen", QStringLiteral("Median der letzten 10:") },
    { "tenBefore", QStringLiteral("Median der 10 davor:") },
};

const QSize chartSize(440, 300);

QChartView *chartView(QChart *chart, const char *name, const QString &accessibleName)
{
    auto *view = new QChartView(chart);
    view->setObjectName(QLatin1String(name));
    view->setAccessibleName(accessibleName);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(chartSize);
    return view;
}

QString shownDate(const QDateTime &when)
{
    return when.toLocalTime().toString(dateFormat);
}

} // namespace

QList<HistoryDialog::Column> HistoryDialog::columnsOf(Test test)
{
    QList<Column> columns {
        { dateTitle, [](const Outcome &outcome) { return shownDate(outcome.when); } },
        { valueTitle(test),
            [test](const Outcome &outcome) {
                const std::optional<double> value = valueOf(outcome);
                return value ? valueText(test, *value) : none;
            } },
    };
    for (Facet facet : facetsOf(test))
        columns.append({ facetTitle(facet), [facet](const Outcome &outcome) { return facetText(facet, outcome); } });
    if (test == Test::Dexterity)
        columns.append({ secondsTitle, [](const Outcome &outcome) { return QString::number(outcome.seconds); } });
    columns.append({ sentenceTitle, [](const Outcome &outcome) { return outcome.sentence.trimmed(); } });
    return columns;
}

HistoryDialog::HistoryDialog(Test test, ResultHistory &history, platform::Dialogs &dialogs, QWidget *parent)
    : QDialog(parent)
    , test_(test)
    , history_(history)
    , dialogs_(dialogs)
    , columns_(columnsOf(test))
    , progress_(new QChart)
    , table_(new QTableWidget)
{
    setWindowTitle(titleStart + testName(test));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeFilters());
    auto *charts = new QHBoxLayout;
    charts->addWidget(chartView(progress_, "progress", progressName));
    if (test == Test::Reaction) {
        spread_ = new QChart;
        charts->addWidget(chartView(spread_, "spread", spreadName));
    }
    layout->addLayout(charts);

    auto *lower = new QHBoxLayout;
    lower->addWidget(makeFigures());
    lower->addWidget(makeTable());
    layout->addLayout(lower);

    auto *buttons = new QDialogButtonBox(this); // in the dialog already, so that its default button counts
    clear_ = buttons->addButton(clearCaption, QDialogButtonBox::DestructiveRole);
    clear_->setObjectName(QStringLiteral("clear"));
    buttons->addButton(closeCaption, QDialogButtonBox::RejectRole)->setDefault(true);
    connect(clear_, &QPushButton::clicked, this, &HistoryDialog::clearClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    reload();
}

QWidget *HistoryDialog::makeFilters()
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins({});
    for (Facet facet : facetsOf(test_)) {
        auto *label = new QLabel(facetLabel(facet));
        auto *choice = new QComboBox;
        choice->setAccessibleName(facetTitle(facet));
        label->setBuddy(choice);
        layout->addWidget(label);
        layout->addWidget(choice);
        filters_.insert(facet, choice);
        connect(choice, &QComboBox::currentIndexChanged, this, &HistoryDialog::refresh);
    }
    layout->addStretch();
    return row;
}

QWidget *HistoryDialog::makeTable()
{
    table_->setObjectName(QStringLiteral("table"));
    table_->setAccessibleName(tableName);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    QStringList titles;
    for (const Column &column : std::as_const(columns_))
        titles << column.title;
    table_->setColumnCount(int(titles.size()));
    table_->setHorizontalHeaderLabels(titles);
    return table_;
}

QWidget *HistoryDialog::makeFigures()
{
    auto *box = new QGroupBox(figuresCaption);
    box->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred); // the table takes the rest
    auto *layout = new QFormLayout(box);
    for (const auto &[name, label] : figureRows) {
        auto *value = new QLabel;
        value->setObjectName(QLatin1String(name));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addRow(label, value);
        figures_.insert(QLatin1String(name), value);
    }
    return box;
}

void HistoryDialog::reload()
{
    all_ = history_.outcomes(test_);
    for (auto [facet, choice] : filters_.asKeyValueRange()) {
        const QSignalBlocker quiet(choice);
        choice->clear();
        choice->addItem(allChoice);
        choice->addItems(facetChoices(facet, all_));
    }
    clear_->setEnabled(!all_.isEmpty());
    refresh();
}

void HistoryDialog::refresh()
{
    Filter filter;
    for (auto [facet, choice] : filters_.asKeyValueRange()) {
        if (choice->currentIndex() > 0)
            filter.insert(facet, choice->currentText());
    }
    const QList<Outcome> shown = filtered(all_, filter);
    showProgress(progress_, test_, shown);
    if (spread_) {
        QList<double> seconds;
        for (const Outcome &outcome : shown)
            seconds << outcome.seconds;
        showSpread(spread_, seconds);
    }
    fillFigures(shown);
    fillTable(shown);
}

void HistoryDialog::fillFigures(const QList<Outcome> &shown)
{
    QList<double> values;
    QList<QDateTime> times;
    for (const Outcome &outcome : shown) {
        if (const std::optional<double> value = valueOf(outcome)) {
            values << *value;
            times << outcome.when;
        }
    }
    const Figures figures = figuresOf(values, lowerIsBetter(test_));
    const auto text = [this](std::optional<double> value) { return value ? valueText(test_, *value) : none; };
    QString count = QString::number(shown.size());
    if (values.size() < shown.size())
        count += wonPart.arg(values.size());
    figures_[QStringLiteral("count")]->setText(count);
    figures_[QStringLiteral("best")]->setText(
        figures.best ? text(values[*figures.best]) + bestOn + shownDate(times[*figures.best]) : none);
    figures_[QStringLiteral("median")]->setText(text(figures.median));
    figures_[QStringLiteral("lastTen")]->setText(
        text(figures.lastTen) + (figures.trend ? trendWords[int(*figures.trend)] : QString()));
    figures_[QStringLiteral("tenBefore")]->setText(text(figures.tenBefore));
}

void HistoryDialog::fillTable(const QList<Outcome> &shown)
{
    table_->setRowCount(int(shown.size()));
    for (int row = 0; row < shown.size(); ++row) {
        const Outcome &outcome = shown[shown.size() - 1 - row]; // the newest first
        for (int column = 0; column < columns_.size(); ++column)
            table_->setItem(row, column, new QTableWidgetItem(columns_[column].text(outcome)));
    }
    table_->resizeColumnsToContents();
}

void HistoryDialog::clearClicked()
{
    const int answer
        = dialogs_.MsgBox(clearPrompt.arg(testName(test_)), platform::vbYesNo | platform::vbExclamation, clearTitle);
    if (answer != platform::vbYes)
        return;
    history_.clear(test_);
    reload();
}

} // namespace history
