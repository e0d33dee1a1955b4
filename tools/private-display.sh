# Sourced by the scripts that need a display of their own: starts Xvfb on the
# first free display number from 90 on, sets DISPLAY and leaves the server's
# process id in $xvfb (the caller stops it). Returns non-zero when the server
# does not come up.
start_private_display() {
    local display=90
    while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=":$display"
    for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.05; done
    return 1
}
