#pragma once

#include "platform/window.h"
#include "shell/registry.h"

#include <memory>

class QAction;
class QLabel;
class QPushButton;
namespace platform {
class Timer;
}

// The start window: a button for each test, "beenden", an advertising text and
// a link label whose colour changes every two seconds.
class Start : public platform::Window
{
public:
    static const QString homepage;

    struct Controls
    {
        QPushButton *Command2;  // Reaktionstest
        QPushButton *Command4;  // Gedächtnistrainning
        QPushButton *Command3;  // Geschicklichkeit
        QPushButton *Command1;  // Kopfrechnen
        QPushButton *Command5;  // beenden
        QLabel *Label5;
        QLabel *Label1;         // the homepage link
        platform::Timer *Timer1;
        QAction *free;
    };

    Start(platform::Services &services, WindowRegistry &registry);
    ~Start() override;

    const Controls &controls() const { return *c; }

    void Timer1_Timer();
    void Command2_Click();
    void Command4_Click();
    void Command3_Click();
    void Command1_Click();
    void Command5_Click();
    void Label1_Click();

    // Fields; they survive unloading, so the colour cycle goes on where it was.
    short colourstep = 0;
    short red = 0;
    short green = 0;
    short blue = 0;

protected:
    void createControls(QWidget *client, QMenuBar *menuBar) override;
    void destroyControls() override;

private:
    void openTest(TestWindow which, bool unloadStart);

    WindowRegistry &registry_;
    std::unique_ptr<Controls> c;
};
