#!/usr/bin/env bash
# `make run`: a program under Wine.
#
# On a desktop (a display and a sound server of the user's own) the real
# program starts and the therapist uses it.  Without them, the virtual
# display and microphone are used and the UI driver walks through one
# measurement: noise, title, a sung vowel, the confirmation.  Screenshots
# (PNG) and the result file are left in out/; for the main menu (gui_kx)
# a session of two trials is run from the menu, and its history file, the
# trials' sounds (gravacoes/) and the patient's report (relatorios/, the
# HTML and a PDF printed from it by Chromium) are left there too.
#
#   tools/run.sh PROGRAM WINBUILD OUTDIR
set -euo pipefail
program=$1 build=$2 out=$3
here=$(cd "$(dirname "$0")/.." && pwd)

[ -f "$build/$program.exe" ] || { echo "run: $build/$program.exe was not built" >&2; exit 1; }
mkdir -p "$out"
rm -f "$out"/*.bmp "$out"/*.png
cp "$build/$program.exe" "$out/"
[ -f "$build/$program.ff" ] && cp "$build/$program.ff" "$out/"
# The launcher starts the runtime, which opens the book, all from beside it.
[ "$program" = tavoral ] && cp "$build/dllcontrolkx.dll" "$build/TB90run.exe" "$build/gui_kx.exe" "$out/"
# The main menu starts the exercises from its own folder: those built so far.
if [ "$program" = gui_kx ]; then
  for exercise in abelha carro barco menina adulto; do
    for file in "$build/$exercise.exe" "$build/$exercise.ff"; do [ -f "$file" ] && cp "$file" "$out/"; done
  done
fi

have_desktop() {
  [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && pactl info >/dev/null 2>&1 &&
    [ -n "$(pactl list short sources 2>/dev/null | grep -v '\.monitor')" ]
}

if have_desktop; then
  echo "Starting $program on this desktop."
  export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
  if locale -a 2>/dev/null | grep -qi '^pt_BR\.utf-\?8$'; then export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8; fi
  "$here/tools/wine-settings.sh" 0 || true
  cd "$out" && exec wine "./$program.exe"
fi

echo "No desktop with a microphone here: using the virtual display and microphone."
cp "$build/uidriver.exe" "$out/"
# The walkthrough keeps the menu's history, sounds and reports here.
rm -rf "$out/historico.csv" "$out/gravacoes" "$out/relatorios"
rm -f "$out"/*.wav "$out/sessao.txt"
unset DISPLAY
"$here/tools/testenv.sh" --virtual-display -- sh -c "cd '$out' && wine ./uidriver.exe '$program.exe' . ."
status=$?
for bmp in "$out"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
rm -f "$out/uidriver.exe"
# The report as the therapist prints it: a PDF, and the page as it shows.
for html in "$out"/relatorios/*.html; do
  [ -e "$html" ] || continue
  chromium --headless --no-sandbox --disable-gpu --no-first-run --no-pdf-header-footer \
    --print-to-pdf="${html%.html}.pdf" "$html" >/dev/null 2>&1 || echo "run: Chromium could not print $html" >&2
  chromium --headless --no-sandbox --disable-gpu --no-first-run --hide-scrollbars --window-size=900,1400 \
    --screenshot="${html%.html}.png" "$html" >/dev/null 2>&1 || true
done
echo "Screenshots and the result file are in $out/:"
(cd "$out" && find . -type f ! -name '*.exe' ! -name '*.ff' ! -name '*.dll' | sort | sed 's|^\./|  |')
[ -f "$out/$program.dat" ] && echo "$program.dat: $(cat "$out/$program.dat")"
[ -f "$out/historico.csv" ] && { echo "historico.csv:"; sed 's/^/  /' "$out/historico.csv"; }
exit $status
