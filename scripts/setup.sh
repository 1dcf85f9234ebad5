# Shared by scripts/run and scripts/test: installs the Debian packages the
# build needs, only when something is missing.
VORKLE_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-multimedia-dev libqt6sql6-sqlite qtkeychain-qt6-dev
  qt6-qpa-plugins libgl-dev libxss-dev
  libbenchmark-dev libhunspell-dev
  fonts-noto-color-emoji
)

vorkle_install_packages() {
  local missing=()
  local p
  for p in "${VORKLE_PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

VORKLE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
