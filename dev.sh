#!/usr/bin/env bash
# Set-up, build, run and test on Debian 12. Run as root (or with sudo) on a
# fresh machine: missing packages are installed with apt-get.
#   ./dev.sh run     build and start the program
#   ./dev.sh test    build and run every test, and again under ASan + UBSan (with the fuzz
#                    targets run briefly), and print the seconds of each stage; the tests
#                    of one build run while the next one compiles
#   ./dev.sh bench   transfer benchmarks against the simulated radio
#   ./dev.sh fuzz [SECONDS]  the fuzz targets, each for SECONDS (default 300)
#   ./dev.sh memcheck    the widget tests under valgrind memcheck (those timed against
#                         the simulated radio are left to the sanitizer build)
#   ./dev.sh package a .deb in build/ (cpack)
#   ./dev.sh demo    a simulated radio and the program with its port chosen
#   ./dev.sh web     the browser page built into build-web/site/ and served on http://127.0.0.1:8080
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev libx11-dev libfontconfig-dev qt6-serialport-dev libqt6serialport6
          qt6-translations-l10n libgtest-dev libgmock-dev fonts-wqy-microhei poppler-utils xvfb xauth
          desktop-file-utils shared-mime-info dpkg-dev file clang clang-format libclang-rt-14-dev ccache)

# What the browser page and its tests need besides. Node.js and npm count as
# present whatever installed them (a vendor's nodejs package carries its own npm
# and conflicts with Debian's npm package).
WEB_PACKAGES=(emscripten chromium python3)
command -v node >/dev/null || WEB_PACKAGES+=(nodejs)
command -v npm >/dev/null || WEB_PACKAGES+=(npm)

# apt-get waits for another installation to let go of the package lock instead
# of failing at once, and the package lists are fetched once per run.
APT_UPDATED=0
apt_install() {
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    local apt=($sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -qq)
    if ((!APT_UPDATED)); then
        "${apt[@]}" update || echo "apt-get update failed; trying the package lists already here" >&2
        APT_UPDATED=1
    fi
    if ! "${apt[@]}" install -y --no-install-recommends "$@"; then
        echo "dev.sh: could not install: $*" >&2
        echo "dev.sh: another installation may still hold the package lock, or a package source is unreachable;" >&2
        echo "dev.sh: install them by hand (apt-get install $*) and run dev.sh again." >&2
        exit 1
    fi
}

need_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        apt_install "${missing[@]}"
    fi
}

# The seconds each stage took (wall clock, and the processor time of everything
# it ran), printed when the run ends, also when a stage fails. A stage runs in a
# subshell of its own, so its processor time is its own even while another stage
# runs beside it.
STAGE_DIR=$(mktemp -d)
STAGE_COUNT=0
stage() {  # stage NAME COMMAND...
    STAGE_COUNT=$((STAGE_COUNT + 1))
    timed "$STAGE_DIR/$(printf '%02d' "$STAGE_COUNT")" "$@"
}
timed() {  # timed FILE NAME COMMAND...: the stage's line goes to FILE
    local file=$1 name=$2
    shift 2
    printf '%-12s failed\n' "$name" >"$file"
    (
        wall=$EPOCHREALTIME
        "$@"
        times >"$file.times"
        awk -v n="$name" -v w0="$wall" -v w1="$EPOCHREALTIME" \
            'NR == 2 { split($1, u, "m"); split($2, s, "m")
                       printf "%-12s %7.1f s  (cpu %7.1f s)\n", n, w1 - w0, u[1] * 60 + u[2] + s[1] * 60 + s[2] }' \
            "$file.times" >"$file"
        rm "$file.times"
    )
}

