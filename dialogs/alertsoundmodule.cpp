// The alert sound module (see alertsound.h).
#include "alertsoundmodule.h"

#include <QSoundEffect>
#include <QUrl>

extern "C" Q_DECL_EXPORT QObject *vorkleNewAlertSound(QObject *parent) {
    auto *sound = new QSoundEffect(parent);
    sound->setSource(QUrl(QStringLiteral("qrc:/vorkle/alert.wav")));
    return sound;
}
