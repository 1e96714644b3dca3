#!/usr/bin/env python3
"""The download tests' HTTP server on 127.0.0.1: it answers each path the way one test
needs and records every request it saw (request line and headers, as received) and every
answer the client cut off. It prints its port on the first line of its output and ends on
its own after --lifetime seconds.

Paths (query parameters in brackets):
  /body [n, cl=1]            200 with n pattern bytes; cl=0 sends no Content-Length
  /status [code]             that status with a short body
  /redirect [to, code=302, name=Location]   a redirect whose header line is "name: to"
  /auth [n]                  401 (Basic) unless the request carries credentials, then /body
  /drop [n, cl]              announces cl bytes, sends n, closes
  /trickle [chunks, size, delay]   chunks of size bytes, delay seconds apart
  /hang                      never answers until /__reset
  /cgi-bin/start_download.pl what /__serve or /__arm set up
Control: /__seen (the record), /__reset, POST /__serve (the download's body),
/__arm?mode=hang|status&code=N.
"""
import argparse
import http.server
import sys
import threading
import urllib.parse


def pattern(n):
    """n bytes that the tests can compute too: byte i is i % 251."""
    block = bytes(range(251))
    return (block * (n // 251 + 1))[:n]


class State:
    lock = threading.Lock()
    record = []
    download = ("status", 404, b"")
    release = threading.Event()

    @classmethod
    def note(cls, text):
        with cls.lock:
            cls.record.append(text)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def answer(self, code, body, headers=(), length=True):
        self.send_response_only(code)
        for name, value in headers:
            self.send_header(name, value)
        if length:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_POST(self):
        if self.path == "/__serve":
            size = int(self.headers.get("Content-Length", "0"))
            State.download = ("body", 200, self.rfile.read(size))
        self.answer(200, b"ok")

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = {k: v[-1] for k, v in urllib.parse.parse_qs(url.query).items()}
        if url.path.startswith("/__"):
            return self.control(url.path, query)
        raw = self.requestline + "\r\n" + "".join(f"{k}: {v}\r\n" for k, v in self.headers.items())
        State.note(raw + "\r\n")
        handler = getattr(self, "serve_" + url.path.strip("/").replace("/", "_").replace(".", "_").replace("-", "_"), None)
        if handler is None:
            return self.answer(404, b"no such test path")
        try:
            handler(query)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def control(self, path, query):
        if path == "/__seen":
            with State.lock:
                text = "".join(State.record)
            return self.answer(200, text.encode("latin-1"))
        if path == "/__reset":
            with State.lock:
                State.record = []
            State.download = ("status", 404, b"")
            State.release.set()
            State.release = threading.Event()
        if path == "/__arm":
            State.download = (query.get("mode", "status"), int(query.get("code", "404")), b"")
        self.answer(200, b"ok")

    def serve_body(self, q):
        self.answer(200, pattern(int(q.get("n", "0"))), length=q.get("cl", "1") == "1")

    def serve_status(self, q):
        self.answer(int(q.get("code", "404")), b"<html>an error page</html>")

    def serve_redirect(self, q):
        self.answer(int(q.get("code", "302")), b"moved", [(q.get("name", "Location"), q.get("to", ""))])

    def serve_auth(self, q):
        if "Authorization" in self.headers:
            return self.serve_body(q)
        self.answer(401, b"who are you", [("WWW-Authenticate", 'Basic realm="kavrel"')])

    def serve_drop(self, q):
        body = pattern(int(q.get("n", "0")))
        self.answer(200, body, [("Content-Length", q.get("cl", "0"))], length=False)
        self.wfile.flush()
        self.close_connection = True

    def serve_trickle(self, q):
        chunks, size, delay = int(q.get("chunks", "100")), int(q.get("size", "1023")), float(q.get("delay", "0.05"))
        self.send_response_only(200)
        self.send_header("Content-Length", str(chunks * size))
        self.end_headers()
        sent = 0
        try:
            for _ in range(chunks):
                self.wfile.write(pattern(size))
                self.wfile.flush()
                sent += size
                threading.Event().wait(delay)
        except (BrokenPipeError, ConnectionResetError):
            State.note(f"closed {self.path} after {sent} bytes\r\n\r\n")

    def serve_hang(self, q):
        State.release.wait(120)

    def serve_cgi_bin_start_download_pl(self, q):
        mode, code, body = State.download
        if mode == "hang":
            return self.serve_hang(q)
        self.answer(code, body if mode == "body" else b"<html>no dictionary</html>")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--lifetime", type=float, default=900)
    args = parser.parse_args()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    threading.Timer(args.lifetime, server.shutdown).start()
    server.serve_forever()
    server.server_close()


if __name__ == "__main__":
    sys.exit(main())
