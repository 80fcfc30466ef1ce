#!/usr/bin/env python3
"""The local internet of the end-to-end tests and the demo, on loopback only.

nginx serves the sample pages of tests/e2e/sites/ for the six proxy-list sites,
the IP-echo page and the home page, each site on its own address at one port:

    127.0.0.11 5u          127.0.0.14 chunzhen          127.0.0.17 IP-echo page
    127.0.0.12 pubcc       127.0.0.15 dailizhongguo     127.0.0.18 home page
    127.0.0.13 huixun      127.0.0.16 dailifuwuqiwang

A real tinyproxy listens on 127.0.0.1 and connects onwards from 127.0.0.2, so
the echo page tells a request through it ("本地代理", 127.0.0.2) from a direct
one ("本机直连", 127.0.0.1). A "dead" proxy port accepts connections and never
answers; a "closed" port has nobody listening.

The sample pages list a few rows at LISTED_PROXY (127.0.0.3:8080); with
listed_proxy=True a second tinyproxy answers there, so those rows verify as
working (the demo turns it on; tests that need a fixed port do). With
silent_echo=True the IP-echo address accepts connections and never answers, for
tests of what happens while the program waits on it.

As a module:

    with LocalNet(port, workdir, listed_proxy=False, silent_echo=False) as net:
        net.proxy_port, net.dead_port, net.closed_port, net.url("5u", "/socks5.html")

As a command (runs until killed; prints one JSON line with the ports):

    python3 tests/e2e/localnet.py --port P --dir WORKDIR [--listed-proxy]

nginx and tinyproxy run as the current user with their configuration, pid,
logs and temporary files inside WORKDIR. Only what was started is stopped.
"""
import argparse
import json
import os
import pathlib
import signal
import socket
import subprocess
import sys
import threading
import time

HERE = pathlib.Path(__file__).resolve().parent
SITES = HERE / "sites"

# Site name -> loopback address; the folder below sites/ has the same name.
ADDRESSES = {
    "5u": "127.0.0.11",
    "pubcc": "127.0.0.12",
    "huixun": "127.0.0.13",
    "chunzhen": "127.0.0.14",
    "dailizhongguo": "127.0.0.15",
    "dailifuwuqiwang": "127.0.0.16",
    "ipecho": "127.0.0.17",
    "home": "127.0.0.18",
}
DIRECT_ADDRESS = "127.0.0.1"
PROXY_OUT_ADDRESS = "127.0.0.2"
# The working proxy that the sample pages list (make_sites.py writes it).
LISTED_PROXY = ("127.0.0.3", 8080)


def free_port(address="127.0.0.1"):
    with socket.socket() as s:
        s.bind((address, 0))
        return s.getsockname()[1]


def wait_listening(address, port, timeout=10.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            with socket.create_connection((address, port), timeout=0.5):
                return
        except OSError:
            time.sleep(0.05)
    raise RuntimeError(f"nothing listens on {address}:{port}")


def nginx_config(port, workdir, sites, silent_echo=False):
    echo_page = ("<html><head><meta charset=\\\"utf-8\\\"><title>IP</title></head><body>"
                 "<p>您的IP地址:$remote_addr</p><p>来自:$echo_location&nbsp;</p></body></html>\\n")
    servers = []
    for site, address in ADDRESSES.items():
        if site == "ipecho" and silent_echo:
            continue
        if site == "ipecho":
            servers.append(f"""
    server {{
        listen {address}:{port};
        location / {{
            default_type "text/html; charset=utf-8";
            return 200 "{echo_page}";
        }}
    }}""")
        else:
            # The 5u pages come slowly (a few seconds each), as from a distant
            # site, so a test can watch the window while the program waits.
            throttle = "\n        limit_rate 2k;" if site == "5u" else ""
            servers.append(f"""
    server {{
        listen {address}:{port};
        root {sites / site};
        index index.html;{throttle}
    }}""")
    temp = workdir / "temp"
    return f"""worker_processes 1;
pid {workdir / "nginx.pid"};
error_log {workdir / "nginx-error.log"} warn;
events {{ worker_connections 256; }}
http {{
    include /etc/nginx/mime.types;
    default_type application/octet-stream;
    access_log {workdir / "nginx-access.log"};
    client_body_temp_path {temp / "body"};
    proxy_temp_path {temp / "proxy"};
    fastcgi_temp_path {temp / "fastcgi"};
    uwsgi_temp_path {temp / "uwsgi"};
    scgi_temp_path {temp / "scgi"};
    etag off;
    if_modified_since off;
    map $remote_addr $echo_location {{
        {DIRECT_ADDRESS} "本机直连";
        {PROXY_OUT_ADDRESS} "本地代理";
        default "未知";
    }}
{"".join(servers)}
}}
"""


def tinyproxy_config(proxy_port, workdir, listen=DIRECT_ADDRESS, name="tinyproxy"):
    return f"""Port {proxy_port}
Listen {listen}
Bind {PROXY_OUT_ADDRESS}
Timeout 30
MaxClients 50
LogFile "{workdir / (name + ".log")}"
LogLevel Info
Allow 127.0.0.1
ViaProxyName "tinyproxy"
"""


class DeadPort:
    """Accepts connections (on 127.0.0.1 and a free port unless told) and never
    answers them."""

    def __init__(self, address=DIRECT_ADDRESS, port=0):
        self._server = socket.socket()
        self._server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self._server.bind((address, port))
        self._server.listen(64)
        self.port = self._server.getsockname()[1]
        self._held = []
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)
        self._thread.start()

    def _run(self):
        self._server.settimeout(0.2)
        while not self._stop.is_set():
            try:
                conn, _ = self._server.accept()
                self._held.append(conn)
            except socket.timeout:
                continue
            except OSError:
                break

    def close(self):
        self._stop.set()
        self._thread.join(timeout=2)
        for conn in self._held:
            conn.close()
        self._server.close()


