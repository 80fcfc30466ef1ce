"""Loopback HTTP server for the web-access tests.

It records every request it receives (the raw bytes, body included) under the
tag given in the query ("t=TAG"), and answers according to the path:

  /hang/S          waits S seconds, then answers "late answer"
  /stall/S         sends the headers and a few bytes of a longer body, waits S seconds
  /cut             sends the headers and a few bytes of a longer body, then resets
  /reset           reads the request and resets the connection
  /redirect?to=P   302 to P
  /bigheaders      a header block of more than 1024 characters, with a cookie
  .../cookie       three Set-Cookie lines, body "cookies"
  /notfound        404 with a body
  /auth            401 asking for Basic credentials, 200 "authorized ..." with them
  /size/N          a body of N bytes; /size/N/nolength without Content-Length
  /hostile/KIND/.. a misbehaving server (the rest of the path is ignored):
                     hugeheaders   a header block of about 1 MB in 16384 short lines
                     longheaders   a header block of about 1 MB in 128 long lines
                     badchunksize  chunked, with a chunk size that is no number
                     chunkcut      chunked, a chunk shorter than it says, then closed
                     redirectloop  302 to itself, without end
                     shortbody     Content-Length 100000, ten bytes, then closed
                     nul           a body with a zero byte inside
                     notutf8       a GBK body that is no valid UTF-8
                     endless       a body without length that never ends
  anything else    200, body "hello " + the request target

Control paths (not recorded):
  /_log/TAG        the raw requests tagged TAG, each followed by "\\n<<<END>>>\\n"

A TLS client hello instead of a request is recorded under the tag "tls" and
the connection closed.

A second socket listens but never accepts: a port that never answers.
Both ports go into --port-file as "WEB SILENT" once the server is ready.
"""
import argparse
import os
import socket
import socketserver
import struct
import sys
import threading
import time
import urllib.parse

END_OF_RECORD = b"\n<<<END>>>\n"

# Bodies of the misbehaving answers, as the tests expect them back.
HOSTILE_AFTER_HEADERS = b"after huge headers"
HOSTILE_SHORT_BODY = b"0123456789"
HOSTILE_NUL_BODY = b"before\0after"
HOSTILE_GBK_BODY = "<p>\u60a8\u7684IP\u5730\u5740:1.2.3.4<p>".encode("gbk")

records = {}
records_lock = threading.Lock()


def tag_of(target: str) -> str:
    query = urllib.parse.urlsplit(target).query
    values = urllib.parse.parse_qs(query).get("t")
    return values[0] if values else ""


def response(status: str, body: bytes, headers=(), length=True) -> bytes:
    lines = [f"HTTP/1.1 {status}", "Connection: close", "Content-Type: text/html"]
    lines += list(headers)
    if length:
        lines.append(f"Content-Length: {len(body)}")
    return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1") + body


