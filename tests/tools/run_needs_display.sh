#!/usr/bin/env bash
# ./run without any display stops at once with one plain line, before it
# installs or builds anything; with a platform chosen it goes on.
# Usage: run_needs_display.sh PATH_TO_RUN
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$1" "$work/run"
mkdir "$work/scripts"
# Stands in for the installer: reaching it means ./run went on.
printf '#!/bin/sh\necho install-reached\nexit 3\n' >"$work/scripts/install-deps"
chmod +x "$work/run" "$work/scripts/install-deps"

out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/run" 2>&1)
rc=$?
fail=0
[ "$rc" -ne 0 ] || { echo "no display: ./run exited 0"; fail=1; }
[ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || { echo "no display: more than one line: $out"; fail=1; }
case "$out" in *"needs a graphical display"*) ;; *) echo "no display: unclear message: $out"; fail=1 ;; esac
case "$out" in *install-reached*) echo "no display: ./run went on to install"; fail=1 ;; esac

for env in "DISPLAY=:99" "WAYLAND_DISPLAY=wayland-0" "QT_QPA_PLATFORM=offscreen"; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$env" "$work/run" 2>&1)
  case "$out" in *install-reached*) ;; *) echo "$env: ./run stopped before installing: $out"; fail=1 ;; esac
done
[ "$fail" -eq 0 ] && echo "run_needs_display: ok"
exit "$fail"
