// Vorkle: one window, signed on from its login frame.
#include "client/commandline.h"
#include "client/heappolicy.h"
#include "client/session.h"
#include "client/singleinstance.h"
#include "fontwarmup.h"
#include "mainwindow/frmmain.h"

#include <QApplication>
#include <QSystemTrayIcon>

namespace {

void nameProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("Vorkle"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VORKLE_VERSION));
}

QStringList argumentsOf(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char *argv[]) {
    useMappedLargeBlocks();
    // --help and --version answer in a terminal without a display.
    if (CommandLine::asksForTextOnly(argumentsOf(argc, argv))) {
        QCoreApplication app(argc, argv);
        nameProgram();
        CommandLine commandLine;
        commandLine.parser.process(app); // prints and exits
        return 0;
    }
    FontWarmUp fonts;
    // The application takes its own options (-platform, -style ...) out of
    // the arguments before ours are read.
    QApplication app(argc, argv);
    nameProgram();
    // Desktops match the window with its desktop entry (and so its icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.vorkle"));
    CommandLine commandLine;
    commandLine.parser.process(app);

    // A second start brings the running Vorkle forward and ends.
    SingleInstance instance;
    if (!commandLine.parser.isSet(commandLine.newInstance) && instance.raiseRunning())
        return 0;
    instance.listen();

    fonts.wait();
    frmMain window;
    QObject::connect(&instance, &SingleInstance::raiseRequested, &window, &frmMain::showMe_Click);
    // A network back (where the system reports it) ends the wait of a lost
    // session at once.
    window.session->watchNetwork();
    QApplication::setWindowIcon(window.windowIcon());
    // Started minimised, the window waits in the tray (its menu's "Show");
    // without a tray there would be no way back to it.
    if (!commandLine.parser.isSet(commandLine.minimized) ||
        !QSystemTrayIcon::isSystemTrayAvailable())
        window.show();
    return app.exec();
}
