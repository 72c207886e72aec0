// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/window.h"

#include "platform/access.h"
#include "platform/controls.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

namespace platform {

Frame::Frame(Window &owner)
    : owner_(owner)
{ }

void Frame::closeEvent(QCloseEvent *event)
{
    // The frame is never closed by Qt itself: the owner unloads and drops it.
    event->ignore();
    owner_.unload();
}

Window::Window(Services &services, QString caption, QSize clientTwips)
    : services(services)
    , caption_(std::move(caption))
    , clientTwips_(clientTwips)
{ }

Window::~Window()
{
    // The program is ending: no unload steps, just the widgets.
    delete frame_;
}

bool Window::Visible() const
{
    return frame_ && frame_->isVisible();
}

void Window::setVisible(bool visible)
{
    if (!visible) {
        if (frame_)
            frame_->hide();
        return;
    }
    if (!frame_)
        load();
    if (!frame_)
        return; // Form_Load unloaded it again
    frame_->show();
    frame_->raise();
    frame_->activateWindow();
}

void Window::load()
{
    frame_ = new Frame(*this);
    frame_->setWindowTitle(caption_);

    client_ = new QWidget(frame_);
    client_->setFixedSize(px(clientTwips_.width()), px(clientTwips_.height()));
    frame_->setCentralWidget(client_);
    frame_->layout()->setSizeConstraint(QLayout::SetFixedSize);

    createControls(client_, frame_->menuBar());
    fitMenuBar(frame_->menuBar(), client_->width()); // no title hidden behind "»" at a large system font
    placeFrame();
    Form_Load();
}

void Window::placeFrame()
{
    frame_->adjustSize();
    if (const QScreen *screen = frame_->screen()) {
        QRect area = frame_->frameGeometry();
        area.moveCenter(screen->availableGeometry().center());
        frame_->move(area.topLeft());
    }
}

void Window::unload()
{
    if (!frame_ || unloading_)
        return;
    unloading_ = true;
    Form_Unload();

    // The handler may still be running inside one of these widgets: stop the
    // timers now, and let Qt delete the widgets once the event is done.
    for (QTimer *timer : frame_->findChildren<QTimer *>())
        timer->stop();
    frame_->hide();
    destroyControls();
    frame_->deleteLater();
    frame_ = nullptr;
    client_ = nullptr;
    unloading_ = false;

    if (unloadedObserver_)
        unloadedObserver_();
}

std::optional<int> Window::ask(const QString &prompt, int buttons, const QString &title)
{
    const int answer = services.dialogs.MsgBox(prompt, buttons, title);
    if (!isLoaded())
        return std::nullopt;
    return answer;
}

std::optional<QString> Window::askText(const QString &prompt, const QString &title, const QString &proposal)
{
    QString typed = services.dialogs.InputBox(prompt, title, proposal);
    if (!isLoaded())
        return std::nullopt;
    return typed;
}

QAction *Window::makeHistoryItem(QMenuBar *menuBar, Test test)
{
    return makeMenuBarItem(
        menuBar, "verlauf", withMnemonic(historyCaption, 0), [this, test] { services.history.show(test, frame()); });
}

} // namespace platform
