#!/usr/bin/env bash
# Runs a test program under a private Xvfb server of its own: the server picks a free display
# number (-displayfd), the program starts once the server accepts connections, and the server is
# stopped by its process id on every way out, also when this script itself is killed.
# Nothing reaches the user's home or desktop session: HOME is a temporary folder.
set -euo pipefail

if ! command -v Xvfb >/dev/null; then
    echo "RunUnderXvfb: Xvfb is not installed (Debian package xvfb)" >&2
    exit 1
fi

scratch=$(mktemp -d)
server=
watchdog=
cleanup() {
    [[ -n "$watchdog" ]] && kill "$watchdog" 2>/dev/null || true
    if [[ -n "$server" ]]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$scratch/display" \
    2>"$scratch/server.log" &
server=$!
# A kill -9 of this script skips the trap: the watchdog then stops the server.
(
    while kill -0 $$ 2>/dev/null; do sleep 1; done
    kill "$server" 2>/dev/null
) >/dev/null 2>&1 &
watchdog=$!

for _ in $(seq 100); do
    [[ -s "$scratch/display" ]] && break
    if ! kill -0 "$server" 2>/dev/null; then
        echo "RunUnderXvfb: Xvfb ended at start-up:" >&2
        cat "$scratch/server.log" >&2
        exit 1
    fi
    sleep 0.1
done
if [[ ! -s "$scratch/display" ]]; then
    echo "RunUnderXvfb: Xvfb did not start within 10 seconds" >&2
    exit 1
fi

mkdir -p "$scratch/home"
export DISPLAY=":$(head -n1 "$scratch/display")"
export HOME="$scratch/home"
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 SDL_VIDEODRIVER=x11
unset WAYLAND_DISPLAY XDG_RUNTIME_DIR
"$@"
