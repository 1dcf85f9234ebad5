#pragma once
// What the alert sound module exports: one function that makes the sound
// effect of the embedded clip as a child of `parent`.

class QObject;

using AlertSoundFactory = QObject *(*)(QObject *parent);
inline constexpr const char *kAlertSoundFactory = "vorkleNewAlertSound";
