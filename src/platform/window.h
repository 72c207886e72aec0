#pragma once

#include "platform/services.h"

#include <QMainWindow>
#include <QSize>
#include <functional>

namespace platform {

class Window;

// The top-level widget of a loaded window. Its close box unloads the window.
class Frame : public QMainWindow
{
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
    void setVisible(bool visible);  // loads first where needed
    void unload();

    // Valid while loaded.
    Frame *frame() const { return frame_; }
    QWidget *client() const { return client_; }

    void onUnloaded(std::function<void()> observer) { unloadedObserver_ = std::move(observer); }

protected:
    virtual void createControls(QWidget *client, QMenuBar *menuBar) = 0;
    virtual void destroyControls() = 0;
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    // Where a freshly loaded window appears; centred on its screen by default.
    virtual void placeFrame();

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

} // namespace platform
