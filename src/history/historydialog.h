// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "history/rules.h"

#include <QDialog>
#include <QList>
#include <QMap>
#include <functional>

class QChart;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace history {

class ResultHistory;

// The "Verlauf" window of one test: filters for the settings that split its
// results, the charts, the figures, a table of every result (newest first),
// and "Verlauf löschen".
class HistoryDialog : public QDialog
{
    Q_OBJECT

public:
    HistoryDialog(Test test, ResultHistory &history, platform::Dialogs &dialogs, QWidget *parent);

    void clearClicked();

private:
    // A column of the table: its title and what it shows of a result.
    struct Column
    {
        QString title;
        std::function<QString(const Outcome &)> text;
    };
    static QList<Column> columnsOf(Test test);

    QWidget *makeFilters();
    QWidget *makeFigures();
    QWidget *makeTable();
    void reload(); // every result of the test, the filters' choices with them
    void refresh(); // the results the filters let through, into charts, figures and table
    void fillFigures(const QList<Outcome> &shown);
    void fillTable(const QList<Outcome> &shown);

    Test test_;
    ResultHistory &history_;
    platform::Dialogs &dialogs_;
    QList<Column> columns_;
    QList<Outcome> all_;
    QMap<Facet, QComboBox *> filters_;
    QChart *progress_;
    QChart *spread_ = nullptr; // reaction times only
    QMap<QString, QLabel *> figures_;
    QTableWidget *table_;
    QPushButton *clear_;
};

} // namespace history
