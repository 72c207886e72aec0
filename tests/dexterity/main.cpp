#include <QApplication>
#include <QLocale>
#include <QTest>

QObject *makeCourseTest();
QObject *makeForm3Test();
QObject *makePlaythroughTest();

// One executable for the folder: the course picture, the window, and a run
// played from the start window into best1.lst and back.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    int failed = 0;
    for (QObject *test : { makeCourseTest(), makeForm3Test(), makePlaythroughTest() }) {
        failed += QTest::qExec(test, argc, argv);
        delete test;
    }
    return failed;
}
