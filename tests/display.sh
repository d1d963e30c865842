#!/bin/sh
# Runs a test program on a real X server (Xvfb, 1366×768) under the openbox
# window manager, as a clerk's screen would show it: display.sh PROGRAM ARGS...
# VELORIN_SCREEN=1920x1080 gives another screen size.
if [ -z "$VELORIN_DISPLAY_INNER" ]; then
    VELORIN_DISPLAY_INNER=1 exec xvfb-run -a -s "-screen 0 ${VELORIN_SCREEN:-1366x768}x24 -nolisten tcp" "$0" "$@"
fi
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# The window manager is ready once it has announced itself on the root window.
i=0
while ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window; do
    i=$((i + 1))
    [ $i -gt 100 ] && { echo "openbox did not start" >&2; kill $wm; exit 1; }
    sleep 0.1
done
QT_QPA_PLATFORM=xcb "$@"
rc=$?
kill $wm 2>/dev/null
wait $wm 2>/dev/null
exit $rc
