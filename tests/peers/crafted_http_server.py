#!/usr/bin/env python3
"""A crafted HTTP/1.1 server for the HTTP client's tests: plain or TLS, the answer chosen by the first
path segment, each raw request recorded as <folder>/<n>.raw (n from 1, in arrival order).

Scenarios:
  /ok            200, "Content-Length: 5", "hello"
  /bytes         the same response written one byte at a time
  /two           two whole responses in one write
  /close-body    200 without length; the body ends when the server closes
  /short-length  "Content-Length: 10", 5 bytes, close
  /short-chunked one chunk, then close before the last chunk
  /short-gzip    a gzip body cut in the middle, ended by the close
  /reset         the header and part of the body, then a reset
  /silent        reads the request and never answers
  /header-only   the header of a 100-byte body and 10 bytes, then silence
  /gzip          a whole gzip body, by length
A file <folder>/answers/<segment> replaces the scenario of that first segment with its bytes.
"""

import argparse
import gzip
import os
import socket
import ssl
import struct
import threading

HELLO = b"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello"


def read_request(conn):
    data = b""
    while b"\r\n\r\n" not in data:
        piece = conn.recv(65536)
        if not piece:
            return data
        data += piece
    head, _, body = data.partition(b"\r\n\r\n")
    length = 0
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            length = int(value.strip())
    while len(body) < length:
        piece = conn.recv(65536)
        if not piece:
            break
        body += piece
    return head + b"\r\n\r\n" + body


def hold(conn):
    # Keeps the connection until the client closes it.
    try:
        while conn.recv(65536):
            pass
    except OSError:
        pass


def reset(conn):
    conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))


def answer(conn, scenario, folder):
    given = os.path.join(folder, "answers", scenario)
    if scenario and os.path.isfile(given):
        with open(given, "rb") as file:
            conn.sendall(file.read())
    elif scenario == "bytes":
        for byte in HELLO:
            conn.sendall(bytes([byte]))
    elif scenario == "two":
        conn.sendall(HELLO + HELLO)
    elif scenario == "close-body":
        conn.sendall(b"HTTP/1.1 200 OK\r\n\r\nuntil the close")
        return
    elif scenario == "short-length":
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nhello")
        return
    elif scenario == "short-chunked":
        conn.sendall(b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n")
        return
    elif scenario == "short-gzip":
        packed = gzip.compress(b"compressed " * 1000)
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\n\r\n" + packed[: len(packed) // 2])
        return
    elif scenario == "gzip":
        packed = gzip.compress(b"compressed " * 1000)
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: %d\r\n\r\n" % len(packed) + packed)
    elif scenario == "reset":
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nhel")
        reset(conn)
        return
    elif scenario == "header-only":
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789")
    elif scenario != "silent":
        conn.sendall(HELLO)
    hold(conn)


class Server:
    def __init__(self, arguments):
        self.folder = arguments.folder
        self.count = 0
        self.lock = threading.Lock()
        self.context = None
        if arguments.certificate:
            self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            self.context.load_cert_chain(arguments.certificate, arguments.key)
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind((arguments.address, arguments.port))
        self.listener.listen(64)

    def record(self, raw):
        with self.lock:
            self.count += 1
            number = self.count
        path = os.path.join(self.folder, "%d.raw" % number)
        with open(path + ".part", "wb") as file:
            file.write(raw)
        os.rename(path + ".part", path)

    def serve(self, conn):
        try:
            if self.context is not None:
                conn = self.context.wrap_socket(conn, server_side=True)
            conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            raw = read_request(conn)
            if not raw:
                return
            self.record(raw)
            target = raw.split(b" ", 2)[1].decode("latin-1") if b" " in raw else "/"
            answer(conn, target.lstrip("/").split("/")[0].split("?")[0], self.folder)
        except OSError:
            pass
        finally:
            conn.close()

    def run(self):
        while True:
            conn, _ = self.listener.accept()
            threading.Thread(target=self.serve, args=(conn,), daemon=True).start()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", required=True)
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--folder", required=True)
    parser.add_argument("--certificate")
    parser.add_argument("--key")
    Server(parser.parse_args()).run()


if __name__ == "__main__":
    main()
