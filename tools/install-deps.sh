#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test Veltro Lite.
# Safe to run again: it only installs what is missing.
set -euo pipefail

PACKAGES=(
  cmake make g++ clang libclang-rt-14-dev googletest libmd-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64 mingw-w64-tools
  wine wine64 xvfb xauth x11-utils imagemagick
  vsftpd python3-pyftpdlib curl procps util-linux
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq || true
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# wine32 runs the 32-bit (reference) build. Adding the i386 architecture can
# break later installs when the mirror's i386 index is incomplete, so try it
# in a separate step and take the architecture away again when it fails.
if [ "${VELTRO_SKIP_WINE32:-0}" != 1 ] && [ ! -x /usr/lib/wine/wine ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  if $SUDO apt-get update -qq >/dev/null 2>&1 &&
     DEBIAN_FRONTEND=noninteractive timeout 900 $SUDO apt-get install -y -qq wine32:i386 >/dev/null 2>&1; then
    echo "wine32 installed: the i686 build is tested too"
  else
    echo "wine32 is not installable here: the i686 build is built but not run"
    $SUDO dpkg --remove-architecture i386 2>/dev/null || true
    $SUDO apt-get update -qq >/dev/null 2>&1 || true
  fi
fi

# The local account the FTP servers of the tests log on with.
if ! id veltroftp >/dev/null 2>&1; then
  $SUDO useradd -m -s /bin/bash veltroftp
fi
echo 'veltroftp:veltro-secret' | $SUDO chpasswd
if [ ! -f /etc/pam.d/veltro-vsftpd ]; then
  printf 'auth required pam_unix.so\naccount required pam_unix.so\n' | $SUDO tee /etc/pam.d/veltro-vsftpd >/dev/null
fi
$SUDO mkdir -p /var/run/vsftpd/empty
# The system's own vsftpd service is not used by the tests.
$SUDO systemctl disable --now vsftpd >/dev/null 2>&1 || $SUDO service vsftpd stop >/dev/null 2>&1 || true
