// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/access.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionMenuItem>

namespace platform {

QString withMnemonic(const QString &caption, qsizetype position)
{
    QString marked = caption.left(position);
    marked.replace(QLatin1Char('&'), QLatin1String("&&"));
    QString rest = caption.mid(position);
    rest.replace(QLatin1Char('&'), QLatin1String("&&"));
    return marked + QLatin1Char('&') + rest;
}

QString shownText(const QString &caption)
{
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i; // "&&" stands for one '&', "&x" for x
        shown += caption[i];
    }
    return shown;
}

namespace {

bool isReturn(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Calls a handler for the key presses of a widget; a key it takes is eaten.
class KeyHandler : public QObject
{
public:
    KeyHandler(QObject *parent, std::function<bool(int key)> handler)
        : QObject(parent)
        , handler_(std::move(handler))
    { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto *key = static_cast<const QKeyEvent *>(event);
        return !key->isAutoRepeat() && handler_(key->key());
    }

private:
    std::function<bool(int key)> handler_;
};

class LinkAccessible : public QAccessibleWidget
{
public:
    explicit LinkAccessible(LinkLabel *link)
        : QAccessibleWidget(link, QAccessible::Link)
    { }

    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        return t == QAccessible::Name && own.isEmpty() ? static_cast<QLabel *>(widget())->text() : own;
    }
    QStringList actionNames() const override { return QAccessibleWidget::actionNames() << pressAction(); }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            static_cast<LinkLabel *>(widget())->open();
        else
            QAccessibleWidget::doAction(action);
    }
};

const char *const roleProperty = "accessibleRole";

QAccessibleInterface *accessibleOf(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String(LinkLabel::staticMetaObject.className()))
        return new LinkAccessible(static_cast<LinkLabel *>(widget));
    const QVariant role = object->property(roleProperty);
    if (role.isValid() && className == QLatin1String(object->metaObject()->className()))
        return new QAccessibleWidget(widget, QAccessible::Role(role.toInt()));
    return nullptr;
}

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleOf);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace

void clickOnReturn(QAbstractButton *button)
{
    onKeyPress(button, [button](int key) {
        if (!isReturn(key))
            return false;
        button->click();
        return true;
    });
}

void onKeyPress(QWidget *widget, std::function<bool(int key)> handler)
{
    widget->installEventFilter(new KeyHandler(widget, std::move(handler)));
}

void showWholeLines(QListWidget *list)
{
    QObject::connect(
        list->model(), &QAbstractItemModel::rowsInserted, list, [list](const QModelIndex &, int first, int last) {
            for (int row = first; row <= last; ++row)
                list->item(row)->setToolTip(list->item(row)->text());
        });
}

void setAccessibleRole(QWidget *widget, QAccessible::Role role)
{
    installAccessibleFactory();
    widget->setProperty(roleProperty, int(role));
    // Naming a widget already makes Qt build and keep its interface: one built before the role is dropped.
    QAccessibleInterface *built = QAccessible::queryAccessibleInterface(widget);
    if (built && built->role() != role)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(built));
}

LinkLabel::LinkLabel(const QString &text, QWidget *parent, std::function<void()> open)
    : QLabel(text, parent)
    , open_(std::move(open))
{
    installAccessibleFactory();
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

LinkLabel *makeLink(QWidget *parent, const char *name, const QString &text, QRect twips, std::function<void()> open)
{
    auto *link = new LinkLabel(text, parent, std::move(open));
    link->setObjectName(QLatin1String(name));
    link->setGeometry(twips);
    link->setWordWrap(true);
    link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    link->setTextFormat(Qt::PlainText);
    return link;
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat() && (isReturn(event->key()) || event->key() == Qt::Key_Space)) {
        open();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        open();
}

void LinkLabel::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    underline(true);
}

void LinkLabel::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    underline(false);
}

void LinkLabel::underline(bool on)
{
    QFont shown = font();
    shown.setUnderline(on);
    setFont(shown);
}

namespace {

int titlesWidth(const QMenuBar *bar, const QFont &font)
{
    const QFontMetrics metrics(font);
    const int spacing = bar->style()->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, bar);
    int width = 0;
    for (const QAction *action : bar->actions()) {
        if (!action->isVisible())
            continue;
        QStyleOptionMenuItem option;
        option.initFrom(bar);
        option.fontMetrics = metrics;
        option.menuItemType = QStyleOptionMenuItem::Normal;
        option.text = action->text();
        const QSize text = metrics.size(Qt::TextShowMnemonic, action->text());
        width += bar->style()->sizeFromContents(QStyle::CT_MenuBarItem, &option, text, bar).width() + spacing;
    }
    return width;
}

} // namespace

void fitMenuBar(QMenuBar *bar, int width)
{
    const QStyle *style = bar->style();
    const int frame = style->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, bar);
    const int margin = style->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, bar);
    const int spacing = style->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, bar);
    // The titles start behind the frame, margin and one spacing, and must end before the far frame.
    const int room = width - 3 * frame - 2 * margin - spacing;
    QFont font = bar->font();
    while (titlesWidth(bar, font) > room && font.pointSizeF() - 0.5 >= 6)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    if (font != bar->font())
        bar->setFont(font);
}

} // namespace platform
