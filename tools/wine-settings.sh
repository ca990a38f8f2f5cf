#!/usr/bin/env bash
# Wine settings for the suite, applied to $WINEPREFIX on every run; they
# change nothing in the programs, only how Wine shows them.
#
#   tools/wine-settings.sh VIRTUAL   (1: a private display without a window manager)
#
# - DirectDraw through Wine's GDI renderer: a frame costs a fraction of what
#   the OpenGL renderer takes on a display without acceleration.
# - No Direct3D command thread: it spins between frames and would burn most
#   of a core behind a game that draws 16 frames a second.
# - On a display without a window manager, Wine draws the window frames and
#   captions itself; on a desktop the desktop's window manager keeps them.
# - Wine's own fonts (Marlett for the caption buttons, Tahoma, MS Sans
#   Serif) in the prefix's Fonts folder: Debian's Wine does not look for
#   them in its data folder, and without them caption buttons show letters.
set -euo pipefail
virtual=${1:-0}
reg=$(mktemp /tmp/te-wine-settings.XXXXXX.reg)
trap 'rm -f "$reg"' EXIT
{
  echo 'REGEDIT4'
  echo
  echo '[HKEY_CURRENT_USER\Software\Wine\Direct3D]'
  echo '"csmt"=dword:00000000'
  echo '"renderer"="gdi"'
  echo
  echo '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]'
  if [ "$virtual" = 1 ]; then echo '"Managed"="N"'; else echo '"Managed"=-'; fi
} >"$reg"
wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ]; then
  for font in /usr/share/wine/fonts/*.ttf; do
    [ -e "$fonts/$(basename "$font")" ] || cp "$font" "$fonts/"
  done
fi
