"""Prints a TCP port that is free on every loopback address the local sites use."""
import socket
import sys

ADDRESSES = ["127.0.0.1"] + [f"127.0.0.{n}" for n in range(11, 19)]


def is_free(port: int) -> bool:
    for address in ADDRESSES:
        with socket.socket() as s:
            try:
                s.bind((address, port))
            except OSError:
                return False
    return True


def main() -> int:
    for _ in range(200):
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            port = s.getsockname()[1]
        if is_free(port):
            print(port)
            return 0
    print("no free port", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
