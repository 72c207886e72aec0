// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;

// Helpers that turn the design values of a window (twips, 0x00BBGGRR colours,
// point sizes) into Qt widgets.
namespace platform {

constexpr int twipsPerPixel = 15;

int px(int twips);
QRect twipsRect(int left, int top, int width, int height);

QColor rgb(int red, int green, int blue);
QColor vbColor(quint32 bgr); // 0x00BBGGRR

// "MS Sans Serif" where the system has it, else its sans-serif face.
QFont designFont(double pointSize, bool bold = false);

// The design's measures were made for a narrower face than most systems have:
// these shrink a font in half-point steps (to 6 pt at most) until the text fits
// its box. A label or line edit fits the longest text it will show (a label its
// own text when none is given); buttons in a row or column share one size; a
// panel fits its caption while the controls already on it keep their font.
void fitToBox(QLabel *label, const QString &longest = {});
void fitToBox(QLineEdit *edit, const QString &longest);
void fitToBox(const QList<QPushButton *> &buttons);
void fitCaption(QGroupBox *panel);

void setForeColor(QWidget *widget, const QColor &colour);
void setBackColor(QWidget *widget, const QColor &colour);

// Every control carries its design name (Command3, Label1, ...) as its object
// name, so that tests and accessibility tools find it.

// A word-wrapping label; transparent unless it is given a back colour.
QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, QRect twips);
QPushButton *makeButton(
    QWidget *parent, const char *name, const QString &text, QRect twips, const QString &toolTip = {});
QLineEdit *makeTextBox(QWidget *parent, const char *name, QRect twips);
QListWidget *makeListBox(QWidget *parent, const char *name, QRect twips);
// A panel, framed with its caption when it has one; hidden until shown.
QGroupBox *makePanel(QWidget *parent, const char *name, const QString &caption, QRect twips);

// Menus. Checked items keep their mark until the program sets it: a click does
// not toggle it on its own.
QMenu *makeMenu(QMenuBar *bar, const char *name, const QString &caption);
QMenu *makeSubMenu(QMenu *menu, const char *name, const QString &caption);
QAction *makeMenuItem(QMenu *menu, const char *name, const QString &caption, std::function<void()> handler = {});
QAction *makeCheckItem(
    QMenu *menu, const char *name, const QString &caption, bool checked, std::function<void()> handler);
// A menu bar title without items that acts when clicked.
QAction *makeMenuBarItem(QMenuBar *bar, const char *name, const QString &caption, std::function<void()> handler);

// Key releases of a widget, auto-repeat releases left out (a held key releases once).
void onKeyUp(QWidget *widget, std::function<void()> handler);

// A filled rectangle or circle, painted without
// antialiasing so that every pixel has exactly its colour. A circle takes the
// smaller side of its box as diameter and is centred in it.
class Shape : public QWidget
{
    Q_OBJECT

public:
    enum class Kind { Rectangle, Circle };

    Shape(QWidget *parent, const char *name, Kind kind, QRect twips, const QColor &fill);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kind kind_;
    QColor fill_;
};

} // namespace platform
