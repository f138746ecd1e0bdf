#!/usr/bin/env bash
# Set-up, build, run and test on Debian 12. Run as root (or with sudo) on a
# fresh machine: missing packages are installed with apt-get.
#   ./dev.sh run     build and start the program
#   ./dev.sh test    build and run every test, then again under ASan + UBSan
#   ./dev.sh bench   transfer benchmarks against the simulated radio
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-serialport-dev libqt6serialport6
          qt6-translations-l10n libgtest-dev libgmock-dev fonts-wqy-microhei poppler-utils xvfb xauth)

need_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

build() {  # build DIR [cmake options...]
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}

verb=${1:-run}
shift || true
case "$verb" in
    run)
        need_packages
        build build
        if [ -x build/bin/ostreltz ]; then
            exec build/bin/ostreltz "$@"
        fi
        tmp=$(mktemp -d)
        build/bin/ostreltz-cli new "$tmp/new.sin"
        exec build/bin/ostreltz-cli dump "$tmp/new.sin"
        ;;
    test)
        need_packages
        build build
        export QT_QPA_PLATFORM=offscreen
        (cd build && ctest --output-on-failure -LE bench -j2)
        build build-asan -DOSTRELTZ_SANITIZE=ON
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        (cd build-asan && ctest --output-on-failure -LE bench -j2)
        ;;
    bench)
        need_packages
        build build
        (cd build && ctest --output-on-failure -V -L bench)
        ;;
    *)
        echo "usage: $0 {run|test|bench}" >&2
        exit 2
        ;;
esac
