#!/usr/bin/env bash
# Set-up, build, run and test on Debian 12. Run as root (or with sudo) on a
# fresh machine: missing packages are installed with apt-get.
#   ./dev.sh run     build and start the program
#   ./dev.sh test    build and run every test, then again under ASan + UBSan
#   ./dev.sh bench   transfer benchmarks against the simulated radio
#   ./dev.sh fuzz [SECONDS]  the fuzz targets, each for SECONDS (default 300)
#   ./dev.sh memcheck    the widget tests under valgrind memcheck (those timed against
#                         the simulated radio are left to the sanitizer build)
#   ./dev.sh package a .deb in build/ (cpack)
#   ./dev.sh demo    a simulated radio and the program with its port chosen
#   ./dev.sh web     the browser page built into build-web/site/ and served on http://127.0.0.1:8080
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev libx11-dev qt6-serialport-dev libqt6serialport6
          qt6-translations-l10n libgtest-dev libgmock-dev fonts-wqy-microhei poppler-utils xvfb xauth
          desktop-file-utils shared-mime-info dpkg-dev file clang libclang-rt-14-dev)

# What the browser page and its tests need besides. Node.js and npm count as
# present whatever installed them (a vendor's nodejs package carries its own npm
# and conflicts with Debian's npm package).
WEB_PACKAGES=(emscripten chromium python3)
command -v node >/dev/null || WEB_PACKAGES+=(nodejs)
command -v npm >/dev/null || WEB_PACKAGES+=(npm)

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

# The rules as WebAssembly, the page and its tests, into build-web/.
build_web() {
    PACKAGES+=("${WEB_PACKAGES[@]}")
    need_packages
    (cd web && npm ci --no-audit --no-fund --loglevel=error)
    export NODE_PATH=/usr/share/nodejs
    emcmake cmake -S web/wasm -B build-web/wasm -G Ninja >/dev/null
    cmake --build build-web/wasm -j"$(nproc)"
    node web/tools/gen-types.cjs build-web/wasm/ostreltz-rules.js web/src/generated/rulesTypes.ts
    (cd web && node_modules/.bin/tsc -p .)
    node web/build.mjs build-web
}

# The page's tests: the rules module under Node, then the page in headless
# Chromium against the simulated radio. Needs build/ (simulator, command line).
test_web() {
    local start=$SECONDS
    build_web
    NODE_PATH="$PWD/web/node_modules" node --test --test-concurrency=1 build-web/test/*.test.cjs
    echo "web tests: $((SECONDS - start)) s"
}

# Builds the libFuzzer targets and runs each for $1 seconds from its seed corpus.
fuzz() {
    local seconds=$1
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DOSTRELTZ_FUZZ=ON -DOSTRELTZ_TESTS=OFF >/dev/null
    cmake --build build-fuzz --target fuzz_targets -j"$(nproc)"
    local failed=0
    for target in sin_load codec texts engines csv; do
        local work
        work=$(mktemp -d)
        if build-fuzz/bin/fuzz_$target -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
            "$work" "fuzz/corpus/$target" >"$work.log" 2>&1; then
            echo "fuzz_$target: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$work.log" | grep -o '[0-9]*$') runs, no finding"
        else
            failed=1
            echo "fuzz_$target: FINDING"
            tail -n 40 "$work.log"
        fi
        rm -rf "$work" "$work.log"
    done
    return $failed
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
        test_web
        build build-asan -DOSTRELTZ_SANITIZE=ON
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        (cd build-asan && ctest --output-on-failure -LE bench -j2)
        fuzz 20
        ;;
    fuzz)
        need_packages
        fuzz "${1:-300}"
        ;;
    bench)
        need_packages
        build build
        (cd build && ctest --output-on-failure -V -L bench)
        build_web
        NODE_PATH="$PWD/web/node_modules" node build-web/test/transfer.bench.cjs
        ;;
    memcheck)
        need_packages
        command -v valgrind >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq valgrind
        build build
        QT_QPA_PLATFORM=offscreen valgrind --error-exitcode=9 --leak-check=no \
            --suppressions=tests/valgrind.supp build/bin/gui_tests --gtest_filter="${1:--Transfer.*:TuningDialog.Start*:TuningDialog.Radio*}"
        ;;
    package)
        need_packages
        build build
        (cd build && cpack -G DEB)
        ls build/*.deb
        ;;
    demo)
        need_packages
        build build
        sim_out=$(mktemp)
        build/bin/ostreltz-radio-sim --image docs/sample.sin --baud-emulation >"$sim_out" &
        sim=$!
        trap 'kill $sim 2>/dev/null; rm -f "$sim_out"' EXIT
        for _ in $(seq 50); do grep -q '^PORT ' "$sim_out" && break; sleep 0.1; done
        port=$(sed -n 's/^PORT //p' "$sim_out" | head -n 1)
        echo "模拟对讲机 / simulated radio: $port"
        build/bin/ostreltz --port "$port" "$@"
        ;;
    web)
        build_web
        echo "http://127.0.0.1:8080/"
        exec python3 -m http.server 8080 --bind 127.0.0.1 --directory build-web/site
        ;;
    *)
        echo "usage: $0 {run|test|bench|fuzz|memcheck|package|demo|web}" >&2
        exit 2
        ;;
esac
