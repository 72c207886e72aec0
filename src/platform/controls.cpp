// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls.h"

#include "platform/access.h"
#include "platform/fittingcache.h"

#include <QAction>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmapCache>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>

namespace platform {

int px(int twips)
{
    return qRound(twips / double(twipsPerPixel));
}

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

QColor rgb(int red, int green, int blue)
{
    return QColor(red, green, blue);
}

QColor vbColor(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

QFont designFont(double pointSize, bool bold)
{
    // Either face is one the system has, so a style hint would choose nothing.
    // It would only give the font a fallback list of its own: one more sort of
    // all the system's faces at every start.
    static const bool hasDesignFace = QFontDatabase::families().contains(QStringLiteral("MS Sans Serif"));
    QFont font = hasDesignFace ? QFont(QStringLiteral("MS Sans Serif"))
                               : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

namespace {

// Each measure below answers how much too large a text is in a font: the
// factor by which the font must shrink for the text to fit, 1 or less when it
// fits already.

double overflow(double needed, double room)
{
    if (room <= 0)
        return needed <= room ? 0 : 1e9; // no room: only nothing fits
    return needed / room;
}

double labelOverflow(const QLabel *label, const QFont &font, const QString &text)
{
    const QRect box = label->contentsRect();
    const int flags = int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0);
    const QRect needed = QFontMetrics(font).boundingRect(box, flags, text);
    // A wrapped text gains lines as it loses width: its height falls with about the square of the size.
    const double height = overflow(needed.height(), box.height());
    return std::max(overflow(needed.width(), box.width()), label->wordWrap() ? std::sqrt(height) : height);
}

// Inside the frame QLineEdit keeps 2 pixels beside its text and 1 above and
// below; one more pixel goes to the cursor behind the last character.
double lineOverflow(const QLineEdit *edit, const QFont &font, const QString &text)
{
    const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
    const QSize room = edit->size() - QSize(2 * (frame + 2) + 1, 2 * (frame + 1));
    const QFontMetrics metrics(font);
    return std::max(overflow(metrics.horizontalAdvance(text), room.width()), overflow(metrics.height(), room.height()));
}

double buttonOverflow(const QPushButton *button, const QFont &font)
{
    const QFontMetrics metrics(font);
    QStyleOptionButton option;
    option.initFrom(button);
    option.fontMetrics = metrics;
    option.text = button->text();
    const QSize text(metrics.horizontalAdvance(button->text()), metrics.height());
    const QSize needed = button->style()->sizeFromContents(QStyle::CT_PushButton, &option, text, button);
    // The style's margins do not shrink with the font: only the text's share counts.
    const QSize margins = needed - text;
    return std::max(overflow(text.width(), button->width() - margins.width()),
        overflow(text.height(), button->height() - margins.height()));
}

double captionOverflow(const QGroupBox *panel, const QFont &font)
{
    const int room = panel->width() - 2 * panel->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    return overflow(QFontMetrics(font).horizontalAdvance(panel->title()), room);
}

// The largest size in half-point steps down from the font's own (to 6 pt at
// most) at which the text fits. Measuring loads a font at each size, so rather
// than trying every step the size is computed from how much the text overflows
// at its own size, then checked, and moved by a step while the check says so.
template <typename Overflow> QFont searched(QFont font, Overflow overflowAt)
{
    const double designSize = font.pointSizeF();
    const double excess = overflowAt(font);
    if (excess <= 1)
        return font;
    const auto at = [&font, designSize](int steps) {
        font.setPointSizeF(designSize - steps * fittingStep);
        return font;
    };
    // Step 0, the font's own size, is measured already.
    const auto fits = [&](int steps) { return (steps == 0 ? excess : overflowAt(at(steps))) <= 1; };
    const int fewest = 1;
    const int most = int(std::floor((designSize - smallestFittedSize) / fittingStep));
    if (most < fewest)
        return at(0);
    int steps = std::clamp(int(std::ceil((designSize - designSize / excess) / fittingStep)), fewest, most);
    if (fits(steps)) {
        // Ends at step 1 at the latest: at step 0 the text overflows.
        while (fits(steps - 1))
            --steps;
    } else {
        while (steps < most && !fits(steps + 1))
            ++steps;
        if (steps < most)
            ++steps;
    }
    return at(steps);
}

// The search's answer, or a size found before for the same measure that still
// fits: checking it loads one font, where the search loads two or more.
template <typename Overflow> QFont shrunk(QFont font, const QString &measure, Overflow overflowAt)
{
    FittingCache *cache = FittingCache::inUse();
    if (!cache)
        return searched(font, overflowAt);
    const QString fullMeasure = measure + QLatin1Char(' ') + font.toString();
    const double designSize = font.pointSizeF();
    if (const std::optional<double> known = cache->find(fullMeasure, designSize)) {
        QFont candidate = font;
        candidate.setPointSizeF(*known);
        if (overflowAt(candidate) <= 1)
            return candidate;
    }
    const QFont fitted = searched(font, overflowAt);
    if (fitted.pointSizeF() != designSize)
        cache->remember(fullMeasure, fitted.pointSizeF());
    return fitted;
}

QString sizeText(QSize size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

} // namespace

void fitToBox(QLabel *label, const QString &longest)
{
    const QString text = longest.isEmpty() ? label->text() : longest;
    const QString measure = QStringLiteral("label %1 %2 %3 %4")
                                .arg(sizeText(label->contentsRect().size()))
                                .arg(int(label->alignment()))
                                .arg(label->wordWrap())
                                .arg(text);
    label->setFont(shrunk(label->font(), measure, [&](const QFont &font) { return labelOverflow(label, font, text); }));
}

void fitToBox(QLineEdit *edit, const QString &longest)
{
    const QString measure = QStringLiteral("line %1 %2").arg(sizeText(edit->size()), longest);
    edit->setFont(shrunk(edit->font(), measure, [&](const QFont &font) { return lineOverflow(edit, font, longest); }));
}

void fitToBox(const QList<QPushButton *> &buttons)
{
    if (buttons.isEmpty())
        return;
    QString measure = QStringLiteral("buttons");
    for (const QPushButton *button : buttons)
        measure += QStringLiteral(" %1 %2").arg(sizeText(button->size()), button->text());
    const QFont font = shrunk(buttons.first()->font(), measure, [&buttons](const QFont &font) {
        double most = 0;
        for (const QPushButton *button : buttons)
            most = std::max(most, buttonOverflow(button, font));
        return most;
    });
    for (QPushButton *button : buttons)
        button->setFont(font);
}

void fitCaption(QGroupBox *panel)
{
    // Pinned first: the controls would take on the panel's smaller font.
    for (QWidget *child : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->testAttribute(Qt::WA_SetFont))
            child->setFont(panel->font());
    }
    const QString measure = QStringLiteral("caption %1 %2").arg(panel->width()).arg(panel->title());
    panel->setFont(shrunk(panel->font(), measure, [panel](const QFont &font) { return captionOverflow(panel, font); }));
}

namespace {

// Qt's styles keep the pictures of buttons and frames in the shared pixmap
// cache, keyed by their palette; a widget given a palette of its own gets a
// new key at every load (Qt resolves it into a fresh copy), so each opening of
// a coloured window would leave its pictures behind until the cache's 10 MB
// are full. A small cache still holds every picture one window needs.
constexpr int pixmapCacheKb = 1024;

void setColours(QWidget *widget, std::initializer_list<QPalette::ColorRole> roles, const QColor &colour)
{
    static const bool limited = (QPixmapCache::setCacheLimit(pixmapCacheKb), true);
    Q_UNUSED(limited);
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : roles)
        palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace

void setForeColor(QWidget *widget, const QColor &colour)
{
    setColours(widget, { QPalette::WindowText, QPalette::Text, QPalette::ButtonText }, colour);
}

void setBackColor(QWidget *widget, const QColor &colour)
{
    setColours(widget, { QPalette::Window, QPalette::Base, QPalette::Button }, colour);
    widget->setAutoFillBackground(true);
}

namespace {

template <typename Control> Control *named(Control *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

} // namespace

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, QRect twips)
{
    auto *label = named(new QLabel(text, parent), name);
    label->setGeometry(twips);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, QRect twips, const QString &toolTip)
{
    auto *button = named(new QPushButton(text, parent), name);
    button->setGeometry(twips);
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    clickOnReturn(button); // as Space does, without the default button's frame
    return button;
}

QLineEdit *makeTextBox(QWidget *parent, const char *name, QRect twips)
{
    auto *box = named(new QLineEdit(parent), name);
    box->setGeometry(twips);
    return box;
}

QListWidget *makeListBox(QWidget *parent, const char *name, QRect twips)
{
    auto *list = named(new QListWidget(parent), name);
    list->setGeometry(twips);
    showWholeLines(list);
    return list;
}

QGroupBox *makePanel(QWidget *parent, const char *name, const QString &caption, QRect twips)
{
    auto *panel = named(new QGroupBox(caption, parent), name);
    panel->setGeometry(twips);
    panel->hide();
    return panel;
}

QMenu *makeMenu(QMenuBar *bar, const char *name, const QString &caption)
{
    QMenu *menu = named(bar->addMenu(caption), name);
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QMenu *makeSubMenu(QMenu *menu, const char *name, const QString &caption)
{
    QMenu *submenu = named(menu->addMenu(caption), name);
    submenu->menuAction()->setObjectName(QLatin1String(name));
    return submenu;
}

QAction *makeMenuItem(QMenu *menu, const char *name, const QString &caption, std::function<void()> handler)
{
    QAction *action = named(menu->addAction(caption), name);
    if (handler)
        QObject::connect(action, &QAction::triggered, action, [handler = std::move(handler)] { handler(); });
    return action;
}

QAction *makeCheckItem(
    QMenu *menu, const char *name, const QString &caption, bool checked, std::function<void()> handler)
{
    QAction *action = named(menu->addAction(caption), name);
    action->setCheckable(true);
    action->setChecked(checked);
    QObject::connect(action, &QAction::triggered, action, [action, handler = std::move(handler)](bool toggled) {
        action->setChecked(!toggled); // undo Qt's own toggle: the handler sets the marks
        handler();
    });
    return action;
}

QAction *makeMenuBarItem(QMenuBar *bar, const char *name, const QString &caption, std::function<void()> handler)
{
    QAction *action = named(bar->addAction(caption), name);
    QObject::connect(action, &QAction::triggered, action, [handler = std::move(handler)] { handler(); });
    return action;
}

namespace {

// Calls a handler for the events of a widget that a predicate picks out; the
// widget still receives every event.
class EventHandler : public QObject
{
    Q_OBJECT

public:
    using Predicate = bool (*)(const QWidget *watched, const QEvent *event);

    EventHandler(QWidget *widget, Predicate picks, std::function<void()> handler)
        : QObject(widget)
        , picks_(picks)
        , handler_(std::move(handler))
    { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (picks_(static_cast<QWidget *>(watched), event))
            handler_();
        return QObject::eventFilter(watched, event);
    }

private:
    Predicate picks_;
    std::function<void()> handler_;
};

bool isKeyUp(const QWidget *, const QEvent *event)
{
    return event->type() == QEvent::KeyRelease && !static_cast<const QKeyEvent *>(event)->isAutoRepeat();
}

} // namespace

void onKeyUp(QWidget *widget, std::function<void()> handler)
{
    widget->installEventFilter(new EventHandler(widget, isKeyUp, std::move(handler)));
}

Shape::Shape(QWidget *parent, const char *name, Kind kind, QRect twips, const QColor &fill)
    : QWidget(parent)
    , kind_(kind)
    , fill_(fill)
{
    setObjectName(QLatin1String(name));
    setGeometry(twips);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (kind_ == Kind::Rectangle) {
        painter.fillRect(rect(), fill_);
        return;
    }
    const int diameter = std::min(width(), height());
    QRect circle(0, 0, diameter, diameter);
    circle.moveCenter(rect().center());
    painter.setBrush(fill_);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(circle);
}

} // namespace platform

#include "controls.moc"
