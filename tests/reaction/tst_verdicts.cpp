#include "fakeservices.h"
#include "reaction/form1.h"
#include "reaction/verdicts.h"

#include <QTest>
#include <cmath>
#include <limits>

namespace {

constexpr float highestRnd = 0.99999994f; // the largest float below 1

float justBelow(float bound)
{
    return std::nextafter(bound, -std::numeric_limits<float>::infinity());
}

} // namespace

class VerdictsTest : public QObject
{
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void eachTextHasOneBlankAtEachEnd();
    void bands_data();
    void bands();
    void bothCommentsOfABand_data();
    void bothCommentsOfABand();
    void ratereactionSetsBothFields();
};

void VerdictsTest::texts_data()
{
    QTest::addColumn<short>("index");
    QTest::addColumn<QString>("text");
    const QStringList expected = {
        " Sie sind der Knaller, das macht Ihnen so schnell keiner nach ",
        " Wahnsinn!, mit solch einer Reaktion sollten Sie Rennfahrer werden ",
        " Super diese Zeit wird wohl so schnell keiner unterbieten! ",
        " Hervorragende Zeit. Sie sind echt gut ",
        " Einfach Klasse, total schnelle Reaktion! ",
        " Das ist ein guter Durchschnitt! ",
        " An dieser Zeit ist nichts auzusetzen! ",
        " Na ja das können Sie bestimmt noch besser! ",
        " Versuchen Sie es noch einmal, vielleicht hatten Sie eben einen kleinen Durchhänger! ",
        " Ich hoffe mal dass Sie keinen Führerschein besitzen! ",
        " Meine Oma hätte das besser hingekriegt! ",
        " Falls Sie im Besitz einer Fahrerlaubnis sind geben Sie bitte diese sofort ab!!! ",
        " Also viel langsamer kann man nicht mehr reagieren! ",
        " Das scheint ja zwecklos bei Ihnen zu sein, Raktion gehört wohl nicht zu Ihren guten Eigenschaften! ",
        " Mann, das war absolut schlecht! ",
        " Aufhören, dieses Programm ist ein Reaktionstest und kein Einschlaftest! ",
    };
    QCOMPARE(expected.size(), reaction::verdictCount);
    for (short index = 0; index < reaction::verdictCount; ++index)
        QTest::addRow("%d", index) << index << expected.at(index);
}

void VerdictsTest::texts()
{
    QFETCH(short, index);
    QFETCH(QString, text);
    QCOMPARE(reaction::verdictText(index), text);
}

void VerdictsTest::eachTextHasOneBlankAtEachEnd()
{
    for (short index = 0; index < reaction::verdictCount; ++index) {
        const QString &text = reaction::verdictText(index);
        QVERIFY2(text.startsWith(' ') && !text.startsWith("  "), qPrintable(text));
        QVERIFY2(text.endsWith(' ') && !text.endsWith("  "), qPrintable(text));
    }
}

void VerdictsTest::bands_data()
{
    QTest::addColumn<float>("seconds");
    QTest::addColumn<float>("rnd");
    QTest::addColumn<short>("index");
    QTest::addColumn<int>("draws");

    QTest::newRow("negative") << -0.02f << 0.9f << short(0) << 0;
    QTest::newRow("far negative") << -5.0f << 0.9f << short(0) << 0;
    QTest::newRow("zero") << 0.0f << 0.9f << short(0) << 0;
    QTest::newRow("0.099") << 0.099f << 0.9f << short(0) << 0;
    QTest::newRow("just below 0.1") << justBelow(0.1f) << 0.9f << short(0) << 0;
    QTest::newRow("0.1") << 0.1f << 0.0f << short(1) << 1;
    QTest::newRow("0.15") << 0.15f << 0.0f << short(1) << 1;

    // Each bound opens the band above it; the float just below it stays in the
    // band below, on that band's second comment.
    const float bounds[] = { 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f };
    short first = 3;
    for (float bound : bounds) {
        QTest::addRow("%.1f", double(bound)) << bound << 0.0f << first << 1;
        QTest::addRow("just below %.1f", double(bound)) << justBelow(bound) << highestRnd << short(first - 1) << 1;
        first = short(first + 2);
    }
    // The time is a float and so are the bounds: 0.7f lies just below the double
    // 0.7, so a comparison in double would put it a band too low.
    QTest::newRow("0.7f is in the 0.7 band") << 0.7f << 0.0f << short(13) << 1;
    QTest::newRow("0.3f is in the 0.3 band") << 0.3f << 0.0f << short(5) << 1;

    QTest::newRow("just below 0.8") << justBelow(0.8f) << highestRnd << short(14) << 1;
    QTest::newRow("0.8") << 0.8f << 0.0f << short(15) << 0;
    QTest::newRow("5") << 5.0f << 0.0f << short(15) << 0;
    QTest::newRow("huge") << 1e9f << 0.0f << short(15) << 0;
}

void VerdictsTest::bands()
{
    QFETCH(float, seconds);
    QFETCH(float, rnd);
    QFETCH(short, index);
    QFETCH(int, draws);

    FakeRandom random;
    random.values = { rnd };
    QCOMPARE(reaction::verdictIndex(seconds, random), index);
    QCOMPARE(random.drawn, draws);
}

void VerdictsTest::bothCommentsOfABand_data()
{
    QTest::addColumn<float>("seconds");
    QTest::addColumn<short>("first");

    for (int band = 1; band <= 7; ++band)
        QTest::addRow("band %d", band) << float(band) / 10.0f + 0.05f << short(2 * band - 1);
}

void VerdictsTest::bothCommentsOfABand()
{
    QFETCH(float, seconds);
    QFETCH(short, first);

    // Rnd below a half gives the band's first comment, from a half on its second.
    FakeRandom random;
    random.values = { 0.0f, 0.49999997f, 0.5f, highestRnd };
    QList<short> chosen;
    for (int i = 0; i < 4; ++i)
        chosen << reaction::verdictIndex(seconds, random);
    QCOMPARE(chosen, (QList<short> { first, first, short(first + 1), short(first + 1) }));
}

void VerdictsTest::ratereactionSetsBothFields()
{
    FakeServices fake;
    Form1 form(fake.services);
    fake.random.values = { 0.75f };
    form.reactiontime = 0.45f;
    form.ratereaction();
    QCOMPARE(form.verdictindex, short(8));
    QCOMPARE(form.verdicttext, reaction::verdictText(8));

    // A later rating overwrites both.
    form.reactiontime = -0.01f;
    form.ratereaction();
    QCOMPARE(form.verdictindex, short(0));
    QCOMPARE(form.verdicttext, reaction::verdictText(0));
}

QObject *makeVerdictsTest()
{
    return new VerdictsTest;
}

#include "tst_verdicts.moc"
