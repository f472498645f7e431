#!/usr/bin/env bash
# Installs the Debian packages that a task needs, and only those that are missing, so a second
# run costs a few dpkg queries. Usage: install-deps.sh run|showcase|gallery|test|bench|coverage|fuzz
set -euo pipefail

build=(cmake g++ make libx11-dev)
# The install tests also validate the desktop files, render the manual page and build the
# Debian package, whose dependencies dpkg-shlibdeps (dpkg-dev) works out.
# The window managers of the dialog matrix; xfwm4 keeps its settings on a session bus (dbus).
testing=(libxtst-dev libpng-dev libgtest-dev xvfb openbox xfonts-base x11-utils
    desktop-file-utils appstream man-db groff-base dpkg-dev
    i3 xfwm4 metacity icewm twm dbus)
case "${1:-test}" in
run) wanted=("${build[@]}" alsa-utils xfonts-base x11-utils) ;;
showcase) wanted=("${build[@]}" alsa-utils xfonts-base x11-utils libxtst-dev libpng-dev xvfb openbox) ;;
# The gallery is configured with the test suite, which needs GoogleTest to configure at all.
gallery) wanted=("${build[@]}" alsa-utils xfonts-base x11-utils libxtst-dev libpng-dev libgtest-dev xvfb openbox) ;;
test | bench) wanted=("${build[@]}" "${testing[@]}") ;;
coverage) wanted=("${build[@]}" "${testing[@]}" gcovr) ;;
# libFuzzer comes with clang's runtime libraries; the text box target paints on a private X server.
fuzz) wanted=("${build[@]}" clang libclang-rt-14-dev xvfb openbox xfonts-base x11-utils) ;;
format) wanted=(clang-format git) ;;
*)
    echo "usage: $0 run|showcase|gallery|test|bench|coverage|fuzz|format" >&2
    exit 2
    ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
