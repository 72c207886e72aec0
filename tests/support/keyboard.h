// SPDX-License-Identifier: GPL-3.0-or-later

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

// The Alt letters of a menu bar's titles ("" for one without), then of each menu's items, a submenu's after its menu.
inline QList<QStringList> menuKeys(const QMenuBar *bar)
{
    QList<QStringList> keys;
    const std::function<void(const QWidget *)> add = [&](const QWidget *barOrMenu) {
        keys << QStringList();
        for (const QAction *action : barOrMenu->actions())
            keys.last() << QKeySequence::mnemonic(action->text()).toString();
        for (const QAction *action : barOrMenu->actions())
            if (action->menu())
                add(action->menu());
    };
    add(bar);
    return keys;
}

// What a screen reader says of a control: its name and role.
struct Spoken
{
    QString name;
    QAccessible::Role role = QAccessible::NoRole;
    bool operator==(const Spoken &) const = default;
};

inline Spoken spoken(QWidget *control)
{
    const QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
    return accessible ? Spoken { accessible->text(QAccessible::Name), accessible->role() } : Spoken {};
}

inline char *toString(const Spoken &spoken)
{
    return QTest::toString(spoken.name + QStringLiteral(" (role 0x") + QString::number(spoken.role, 16) + ')');
}
