#include "alertsound.h"

#include "alertsoundmodule.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

namespace alertsound {
namespace {

AlertSoundFactory loadFactory() {
    // Beside the program first (an installed client), then where the build
    // put it (the programs, tests and benchmarks of a build tree).
    for (const QString &dir :
         {QCoreApplication::applicationDirPath(), QStringLiteral(VORKLE_MODULE_DIR)}) {
        QLibrary module(dir + QLatin1String("/vorkle_alertsound"));
        if (const auto factory =
                reinterpret_cast<AlertSoundFactory>(module.resolve(kAlertSoundFactory)))
            return factory; // the module stays loaded
    }
    return nullptr;
}

} // namespace

QObject *create(QObject *parent) {
    static const AlertSoundFactory factory = loadFactory();
    return factory ? factory(parent) : nullptr;
}

} // namespace alertsound
