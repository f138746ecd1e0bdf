#!/usr/bin/env bash
# The programs load their libraries from the system only: started from a
# folder that holds files named like their libraries, they still run.
set -euo pipefail
bin=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder"
for lib in libstdc++.so.6 libc.so.6 libQt6Core.so.6 libQt6Gui.so.6 libQt6Widgets.so.6; do
    echo "not a library" >"$lib"
done
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$folder/config"
failed=0
for run in "ostreltz --version" "ostreltz-cli --version" "ostreltz-radio-sim --help"; do
    read -r program option <<<"$run"
    if ! "$bin/$program" "$option" >/dev/null 2>"$folder/err"; then
        echo "FAIL: $program, started in a folder of look-alike libraries: $(cat "$folder/err")"
        failed=1
    fi
done
exit $failed
