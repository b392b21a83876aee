#!/usr/bin/env bash
# Installs the Debian packages the project needs that are not there yet.
#   scripts/install-deps.sh run    what building and running the program needs
#   scripts/install-deps.sh test   that, and what the tests need
set -euo pipefail

run_packages=(
    cmake ninja-build pkg-config g++ make
    libsqlite3-dev libgsf-1-dev
    qt6-base-dev libgl-dev
    fonts-wqy-zenhei
)
test_packages=(
    clang libclang-rt-14-dev
    libgtest-dev libgmock-dev
    libfreexl-dev python3-xlrd python3-xlwt
    libreoffice-calc-nogui
    xvfb xauth
)

case "${1:-run}" in
    run) wanted=("${run_packages[@]}") ;;
    test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
    *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "These packages are missing and neither root nor sudo is available to install them:" >&2
    echo "  ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
