// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAccessible>
#include <QLabel>
#include <QString>
#include <functional>

class QAbstractButton;
class QListWidget;
class QMenuBar;
class QWidget;

// What the keyboard and assistive technology need beyond the controls' design:
// mnemonics, Return on buttons, key handlers, a link and accessible roles.
namespace platform {

// The caption with '&' before the letter at position, so that letter is the
// mnemonic while the text on screen stays as it is ('&' in the text doubled).
QString withMnemonic(const QString &caption, qsizetype position);
// The text as shown: mnemonic marks taken out.
QString shownText(const QString &caption);

// Return and Enter click a focused button, as Space does; auto-repeat is left out.
void clickOnReturn(QAbstractButton *button);

// Key presses that reach a widget or pass up through it from a focused child,
// auto-repeats left out. The handler answers whether it took the key; a key it
// took goes no further.
void onKeyPress(QWidget *widget, std::function<bool(int key)> handler);

// Every line a list shows carries itself as tooltip, so a line cut by the
// list's width can still be read whole.
void showWholeLines(QListWidget *list);

// A role for a plain widget that has none of its own (a picture, a shape).
void setAccessibleRole(QWidget *widget, QAccessible::Role role);

// A label that works as a link: it takes the focus, is underlined while it has
// it, opens on a click or on Return, Enter or Space, and is a link to assistive
// technology.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    LinkLabel(const QString &text, QWidget *parent, std::function<void()> open);

    void open() { open_(); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void underline(bool on);

    std::function<void()> open_;
};

// A link label with the look of makeLabel's labels.
LinkLabel *makeLink(QWidget *parent, const char *name, const QString &text, QRect twips, std::function<void()> open);

// Shrinks the menu bar's font in half-point steps (to 6 pt at most) until all
// its titles fit in its width, so that none hides behind the extension "»".
void fitMenuBar(QMenuBar *bar, int width);

} // namespace platform