class Handler(socketserver.BaseRequestHandler):
    def read_request(self):
        data = b""
        while b"\r\n\r\n" not in data:
            chunk = self.request.recv(65536)
            if not chunk:
                return None
            data += chunk
        head, _, body = data.partition(b"\r\n\r\n")
        length = 0
        for line in head.split(b"\r\n")[1:]:
            name, _, value = line.partition(b":")
            if name.strip().lower() == b"content-length":
                length = int(value.strip() or 0)
        while len(body) < length:
            chunk = self.request.recv(65536)
            if not chunk:
                break
            body += chunk
        return head + b"\r\n\r\n" + body

    def handle(self):
        first = self.request.recv(1, socket.MSG_PEEK)
        if first == b"\x16":  # TLS handshake record
            with records_lock:
                records.setdefault("tls", []).append(self.request.recv(65536))
            return
        raw = self.read_request()
        if raw is None:
            return
        request_line = raw.split(b"\r\n", 1)[0].decode("latin-1")
        parts = request_line.split(" ")
        target = parts[1] if len(parts) > 1 else "/"
        # A request through a proxy names the whole address.
        if target.startswith("http://"):
            target = "/" + target.split("/", 3)[3] if target.count("/") >= 3 else "/"
        path = urllib.parse.urlsplit(target).path

        if path.startswith("/_log/"):
            tag = urllib.parse.unquote(path[len("/_log/"):])
            with records_lock:
                body = b"".join(r + END_OF_RECORD for r in records.get(tag, []))
            self.request.sendall(response("200 OK", body))
            return

        with records_lock:
            records.setdefault(tag_of(target), []).append(raw)

        if path.startswith("/hang/"):
            time.sleep(float(path.split("/")[2]))
            self.send(response("200 OK", b"late answer"))
        elif path.startswith("/stall/"):
            self.send(response("200 OK", b"x" * 10, ["Content-Length: 100000"], length=False))
            time.sleep(float(path.split("/")[2]))
        elif path == "/cut":
            self.send(response("200 OK", b"x" * 10, ["Content-Length: 100000"], length=False))
            time.sleep(0.2)
            self.reset()
        elif path == "/reset":
            self.reset()
        elif path == "/redirect":
            to = urllib.parse.parse_qs(urllib.parse.urlsplit(target).query).get("to", ["/"])[0]
            self.send(response("302 Found", b"moved", [f"Location: {to}"]))
        elif path == "/bigheaders":
            self.send(response("200 OK", b"big headers body", ["X-Padding: " + "p" * 1200, "Set-Cookie: big=1"]))
        elif path.endswith("/cookie"):
            cookies = ["Set-Cookie: h2plain=v1", "Set-Cookie: h2path=v2; path=/", "set-cookie: h2case=v3"]
            self.send(response("200 OK", b"cookies", cookies))
        elif path == "/auth":
            authorization = [l for l in raw.split(b"\r\n\r\n")[0].split(b"\r\n") if l.lower().startswith(b"authorization:")]
            if authorization:
                self.send(response("200 OK", b"authorized " + authorization[0].split(b":", 1)[1].strip()))
            else:
                self.send(response("401 Unauthorized", b"denied", ['WWW-Authenticate: Basic realm="test"']))
        elif path == "/notfound":
            self.send(response("404 Not Found", b"no such page"))
        elif path.startswith("/hostile/"):
            self.hostile(path.split("/")[2], target)
        elif path.startswith("/size/"):
            pieces = path.split("/")
            size = int(pieces[2])
            with_length = not (len(pieces) > 3 and pieces[3] == "nolength")
            self.send_large(size, with_length)
        else:
            self.send(response("200 OK", b"hello " + target.encode("latin-1")))

    def hostile(self, kind: str, target: str):
        if kind == "hugeheaders":
            padding = [f"X-Padding-{i:05d}: " + "p" * 48 for i in range(16384)]
            self.send(response("200 OK", HOSTILE_AFTER_HEADERS, padding))
        elif kind == "longheaders":
            padding = [f"X-Padding-{i:03d}: " + "p" * 8192 for i in range(128)]
            self.send(response("200 OK", HOSTILE_AFTER_HEADERS, padding))
        elif kind == "badchunksize":
            self.send(response("200 OK", b"zz\r\nhello\r\n0\r\n\r\n", ["Transfer-Encoding: chunked"], length=False))
        elif kind == "chunkcut":
            self.send(response("200 OK", b"1000\r\nhello", ["Transfer-Encoding: chunked"], length=False))
        elif kind == "redirectloop":
            self.send(response("302 Found", b"again", [f"Location: {target}"]))
        elif kind == "shortbody":
            self.send(response("200 OK", HOSTILE_SHORT_BODY, ["Content-Length: 100000"], length=False))
        elif kind == "nul":
            self.send(response("200 OK", HOSTILE_NUL_BODY))
        elif kind == "notutf8":
            self.send(response("200 OK", HOSTILE_GBK_BODY, ["Content-Type: text/html; charset=gbk"]))
        elif kind == "endless":
            self.send(("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n").encode("latin-1"))
            block = b"endless " * 8192
            deadline = time.monotonic() + 300  # bounded all the same
            try:
                while time.monotonic() < deadline:
                    self.request.sendall(block)
            except OSError:
                pass
        else:
            self.send(response("404 Not Found", b"no such hostile kind"))

    def reset(self):
        # Linger on with a zero time: close sends RST instead of FIN.
        self.request.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        self.request.close()

    def send(self, data: bytes):
        try:
            self.request.sendall(data)
        except OSError:
            pass

    def send_large(self, size: int, with_length: bool):
        head = ["HTTP/1.1 200 OK", "Connection: close"]
        if with_length:
            head.append(f"Content-Length: {size}")
        self.send(("\r\n".join(head) + "\r\n\r\n").encode("latin-1"))
        block = b"0123456789abcdef" * 4096
        sent = 0
        try:
            while sent < size:
                piece = block[: min(len(block), size - sent)]
                self.request.sendall(piece)
                sent += len(piece)
        except OSError:
            pass


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--port-file", required=True)
    args = parser.parse_args()

    server = Server(("127.0.0.1", 0), Handler)
    silent = socket.socket()
    silent.bind(("127.0.0.1", 0))
    silent.listen(64)

    temporary = args.port_file + ".tmp"
    with open(temporary, "w") as f:
        f.write(f"{server.server_address[1]} {silent.getsockname()[1]}\n")
    os.replace(temporary, args.port_file)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
