// Vorkle: one window, signed on from its login frame.
#include "client/heappolicy.h"
#include "client/session.h"
#include "fontwarmup.h"
#include "mainwindow/frmmain.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    useMappedLargeBlocks();
    FontWarmUp fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorkle"));
    QApplication::setApplicationVersion(QStringLiteral("2.0.2"));
    fonts.wait();
    frmMain window;
    // A network back (where the system reports it) ends the wait of a lost
    // session at once.
    window.session->watchNetwork();
    QApplication::setWindowIcon(window.windowIcon());
    window.show();
    return app.exec();
}
