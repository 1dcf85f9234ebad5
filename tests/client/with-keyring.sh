#!/usr/bin/env bash
# Runs a test inside the D-Bus session it is started in (dbus-run-session),
# with a GNOME keyring of its own, created and unlocked for it in a
# temporary home: the user's real keyring is never touched.
set -euo pipefail
home="$(mktemp -d)"
# The keyring daemon ends with the session bus that dbus-run-session ends.
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
eval "$(echo vorkle-test | gnome-keyring-daemon --unlock --components=secrets --daemonize)"
export GNOME_KEYRING_CONTROL VORKLE_KEYRING=1
"$@"
