#include <QApplication>
#include <QLocale>
#include <QTest>

QObject *makeVerdictsTest();
QObject *makeForm1Test();
QObject *makePlaythroughTest();

// One executable for the folder: the verdict table, the window, and a round
// played from the start window and back.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    int failed = 0;
    for (QObject *test : { makeVerdictsTest(), makeForm1Test(), makePlaythroughTest() }) {
        failed += QTest::qExec(test, argc, argv);
        delete test;
    }
    return failed;
}
