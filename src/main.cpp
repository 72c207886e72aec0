#include "history/resulthistory.h"
#include "platform/realservices.h"
#include "shell/registry.h"
#include "shell/start.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The registry ends the program when its last window unloads, not Qt.
    QApplication::setQuitOnLastWindowClosed(false);

    platform::RealServices real([](platform::Dialogs &dialogs, platform::Program &program) {
        return std::make_unique<history::ResultHistory>(dialogs, program);
    });
    WindowRegistry registry(real.services());
    real.program().onShowStart = [&registry] { registry.start().setVisible(true); };

    registry.start().setVisible(true);
    return QApplication::exec();
}
