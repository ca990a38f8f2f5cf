#!/usr/bin/env bash
# Gives Windows programs under Wine what a therapist's machine gives them:
# a display, a Wine prefix and a microphone.  On a desktop with DISPLAY set
# the real display is used; otherwise a private Xvfb is started.  The
# microphone is a PulseAudio null sink whose monitor is the default source,
# so anything played into the sink (paplay, or waveOut from a Wine program)
# is what waveIn records.
#
#   tools/testenv.sh [--no-audio] [--virtual-display] -- command args...
#
# Exports DISPLAY, WINEPREFIX, WINEDEBUG, PULSE_SERVER, TE_SINK (the sink to
# play into) for the command, and stops everything it started on exit.
# TE_SCREEN sets the virtual display's size (default 1024x768x24; the
# benchmarks take the full-screen figure at 1920x1080x24).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
audio=1
force_virtual=0
virtual_display=0
while [ $# -gt 0 ]; do
  case "$1" in
    --no-audio) audio=0; shift ;;
    --virtual-display) force_virtual=1; shift ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--no-audio] [--virtual-display] -- command..." >&2; exit 2; }

export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
# The system's own texts (message box buttons) in Brazilian Portuguese, as
# on the therapists' machines.
if locale -a 2>/dev/null | grep -qi '^pt_BR\.utf-\?8$'; then
  export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

state=$(mktemp -d /tmp/te-env.XXXXXX)
pids=()
cleanup() {
  set +e
  if [ -n "${started_wineserver:-}" ]; then wineserver -k >/dev/null 2>&1; fi
  [ -f "$state/pulse.pid" ] && pids+=("$(cat "$state/pulse.pid")")
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  rm -rf "$state"
}
trap cleanup EXIT INT TERM

# --- display -------------------------------------------------------------
if [ "$force_virtual" = 1 ] || [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
    Xvfb :$n -screen 0 "${TE_SCREEN:-1024x768x24}" -nolisten tcp >"$state/xvfb.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 1 100); do
      [ -e /tmp/.X11-unix/X$n ] && break
      kill -0 "${pids[-1]}" 2>/dev/null || break
      sleep 0.05
    done
    if [ -e /tmp/.X11-unix/X$n ]; then export DISPLAY=:$n; virtual_display=1; break; fi
  done
  [ -n "${DISPLAY:-}" ] || { echo "testenv: could not start Xvfb" >&2; exit 1; }
fi

# --- microphone ----------------------------------------------------------
if [ "$audio" = 1 ]; then
  export PULSE_RUNTIME_PATH="$state/pulse"
  mkdir -p "$PULSE_RUNTIME_PATH"
  export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
  # The audio server can be stopped and started again by the tests (the
  # microphone unplugged and plugged back).  A Windows program asks for it
  # by creating the file "stop" or "start" in $TE_AUDIO_CONTROL_DIR; the file
  # disappears once it is done.  A file NAME.play there (16-bit mono PCM at
  # 11025 Hz) is played into the sink by the server's own player; it is
  # NAME.playing while it plays and goes when it is done.  NAME.stop ends it
  # early (a test that failed halfway must not leave its vowel sounding
  # into the next one).
  cat >"$state/audio-control.sh" <<SCRIPT
#!/bin/sh
export PULSE_RUNTIME_PATH="$PULSE_RUNTIME_PATH" PULSE_SERVER="$PULSE_SERVER"
case "\$1" in
  stop)
    [ -f "$state/pulse.pid" ] && kill "\$(cat "$state/pulse.pid")" 2>/dev/null
    for _ in \$(seq 1 100); do pactl info >/dev/null 2>&1 || exit 0; sleep 0.05; done
    exit 1 ;;
  start)
    pulseaudio --daemonize=no --exit-idle-time=-1 -n --disallow-exit \\
      --use-pid-file=no --system=no \\
      --load="module-null-sink sink_name=vmic sink_properties=device.description=vmic" \\
      --load="module-native-protocol-unix socket=$PULSE_RUNTIME_PATH/native auth-anonymous=1" \\
      >>"$state/pulse.log" 2>&1 </dev/null &
    echo \$! >"$state/pulse.pid"
    for _ in \$(seq 1 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
    pactl set-default-sink vmic && pactl set-default-source vmic.monitor ;;
esac
SCRIPT
  chmod +x "$state/audio-control.sh"
  "$state/audio-control.sh" start >/dev/null 2>&1 ||
    { echo "testenv: PulseAudio did not start" >&2; cat "$state/pulse.log" >&2; exit 1; }
  mkdir -p "$state/audio-requests"
  (
    while sleep 0.1; do
      for request in stop start; do
        [ -f "$state/audio-requests/$request" ] || continue
        "$state/audio-control.sh" "$request" >/dev/null 2>&1
        rm -f "$state/audio-requests/$request"
      done
      for stop in "$state/audio-requests"/*.stop; do
        [ -e "$stop" ] || continue
        name="${stop%.stop}"
        rm -f "$name.play"
        # A player still starting has no pid yet: stop it on the next round.
        [ -e "$name.playing" ] && [ ! -f "$name.pid" ] && continue
        [ -f "$name.pid" ] && kill "$(cat "$name.pid")" 2>/dev/null
        rm -f "$stop"
      done
      for sound in "$state/audio-requests"/*.play; do
        [ -e "$sound" ] || continue
        name="${sound%.play}"
        mv "$sound" "$name.playing" || continue
        ( paplay --raw --rate=11025 --channels=1 --format=s16le "$name.playing" >/dev/null 2>&1 &
          echo $! >"$name.pid"
          wait
          rm -f "$name.playing" "$name.pid" ) &
      done
    done
  ) &
  pids+=($!)
  export TE_SINK=vmic TE_AUDIO_CONTROL_DIR="$state/audio-requests"
else
  # No audio server at all: Wine then has no wave-in device.
  export PULSE_SERVER="unix:$state/no-such-server"
fi

# --- Wine prefix -----------------------------------------------------------
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >"$state/wineboot.log" 2>&1 || { cat "$state/wineboot.log" >&2; exit 1; }
  # A crashing test must end (and fail), not wait in an interactive debugger.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ \
    /d '' /f >/dev/null 2>&1
fi
started_wineserver=1
"$here/tools/wine-settings.sh" "$virtual_display"

set +e
"$@"
rc=$?
exit $rc
