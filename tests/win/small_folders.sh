#!/bin/sh
# Runs a Wine test program with folders a therapist's machine can have:
# TE_READONLY_FOLDER, mounted read-only, and TE_SMALL_FOLDER, with little
# room to spare; and TE_LOCKED_RESULT_FOLDER, whose result file is an
# older one nothing may change or remove (made immutable: Wine run as root
# would write over a file that is merely read-only).  Each holds a copy of
# the given art file.
#
#   small_folders.sh ART_FILE TEST_PROGRAM [ARGS...]
#
# Mounting needs root; where it is not allowed the run is skipped (77).
# Where the build's filesystem cannot make a file immutable, the locked
# folder is not offered.
set -u
art=$1
shift
base=$(mktemp -d /tmp/te-folders.XXXXXX)
locked=$(mktemp -d "$(dirname "$art")/te-locked-result.XXXXXX")
result="$locked/$(basename "${art%.ff}").dat"
cleanup() {
  umount -l "$base/readonly" 2>/dev/null
  umount -l "$base/small" 2>/dev/null
  rm -rf "$base"
  chattr -i "$result" 2>/dev/null
  rm -rf "$locked"
}
trap cleanup EXIT
mkdir "$base/readonly" "$base/small"
room=$(( $(stat -c %s "$art") / 1024 + 256 ))
if ! mount -t tmpfs -o size=${room}k tmpfs "$base/small" 2>/dev/null ||
   ! mount -t tmpfs -o size=${room}k tmpfs "$base/readonly" 2>/dev/null; then
  echo "small_folders: cannot mount folders here (needs root); skipped"
  exit 77
fi
cp "$art" "$base/small/" && cp "$art" "$base/readonly/" && mount -o remount,ro "$base/readonly" || exit 1
cp "$art" "$locked/" && printf '00:09:99' >"$result" || exit 1
if chattr +i "$result" 2>/dev/null; then
  TE_LOCKED_RESULT_FOLDER=$(winepath -w "$locked")
  export TE_LOCKED_RESULT_FOLDER
else
  echo "small_folders: cannot make a file immutable here; no locked result file"
fi
TE_SMALL_FOLDER=$(winepath -w "$base/small") TE_READONLY_FOLDER=$(winepath -w "$base/readonly") wine "$@"
