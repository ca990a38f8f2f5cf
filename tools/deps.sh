#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need.  As root it
# installs what is missing; otherwise it prints the apt-get line to run.
set -euo pipefail

packages=(
  build-essential cmake g++ clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix
  wine wine64 xvfb xauth x11-utils xdotool imagemagick
  pulseaudio pulseaudio-utils sox
  libcairo2-dev pkg-config fonts-dejavu-core
  nsis locales fonts-wine
  chromium poppler-utils
)

# Wine shows the system's own texts ("Sim", "Não") in the locale it runs in.
ensure_locale() {
  locale -a 2>/dev/null | grep -qi '^pt_BR\.utf-\?8$' && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "The pt_BR.UTF-8 locale is missing. As root: locale-gen pt_BR.UTF-8" >&2
    return 0
  fi
  sed -i 's/^# *\(pt_BR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^pt_BR.UTF-8 UTF-8' /etc/locale.gen || echo 'pt_BR.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
}

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  ensure_locale
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Run as root:" >&2
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
ensure_locale
