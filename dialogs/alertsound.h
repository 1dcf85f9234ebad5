#pragma once
// The alert's sound. QSoundEffect and the audio libraries under it (about
// 1.5 MB of a client's memory) live in a module of their own, loaded on the
// first alert that sounds: a client that never sounds one never loads them.

class QObject;

namespace alertsound {

// The sound effect of the embedded clip, a child of `parent`, ready to be
// played with its play() slot; null when the module cannot be loaded (the
// alert is then silent, as without an audio device).
QObject *create(QObject *parent);

} // namespace alertsound
