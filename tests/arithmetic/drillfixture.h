#pragma once

#include "arithmetic/drillrules.h"
#include "arithmetic/form4.h"
#include "fakeservices.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <utility>

// Helpers shared by the tests of the arithmetic window.
namespace fixture {

struct Task
{
    int first;
    int second;
};

// The random number that draws a factor from a range: the middle of its slot.
inline float rFor(int factor, const drill::Range &range)
{
    return (float(factor - range.lowfactor) + 0.5f) / float(range.factorspan);
}

inline void scriptTasks(FakeRandom &random, const QList<Task> &tasks, const drill::Range &range)
{
    for (const Task &task : tasks)
        random.values << rFor(task.first, range) << rFor(task.second, range);
}

// One key typed into a widget: a click, or the special keys that the drill
// judges as well ('\b' Backspace, '^' Shift, '<' left arrow).
inline void typeKey(QWidget *widget, QChar key)
{
    if (key == QLatin1Char('\b'))
        QTest::keyClick(widget, Qt::Key_Backspace);
    else if (key == QLatin1Char('^'))
        QTest::keyClick(widget, Qt::Key_Shift);
    else if (key == QLatin1Char('<'))
        QTest::keyClick(widget, Qt::Key_Left);
    else
        QTest::keyClick(widget, key.toLatin1());
}

inline void typeKeys(QWidget *widget, const QString &keys)
{
    for (QChar key : keys)
        typeKey(widget, key);
}

inline QString listPath(FakeServices &fake)
{
    return QDir(fake.program.dir).filePath(QStringLiteral("best2.lst"));
}

inline QByteArray readList(FakeServices &fake)
{
    QFile file(listPath(fake));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// best2.lst with one line per key, best first, as the program writes them.
inline void writeList(FakeServices &fake, const QList<int> &keys)
{
    QFile file(listPath(fake));
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < keys.size(); ++i)
        file.write(QStringLiteral(" %1  Punkte für  Spieler%2\r\n").arg(keys[i]).arg(i + 1).toLatin1());
}

inline bool rangeMenuEnabled(const Form4 &form)
{
    return form.controls().eins->menuAction()->isEnabled();
}

inline QList<bool> rangeMarks(const Form4 &form)
{
    const Form4::Controls &c = form.controls();
    return { c.z10->isChecked(), c.z20->isChecked(), c.z100->isChecked() };
}

} // namespace fixture
