#!/bin/sh
# Runs a Wine test program with two folders a therapist's machine can
# have: TE_READONLY_FOLDER, mounted read-only, and TE_SMALL_FOLDER, with
# little room to spare; each holds a copy of the given art file.
#
#   small_folders.sh ART_FILE TEST_PROGRAM [ARGS...]
#
# Mounting needs root; where it is not allowed the run is skipped (77).
set -u
art=$1
shift
base=$(mktemp -d /tmp/te-folders.XXXXXX)
cleanup() {
  umount -l "$base/readonly" 2>/dev/null
  umount -l "$base/small" 2>/dev/null
  rm -rf "$base"
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
TE_SMALL_FOLDER=$(winepath -w "$base/small") TE_READONLY_FOLDER=$(winepath -w "$base/readonly") wine "$@"
