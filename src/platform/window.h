// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/services.h"

#include <QMainWindow>
#include <QSize>
#include <functional>
#include <memory>
#include <optional>

namespace platform {

class Window;

// The top-level widget of a loaded window. Its close box unloads the window.
class Frame : public QMainWindow
{
    Q_OBJECT

public:
    explicit Frame(Window &owner);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Window &owner_;
};

// One window of the program: an object that lives as long as the program, with
// plain fields that survive unloading, and controls that exist only while it is
// loaded. Loading builds the controls from their design values and runs
// Form_Load; unloading runs Form_Unload and drops the controls.
class Window
{
public:
    Window(Services &services, QString caption, QSize clientTwips);
    virtual ~Window();
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;

    bool isLoaded() const { return frame_ != nullptr; }
    bool Visible() const;
    void setVisible(bool visible); // loads first where needed
    void unload();

    // Valid while loaded.
    Frame *frame() const { return frame_; }
    QWidget *client() const { return client_; }

    void onUnloaded(std::function<void()> observer) { unloadedObserver_ = std::move(observer); }

protected:
    virtual void createControls(QWidget *client, QMenuBar *menuBar) = 0;
    virtual void destroyControls() = 0;
    virtual void Form_Load() { }
    virtual void Form_Unload() { }
    // Where a freshly loaded window appears; centred on its screen by default.
    virtual void placeFrame();

    // A modal box. The player may close this window while the box is open:
    // then there is no answer, and the handler must stop touching controls.
    std::optional<int> ask(const QString &prompt, int buttons, const QString &title);
    std::optional<QString> askText(const QString &prompt, const QString &title, const QString &proposal);

    // A test window's last menu-bar item "Verlauf": that test's results over time.
    QAction *makeHistoryItem(QMenuBar *menuBar, Test test);

    Services &services;

private:
    void load();

    QString caption_;
    QSize clientTwips_;
    Frame *frame_ = nullptr;
    QWidget *client_ = nullptr;
    bool unloading_ = false;
    std::function<void()> unloadedObserver_;
};

// A window whose controls are one record, c, built by createControls and
// dropped on unload.
template <typename ControlSet> class WindowWith : public Window
{
public:
    using Controls = ControlSet;
    using Window::Window;

    // Valid while loaded.
    const Controls &controls() const { return *c; }

protected:
    void destroyControls() final { c.reset(); }

    std::unique_ptr<Controls> c;
};

} // namespace platform
