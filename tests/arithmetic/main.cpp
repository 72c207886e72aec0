#include <QApplication>
#include <QLocale>
#include <QTest>

QObject *makeForm4Test();
QObject *makePlaythroughTest();

// One executable for the folder: the window, and a drill played from the
// start window to a saved entry and back.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    int failed = 0;
    for (QObject *test : { makeForm4Test(), makePlaythroughTest() }) {
        failed += QTest::qExec(test, argc, argv);
        delete test;
    }
    return failed;
}
