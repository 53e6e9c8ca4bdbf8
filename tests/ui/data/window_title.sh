#!/bin/sh
# Prints the main window's title as the X server holds it (WM_NAME and _NET_WM_NAME), for the
# program $1 run on a virtual X server. Run through xvfb-run.
program=$1
cd "$(mktemp -d)" || exit 1
"$program" -platform xcb &
pid=$!
for _ in $(seq 50); do
  id=$(xwininfo -root -tree 2>/dev/null | grep '("zel" "zel")' | grep -v 'has no name' |
    awk '{print $1}' | head -n 1)
  [ -n "$id" ] && break
  sleep 0.2
done
if [ -n "$id" ]; then
  xprop -id "$id" WM_NAME _NET_WM_NAME
fi
kill "$pid"
wait "$pid" 2>/dev/null
