#include "platform/controls.h"

#include "platform/access.h"

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
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

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
    static const bool hasDesignFace = QFontDatabase::families().contains(QStringLiteral("MS Sans Serif"));
    QFont font = hasDesignFace ? QFont(QStringLiteral("MS Sans Serif"))
                               : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

namespace {

constexpr double smallestPointSize = 6;
constexpr double pointStep = 0.5;

bool fitsLabel(const QLabel *label, const QFont &font, const QString &text)
{
    const QRect box = label->contentsRect();
    const int flags = int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0);
    const QRect needed = QFontMetrics(font).boundingRect(box, flags, text);
    return needed.width() <= box.width() && needed.height() <= box.height();
}

// Inside the frame QLineEdit keeps 2 pixels beside its text and 1 above and
// below; one more pixel goes to the cursor behind the last character.
bool fitsLine(const QLineEdit *edit, const QFont &font, const QString &text)
{
    const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
    const QSize room = edit->size() - QSize(2 * (frame + 2) + 1, 2 * (frame + 1));
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height();
}

bool fitsButton(const QPushButton *button, const QFont &font)
{
    const QFontMetrics metrics(font);
    QStyleOptionButton option;
    option.initFrom(button);
    option.fontMetrics = metrics;
    option.text = button->text();
    const QSize text(metrics.horizontalAdvance(button->text()), metrics.height());
    const QSize needed = button->style()->sizeFromContents(QStyle::CT_PushButton, &option, text, button);
    return needed.width() <= button->width() && needed.height() <= button->height();
}

bool fitsCaption(const QGroupBox *panel, const QFont &font)
{
    const int room = panel->width() - 2 * panel->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    return QFontMetrics(font).horizontalAdvance(panel->title()) <= room;
}

template <typename Fits> QFont shrunk(QFont font, Fits fits)
{
    while (!fits(font) && font.pointSizeF() - pointStep >= smallestPointSize)
        font.setPointSizeF(font.pointSizeF() - pointStep);
    return font;
}

} // namespace

void fitToBox(QLabel *label, const QString &longest)
{
    const QString text = longest.isEmpty() ? label->text() : longest;
    label->setFont(shrunk(label->font(), [&](const QFont &font) { return fitsLabel(label, font, text); }));
}

void fitToBox(QLineEdit *edit, const QString &longest)
{
    edit->setFont(shrunk(edit->font(), [&](const QFont &font) { return fitsLine(edit, font, longest); }));
}

void fitToBox(const QList<QPushButton *> &buttons)
{
    if (buttons.isEmpty())
        return;
    const QFont font = shrunk(buttons.first()->font(), [&buttons](const QFont &font) {
        return std::all_of(
            buttons.begin(), buttons.end(), [&font](const QPushButton *b) { return fitsButton(b, font); });
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
    panel->setFont(shrunk(panel->font(), [panel](const QFont &font) { return fitsCaption(panel, font); }));
}

void setForeColor(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

void setBackColor(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Button, colour);
    widget->setPalette(palette);
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

bool isClick(const QWidget *watched, const QEvent *event)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto *mouse = static_cast<const QMouseEvent *>(event);
    return mouse->button() == Qt::LeftButton && watched->rect().contains(mouse->position().toPoint());
}

bool isKeyUp(const QWidget *, const QEvent *event)
{
    return event->type() == QEvent::KeyRelease && !static_cast<const QKeyEvent *>(event)->isAutoRepeat();
}

} // namespace

void onClick(QWidget *widget, std::function<void()> handler)
{
    widget->installEventFilter(new EventHandler(widget, isClick, std::move(handler)));
}

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
