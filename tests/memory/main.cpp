#include <QApplication>
#include <QLocale>
#include <QTest>

QObject *makeGameTest();
QObject *makeSettingsTest();
QObject *makeWindowTest();

// One executable for the folder: the game, the settings menu, and the window
// with its panels, its closing and a game played from the start window.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    int failed = 0;
    for (QObject *test : { makeGameTest(), makeSettingsTest(), makeWindowTest() }) {
        failed += QTest::qExec(test, argc, argv);
        delete test;
    }
    return failed;
}
