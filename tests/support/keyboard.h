#pragma once

#include <QAccessible>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWidget>
#include <functional>

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

// The Alt letters of a menu bar's titles, then of each menu's items, a submenu's after its menu.
inline QList<QStringList> menuKeys(const QMenuBar *bar)
{
    QList<QStringList> keys { mnemonics(bar) };
    const std::function<void(const QMenu *)> addItems = [&](const QMenu *menu) {
        keys << mnemonics(menu);
        for (const QAction *item : menu->actions())
            if (item->menu())
                addItems(item->menu());
    };
    for (const QAction *title : bar->actions())
        if (title->menu())
            addItems(title->menu());
    return keys;
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
