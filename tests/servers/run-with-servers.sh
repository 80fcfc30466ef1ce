#!/usr/bin/env bash
# Runs a command with the loopback servers of the web-access tests around it:
#   run-with-servers.sh command [args...]
# Starts the recording test server and a tinyproxy, picks a port nobody listens
# on, passes the ports to the command in the environment (Wine hands the Unix
# environment to Windows programs), and stops what it started afterwards.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

free_port() { python3 "$here/../e2e/free_port.py"; }

wait_for_port() {
  python3 - "$1" <<'PY'
import socket, sys, time
for _ in range(100):
    try:
        socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=1).close()
        sys.exit(0)
    except OSError:
        time.sleep(0.1)
sys.exit(1)
PY
}

python3 "$here/testserver.py" --port-file "$work/ports" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/ports" ] && break; sleep 0.1; done
read -r web_port silent_port <"$work/ports"

proxy_port=$(free_port)
cat >"$work/tinyproxy.conf" <<CONF
Port $proxy_port
Listen 127.0.0.1
Timeout 20
MaxClients 50
Allow 127.0.0.1
LogLevel Critical
CONF
tinyproxy -d -c "$work/tinyproxy.conf" >"$work/tinyproxy.log" 2>&1 &
pids+=($!)
wait_for_port "$proxy_port"

export PROXYSWITCHER_WEBTEST_PORT=$web_port
export PROXYSWITCHER_WEBTEST_SILENT_PORT=$silent_port
export PROXYSWITCHER_WEBTEST_PROXY_PORT=$proxy_port
export PROXYSWITCHER_WEBTEST_CLOSED_PORT=$(free_port)
# WinINet under Wine also takes a proxy from these; the tests set their own.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY
"$@"
