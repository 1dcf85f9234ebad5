#!/usr/bin/env bash
# Runs a test on a display of its own (xvfb-run) inside the D-Bus session it
# is started in (dbus-run-session), with an accessibility bus that a screen
# reader would listen on: Qt then sends its accessibility events.
set -euo pipefail
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
trap 'kill $launcher 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  if dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
       org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true; then
    break
  fi
  sleep 0.1
done
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
