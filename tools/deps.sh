#!/usr/bin/env bash
# Installs what building, running and testing Dalmerin need on Debian 12,
# where it is missing. Uses sudo unless run as root.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
    nlohmann-json3-dev
    dbus dbus-bin xvfb xauth locales
    g++-mingw-w64-x86-64 wine64 fonts-wine nsis unzip imagemagick
    libx11-dev x11-utils xdotool xclip desktop-file-utils dpkg-dev
)

# The German locale, in which the tests check that nothing follows the C locale.
german_locale() {
    locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    german_locale
    exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
german_locale
