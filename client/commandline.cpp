#include "client/commandline.h"

#include <QCoreApplication>

CommandLine::CommandLine()
    : minimized(QStringLiteral("minimized"),
                QCoreApplication::translate("CommandLine",
                                            "Start in the tray (shown as usual when the "
                                            "desktop has no tray).")),
      newInstance(QStringLiteral("new-instance"),
                  QCoreApplication::translate("CommandLine",
                                              "Start another Vorkle even when one already runs "
                                              "(without it, the running one comes forward).")) {
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "A small instant-messaging client for TOC2 servers."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(minimized);
    parser.addOption(newInstance);
}

bool CommandLine::asksForTextOnly(const QStringList &arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == QLatin1String("--"))
            break;
        if (a == QLatin1String("-h") || a == QLatin1String("--help") || a == QLatin1String("-?") ||
            a == QLatin1String("--help-all") || a == QLatin1String("-v") ||
            a == QLatin1String("--version"))
            return true;
    }
    return false;
}
