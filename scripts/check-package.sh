# Builds the Debian package from a configured build folder and checks that
# it holds the programs, the desktop entry, the icon, the manual pages and the
# AppStream metadata (it is not installed).
vorkle_check_package() {
  local build="$1"
  (cd "$build" && cpack -G DEB >/dev/null)
  local deb
  deb="$(ls -t "$build"/vorkle_*.deb | head -n 1)"
  local listing
  listing="$(dpkg-deb -c "$deb")"
  local f
  for f in ./usr/bin/vorkle ./usr/bin/vorkle-devserver \
           ./usr/share/applications/org.example.vorkle.desktop \
           ./usr/share/metainfo/org.example.vorkle.metainfo.xml \
           ./usr/share/man/man1/vorkle.1.gz ./usr/share/man/man1/vorkle-devserver.1.gz \
           ./usr/share/icons/hicolor/32x32/apps/vorkle.png; do
    if ! grep -q " $f\$" <<<"$listing"; then
      echo "package check: $f is missing from $(basename "$deb")"; return 1
    fi
  done
  local depends
  depends="$(dpkg-deb -f "$deb" Depends)"
  for f in libc6 libstdc++6 libqt6widgets6 libqt6multimedia6 libqt6sql6-sqlite qt6-qpa-plugins libqt6keychain1 libhunspell-1.7-0; do
    if ! grep -q "\(^\|, \)$f " <<<"$depends"; then
      echo "package check: $(basename "$deb") does not depend on $f"; return 1
    fi
  done
  echo "package check: $(basename "$deb") holds the programs, desktop entry, icon, manual pages and metadata"
}
