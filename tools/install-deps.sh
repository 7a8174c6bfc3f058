#!/usr/bin/env bash
# Installs the Debian packages Trivora needs to build, test and play, when any is missing.
# Sourced by ./play and ./check; uses sudo when not run as root.
set -euo pipefail

TRIVORA_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-svg-dev libgl-dev libqt6sql6-sqlite
    libfluidsynth-dev librtmidi-dev libpulse-dev fluid-soundfont-gm libsdl2-dev
    libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
    fonts-dejavu-core
    qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin qt6-multimedia-dev flite1-dev
    qt6-httpserver-dev qt6-websockets-dev libqrencode-dev libqt6sql6-psql libstemmer-dev
    ccache
    # What the tests start or drive: a PostgreSQL server, a browser for the phone page, a QR
    # reader, a sound server and its measuring tools, a window manager and input for play tests.
    postgresql-15 chromium zbar-tools pulseaudio pulseaudio-utils sox
)

trivora_install_deps() {
    local missing=()
    local pkg
    for pkg in "${TRIVORA_PACKAGES[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
