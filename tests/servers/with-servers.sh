#!/usr/bin/env bash
# Runs a command with two real FTP servers on 127.0.0.1, then stops them.
#   tests/servers/with-servers.sh command [arguments...]
# Starts Debian's vsftpd and pyftpdlib on free ports, each with its own
# configuration and folders, and exports for the command:
#   VELTRO_VSFTPD_PORT, VELTRO_PYFTPD_PORT   the control ports
#   VELTRO_FTP_USER, VELTRO_FTP_PASS         the account on both servers
#   VELTRO_VSFTPD_ROOT, VELTRO_PYFTPD_ROOT   the writable homes (Linux paths)
#   VELTRO_ANON_ROOT                         the read-only anonymous root (has pub/)
# The servers are stopped by their process ids whatever the command does.
set -u
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/veltro-ftp-XXXXXX")
chmod 755 "$work"
user=veltroftp
pass=veltro-secret

if ! id "$user" >/dev/null 2>&1; then
  echo "with-servers: the account $user is missing (run tools/install-deps.sh)" >&2
  exit 1
fi

free_port() {
  /usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1]); s.close()'
}
# Waits up to ten seconds for a listener on the port.
wait_port() {
  for _ in $(seq 1 100); do
    /usr/bin/python3 -c "import socket,sys; s=socket.socket(); s.settimeout(0.2); sys.exit(s.connect_ex(('127.0.0.1',$1)))" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

vhome="$work/vsftpd-home"; phome="$work/pyftpd-home"; anon="$work/anon"
mkdir -p "$vhome" "$phome" "$anon/pub"
echo "anonymous file" > "$anon/pub/readme.txt"
chown -R "$user:" "$vhome" "$phome"
chmod 755 "$anon" "$anon/pub"
mkdir -p /var/run/vsftpd/empty

vport=$(free_port); pport=$(free_port)
# Settings beyond vsftpd's defaults (anonymous logins, PASV and PORT on,
# no per-address limit).
cat > "$work/vsftpd.conf" <<CONF
listen=YES
listen_address=127.0.0.1
listen_port=$vport
anon_root=$anon
no_anon_password=YES
local_enable=YES
write_enable=YES
local_umask=022
local_root=$vhome
check_shell=NO
pam_service_name=veltro-vsftpd
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
secure_chroot_dir=/var/run/vsftpd/empty
ascii_upload_enable=YES
ascii_download_enable=YES
CONF

vsftpd "$work/vsftpd.conf" > "$work/vsftpd.log" 2>&1 &
vpid=$!
/usr/bin/python3 "$here/pyftpd.py" "$pport" "$phome" "$anon" "$user" "$pass" > "$work/pyftpd.log" 2>&1 &
ppid_=$!

cleanup() {
  kill "$vpid" "$ppid_" 2>/dev/null
  wait "$vpid" "$ppid_" 2>/dev/null
  # vsftpd forks a process per session; end any left with the listener's pid as parent.
  pkill -P "$vpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

if ! wait_port "$vport"; then echo "with-servers: vsftpd did not start:" >&2; cat "$work/vsftpd.log" >&2; exit 1; fi
if ! wait_port "$pport"; then echo "with-servers: pyftpdlib did not start:" >&2; cat "$work/pyftpd.log" >&2; exit 1; fi

export VELTRO_VSFTPD_PORT=$vport VELTRO_PYFTPD_PORT=$pport
export VELTRO_FTP_USER=$user VELTRO_FTP_PASS=$pass
export VELTRO_VSFTPD_ROOT=$vhome VELTRO_PYFTPD_ROOT=$phome VELTRO_ANON_ROOT=$anon
"$@"
exit $?
