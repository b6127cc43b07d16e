#!/usr/bin/env python3
"""A loopback stand-in for the update service, for the update-check tests.

The first path segment chooses the answer: /up, /out, /prog, /garbage,
/echo (the request path and query as the body) and /hang (accepts the
request and never answers). Listens on 127.0.0.1 on a free port and writes
that port to the file named by the first argument.
"""
import http.server
import sys
import time

REPLIES = {
    "up": (200, b"uptodate"),
    "out": (200, b"outdated;https://example.org/download"),
    "prog": (200, b"outdated;C:\\Windows\\System32\\calc.exe"),
    "garbage": (404, b"<html><body>Not Found</body></html>"),
}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def do_GET(self):
        first = self.path.split("/")[1] if self.path.startswith("/") else ""
        if first == "hang":
            time.sleep(300)
            return
        if first == "echo":
            status, body = 200, self.path.encode()
        else:
            status, body = REPLIES.get(first, (404, b""))
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    with open(sys.argv[1] + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    import os
    os.replace(sys.argv[1] + ".tmp", sys.argv[1])
    server.serve_forever()


if __name__ == "__main__":
    main()