class LocalNet:
    def __init__(self, port, workdir, sites=SITES, listed_proxy=False, silent_echo=False):
        self.port = int(port)
        self.workdir = pathlib.Path(workdir).resolve()
        self.sites = pathlib.Path(sites).resolve()
        self.listed_proxy = listed_proxy
        self.silent_echo = silent_echo
        self.proxy_port = None
        self.dead_port = None
        self.closed_port = None
        self._nginx = None
        self._tinyproxy = None
        self._listed = None
        self._dead = None
        self._silent_echo = None

    def host(self, site):
        return f"{ADDRESSES[site]}:{self.port}"

    def url(self, site, path="/"):
        return f"http://{self.host(site)}{path}"

    def start(self):
        self.workdir.mkdir(parents=True, exist_ok=True)
        (self.workdir / "temp").mkdir(exist_ok=True)
        try:
            conf = self.workdir / "nginx.conf"
            conf.write_text(nginx_config(self.port, self.workdir, self.sites, self.silent_echo), encoding="utf-8")
            self._nginx = subprocess.Popen(
                ["nginx", "-e", str(self.workdir / "nginx-error.log"), "-c", str(conf), "-p", str(self.workdir),
                 "-g", "daemon off;"],
                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

            self.proxy_port = free_port()
            tconf = self.workdir / "tinyproxy.conf"
            tconf.write_text(tinyproxy_config(self.proxy_port, self.workdir), encoding="utf-8")
            self._tinyproxy = subprocess.Popen(["tinyproxy", "-d", "-c", str(tconf)], stdin=subprocess.DEVNULL,
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

            if self.listed_proxy:
                address, port = LISTED_PROXY
                lconf = self.workdir / "listed-proxy.conf"
                lconf.write_text(tinyproxy_config(port, self.workdir, address, "listed-proxy"), encoding="utf-8")
                self._listed = subprocess.Popen(["tinyproxy", "-d", "-c", str(lconf)], stdin=subprocess.DEVNULL,
                                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

            self._dead = DeadPort()
            self.dead_port = self._dead.port
            self.closed_port = free_port()
            if self.silent_echo:
                self._silent_echo = DeadPort(ADDRESSES["ipecho"], self.port)

            for address in ADDRESSES.values():
                wait_listening(address, self.port)
            wait_listening(DIRECT_ADDRESS, self.proxy_port)
            if self._listed is not None:
                wait_listening(*LISTED_PROXY)
            for name, proc in (("nginx", self._nginx), ("tinyproxy", self._tinyproxy), ("listed proxy", self._listed)):
                if proc is not None and proc.poll() is not None:
                    raise RuntimeError(f"{name} ended at start (see {self.workdir})")
        except BaseException:
            self.stop()
            raise
        return self

    def stop(self):
        for proc in (self._listed, self._tinyproxy, self._nginx):
            if proc is not None and proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        self._listed = self._tinyproxy = self._nginx = None
        for dead in (self._dead, self._silent_echo):
            if dead is not None:
                dead.close()
        self._dead = self._silent_echo = None

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
        return False


def main():
    parser = argparse.ArgumentParser(description="Runs the local internet until killed.")
    parser.add_argument("--port", type=int, required=True, help="port of every site")
    parser.add_argument("--dir", required=True, help="folder for configuration, logs and pids")
    parser.add_argument("--listed-proxy", action="store_true",
                        help="also answer as the working proxy the sample pages list (%s:%d)" % LISTED_PROXY)
    args = parser.parse_args()

    stopping = threading.Event()
    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(sig, lambda *_: stopping.set())
    with LocalNet(args.port, args.dir, listed_proxy=args.listed_proxy) as net:
        print(json.dumps({"port": net.port, "proxy_port": net.proxy_port, "dead_port": net.dead_port,
                          "closed_port": net.closed_port, "pid": os.getpid()}), flush=True)
        while not stopping.is_set():
            stopping.wait(0.5)
    return 0


if __name__ == "__main__":
    sys.exit(main())
