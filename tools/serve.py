#!/usr/bin/env python3
"""Serves the web page as a web server would: compressed, with the right types and caching.

    tools/serve.py PAGE_DIR [PORT]     (tools/setup.sh serve runs it on build-web/page)

A file the browser may take compressed is sent as its brotli or gzip copy beside it (FILE.br,
FILE.gz, written by the build), or else gzip-compressed here. The program goes out as
application/wasm; every answer says to check back before using a kept copy (the service worker
keeps the page for offline play). Only 127.0.0.1 is listened on.
"""
import gzip
import http.server
import os
import sys

COMPRESSED = {".html", ".js", ".wasm", ".json", ".webmanifest", ".vkl", ".vkf"}
TYPES = {".wasm": "application/wasm", ".js": "text/javascript", ".webmanifest": "application/manifest+json",
         ".vkl": "application/octet-stream", ".vkf": "application/octet-stream", ".html": "text/html; charset=utf-8"}


class PageHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, "index.html")
        extension = os.path.splitext(path)[1]
        accepted = [e.strip().split(";")[0] for e in self.headers.get("Accept-Encoding", "").split(",")]
        if extension not in COMPRESSED or not os.path.isfile(path):
            return super().send_head()
        for coding, suffix in (("br", ".br"), ("gzip", ".gz")):
            if coding in accepted and os.path.isfile(path + suffix):
                source = path + suffix
                with open(source, "rb") as f:
                    body = f.read()
                break
        else:
            if "gzip" not in accepted:
                return super().send_head()
            coding = "gzip"
            source = path
            with open(path, "rb") as f:
                body = gzip.compress(f.read())
        # The copy's time and size tell it apart, so that the browser asks again and is told it is
        # unchanged (304) rather than sent it anew (the service worker's install asks so).
        copy = os.stat(source)
        etag = '"%x-%x-%s"' % (copy.st_mtime_ns, copy.st_size, coding)
        if self.headers.get("If-None-Match") == etag:
            self.send_response(304)
            self.send_header("ETag", etag)
            self.end_headers()
            return None
        self.send_response(200)
        self.send_header("ETag", etag)
        self.send_header("Content-Type", TYPES.get(extension, self.guess_type(path)))
        self.send_header("Content-Encoding", coding)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Vary", "Accept-Encoding")
        self.end_headers()
        return _Body(body)

    def end_headers(self):
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, *args):
        pass


class _Body:
    """A body already in memory, read once by the handler's copy."""

    def __init__(self, data):
        self.data = data

    def read(self, *args):
        data, self.data = self.data, b""
        return data

    def close(self):
        pass


def main():
    if len(sys.argv) == 2 and sys.argv[1] == "--help":
        print(__doc__.strip())
        return 0
    if len(sys.argv) not in (2, 3) or (len(sys.argv) == 3 and not sys.argv[2].isdigit()):
        print("usage: tools/serve.py PAGE_DIR [PORT]", file=sys.stderr)
        return 2
    folder, port = sys.argv[1], int(sys.argv[2]) if len(sys.argv) == 3 else 8000
    if not os.path.isfile(os.path.join(folder, "index.html")):
        print(f"serve.py: {folder}: no index.html (build it with tools/setup.sh web)", file=sys.stderr)
        return 1
    handler = lambda *a, **k: PageHandler(*a, directory=folder, **k)
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        print(f"Vorkalith on http://127.0.0.1:{server.server_address[1]}/", flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
