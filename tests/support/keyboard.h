#pragma once

#include <QAccessible>
#include <QApplication>
#include <QKeySequence>
#include <QTest>
#include <QWidget>

// The keyboard and a screen reader as a player uses them.

// A key as the player types it: into the window, to its focus widget, through its shortcuts.
inline void type(QWidget *frame, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(frame->windowHandle(), key, modifiers);
}

// The window's focus widget by name, once the window is active ("" when none has it).
inline QString focusName(QWidget *frame)
{
    if (!QTest::qWaitForWindowActive(frame))
        return QStringLiteral("(window not active)");
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// The Alt letters of a menu bar's titles or of a menu's items, in order; "" for one without.
inline QStringList mnemonics(const QWidget *barOrMenu)
{
    QStringList keys;
    for (const QAction *action : barOrMenu->actions())
        keys << QKeySequence::mnemonic(action->text()).toString();
    return keys;
}

// The Alt letters that are missing ("") or taken twice.
inline QStringList clashes(const QStringList &keys)
{
    QStringList clashing;
    for (const QString &key : keys)
        if (key.isEmpty() || keys.count(key) > 1)
            clashing << key;
    return clashing;
}

// What a screen reader says of a control: its name and role.
struct Spoken
{
    QString name;
    QAccessible::Role role = QAccessible::NoRole;
    bool operator==(const Spoken &) const = default;
};

Q_DECLARE_METATYPE(Spoken)

inline Spoken spoken(QWidget *control)
{
    const QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
    return accessible ? Spoken { accessible->text(QAccessible::Name), accessible->role() } : Spoken {};
}

inline char *toString(const Spoken &spoken)
{
    return QTest::toString(spoken.name + QStringLiteral(" (role 0x") + QString::number(spoken.role, 16) + ')');
}