# Stages that mostly wait (on the simulated radio's pace, or on a browser) run
# beside the stages that compile. Each one's output is kept and printed whole
# once it has ended, so the logs don't interleave.
BESIDE=()
beside() {  # beside NAME COMMAND...
    STAGE_COUNT=$((STAGE_COUNT + 1))
    local file
    file=$STAGE_DIR/$(printf '%02d' "$STAGE_COUNT")
    timed "$file" "$@" >"$file.log" 2>&1 &
    BESIDE+=("$!:$file:$1")
}
await_beside() {  # fails when one of the stages started beside failed
    local entry rest failed=0
    for entry in "${BESIDE[@]}"; do
        rest=${entry#*:}
        wait "${entry%%:*}" || failed=1
        echo "=== ${rest#*:} ==="
        cat "${rest%%:*}.log"
    done
    BESIDE=()
    return $failed
}

print_stages() {
    local status=$?
    ((${#BESIDE[@]} == 0)) || await_beside || status=1
    if ((STAGE_COUNT)); then
        echo "Seconds per stage:"
        sed 's/^/  /' "$STAGE_DIR"/[0-9][0-9]
    fi
    rm -rf "$STAGE_DIR"
    return $status
}
trap print_stages EXIT

# A new build folder is made with clang, which compiles this code in about two
# thirds of the time g++ takes; a folder configured before keeps its compiler.
# The debugging information is the line tables (-g1): enough for backtraces
# and the sanitizers' reports, and a sixth quicker to compile than all of it.
build() {  # build DIR [cmake options...]
    local dir=$1; shift
    local compiler=()
    [ -f "$dir/CMakeCache.txt" ] || compiler=(-DCMAKE_CXX_COMPILER=clang++)
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
        "${compiler[@]}" "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}

# The rules as WebAssembly, the page and its tests, into build-web/.
build_web() {
    PACKAGES+=("${WEB_PACKAGES[@]}")
    need_packages
    (cd web && npm ci --no-audit --no-fund --loglevel=error)
    export NODE_PATH=/usr/share/nodejs
    # ccache keeps the WebAssembly objects as well, with paths taken relative to the checkout.
    if command -v ccache >/dev/null; then
        export EM_COMPILER_WRAPPER=ccache CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
    fi
    emcmake cmake -S web/wasm -B build-web/wasm -G Ninja >/dev/null
    cmake --build build-web/wasm -j"$(nproc)"
    node web/tools/gen-types.cjs build-web/wasm/ostreltz-rules.js web/src/generated/rulesTypes.ts
    (cd web && node_modules/.bin/tsc -p .)
    node web/build.mjs build-web
}

# The page's tests: the rules module under Node, then the page in headless
# Chromium against the simulated radio. Needs build/ (simulator, command line) and build_web.
# A test that hangs fails after ten minutes, and a file's leftovers (a server,
# a browser) never hold the run once its tests are done. Two files run at a
# time: they spend most of it waiting on the simulated radio's pace.
test_web() {
    NODE_PATH="$PWD/web/node_modules" node --test --test-concurrency=2 --test-timeout=600000 --test-force-exit \
        build-web/test/*.test.cjs
}

# The sanitizer build: clang with AddressSanitizer and UndefinedBehaviorSanitizer,
# the tests and the libFuzzer targets in one build folder.
build_sanitized() {
    build build-asan -DOSTRELTZ_SANITIZE=ON -DOSTRELTZ_FUZZ=ON
}

# Runs each fuzz target for $1 seconds from its seed corpus, as many at once as
# there are processors, at the lowest priority: beside the tests, the fuzzers
# take only what the tests leave. Needs build_sanitized.
fuzz() {
    local seconds=$1 work
    work=$(mktemp -d)
    local targets=(sin_load codec texts engines csv) running=0
    for target in "${targets[@]}"; do
        mkdir "$work/$target"
        nice -n 19 build-asan/bin/fuzz_$target -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
            "$work/$target" "fuzz/corpus/$target" >"$work/$target.log" 2>&1 &
        if ((++running >= $(nproc))); then
            wait -n || true
            running=$((running - 1))
        fi
    done
    wait || true
    local failed=0
    for target in "${targets[@]}"; do
        if grep -q 'Done [0-9]* runs' "$work/$target.log"; then
            echo "fuzz_$target: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$work/$target.log" | grep -o '[0-9]*$') runs, no finding"
        else
            failed=1
            echo "fuzz_$target: FINDING"
            tail -n 40 "$work/$target.log"
        fi
    done
    rm -rf "$work"
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
        PACKAGES+=("${WEB_PACKAGES[@]}")
        stage packages need_packages
        export QT_QPA_PLATFORM=offscreen
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        beside web-build build_web
        stage build build build
        await_beside
        beside tests eval '(cd build && ctest --output-on-failure --timeout 300 -LE bench -j2)'
        stage build-asan build_sanitized
        await_beside
        beside tests-asan eval '(cd build-asan && ctest --output-on-failure --timeout 300 -LE bench -j4)'
        beside web test_web
        stage fuzz fuzz 10
        await_beside
        ;;
    fuzz)
        need_packages
        build_sanitized
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
        command -v valgrind >/dev/null || apt_install valgrind
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
