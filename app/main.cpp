// Vorkle: one window, signed on from its login frame.
#include "mainwindow/frmmain.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorkle"));
    QApplication::setApplicationVersion(QStringLiteral("2.0.2"));
    frmMain window;
    QApplication::setWindowIcon(window.windowIcon());
    window.show();
    return app.exec();
}
