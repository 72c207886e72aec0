#include "memoryfixture.h"

#include "platform/controls.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

using namespace memory;

MemoryFixture::MemoryFixture()
{
    window.setVisible(true);
}

MemoryFixture::~MemoryFixture()
{
    window.unload();
}

float MemoryFixture::rndFor(Colour colour)
{
    return (colour - 1) / 4.0f + 0.1f;
}

QStringList MemoryFixture::visibleSquares() const
{
    QStringList names;
    const std::pair<platform::Shape *, const char *> squares[] = {
        { c().Shape9, "Shape9" },
        { c().Shape4, "Shape4" },
        { c().Shape3, "Shape3" },
        { c().Shape1, "Shape1" },
        { c().Shape2, "Shape2" },
    };
    for (const auto &[square, name] : squares) {
        if (!square->isHidden())
            names << QString::fromLatin1(name);
    }
    return names;
}

bool MemoryFixture::colourButtonsVisible() const
{
    const bool all = !c().Command3->isHidden() && !c().Command4->isHidden() && !c().Command5->isHidden()
        && !c().Command6->isHidden();
    const bool none
        = c().Command3->isHidden() && c().Command4->isHidden() && c().Command5->isHidden() && c().Command6->isHidden();
    if (!all && !none)
        qWarning("the colour buttons are not shown together");
    return all;
}

void MemoryFixture::showColours(const QList<Colour> &colours)
{
    for (Colour colour : colours)
        fake.random.values << rndFor(colour);
    QTest::mouseClick(c().Command1, Qt::LeftButton);
    for (qsizetype i = 0; i < colours.size(); ++i) {
        window.Timer1_Timer();
        window.Timer2_Timer();
    }
    window.Timer1_Timer();
}

void MemoryFixture::click(const QList<Colour> &colours)
{
    for (Colour colour : colours)
        click(colour);
}

void MemoryFixture::click(Colour colour)
{
    QPushButton *buttons[] = { nullptr, c().Command3, c().Command4, c().Command5, c().Command6 };
    QTest::mouseClick(buttons[colour], Qt::LeftButton);
}

void MemoryFixture::ownCount(int count)
{
    fake.dialogs.inputs << QString::number(count);
    c().selbst->trigger();
}

QByteArray MemoryFixture::listBytes() const
{
    return listBytesIn(fake.program.dir);
}

QByteArray MemoryFixture::listBytesIn(const QString &dir)
{
    QFile file(QDir(dir).filePath(QStringLiteral("best.lst")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
