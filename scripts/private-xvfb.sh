# shellcheck shell=bash
# Sourced by the scripts that need a display of their own: start_private_xvfb DIR [WxH] starts Xvfb
# (1024x768 unless said, 24 bits, no TCP) with its log in DIR/xvfb.log, sets xvfb_pid and exports
# DISPLAY.
# -displayfd says which display number it took once it accepts connections. Returns 1 when that
# has not happened within 10 s; stopping the server is the caller's (it holds xvfb_pid).
start_private_xvfb() {
    local dir=$1 size=${2:-1024x768}
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp >"$dir/xvfb.log" 2>&1 3>"$dir/display" &
    # shellcheck disable=SC2034 # the caller stops the server by it
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$dir/display" ] && break
        sleep 0.1
    done
    [ -s "$dir/display" ] || return 1
    DISPLAY=":$(head -n1 "$dir/display")"
    export DISPLAY
}
