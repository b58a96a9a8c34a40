#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Serves a folder, the browser's site, on 127.0.0.1 as common static hosts serve it: the types
that browsers want (.wasm as application/wasm above all), text-like files compressed with gzip
when the browser accepts it, a Cache-Control header of the caller's choice, and validators
(Last-Modified and a weak ETag) that conditional requests are answered against with 304.

    site_server.py FOLDER [--port 8000] [--cache-control "max-age=600"] [--no-gzip]

As a module, for scripts/run --web, the benchmarks and the tests' harness: SiteHandler is the
request handler, which a caller may subclass (to log what it sends, or to break it on purpose),
and serve() starts a threaded server for a folder and returns it. Standard library only.
"""

import argparse
import collections
import datetime
import email.utils
import functools
import gzip
import http.server
import io
import os
import sys
import threading
import urllib.parse
from http import HTTPStatus

HOST = "127.0.0.1"


def accepts_gzip(accept_encoding):
    """Whether an Accept-Encoding header allows a gzip response: gzip named, or *, with a weight
    above 0 (gzip;q=0 refuses it, whatever * says)."""
    weights = {}
    for item in (accept_encoding or "").split(","):
        name, *parameters = [part.strip() for part in item.split(";")]
        weight = 1.0
        for parameter in parameters:
            key, _, value = parameter.partition("=")
            if key.strip().lower() == "q":
                try:
                    weight = float(value)
                except ValueError:
                    weight = 0.0
        if name:
            weights[name.lower()] = weight
    if "gzip" in weights:
        return weights["gzip"] > 0
    if "x-gzip" in weights:
        return weights["x-gzip"] > 0
    return weights.get("*", 0) > 0


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    """A static host's answers for the files of its folder (give it with directory=, as
    SimpleHTTPRequestHandler takes it). The class attributes are the host's settings."""

    # Sent with every file and every 304; None sends none.
    cache_control = "max-age=600"
    # Whether text-like files go out compressed with gzip to a browser that accepts it.
    compress = True
    compress_level = 6
    # A larger file goes out as it is: it would be compressed in memory, and a text file that
    # large is no file of the site (a test may serve a huge animal file, of which the page reads
    # the beginning only).
    compress_limit = 16 * 1024 * 1024
    # Whether each request is logged to stderr, as http.server does.
    log_requests = True

    # Keep-alive, as hosts answer browsers; every answer has its length.
    protocol_version = "HTTP/1.1"
    # An idle kept-alive connection is closed after this many seconds.
    timeout = 60

    # The types named here, not those of the machine's /etc/mime.types.
    extensions_map = {
        "": "application/octet-stream",
        ".html": "text/html",
        ".htm": "text/html",
        ".js": "text/javascript",
        ".mjs": "text/javascript",
        ".css": "text/css",
        ".json": "application/json",
        ".map": "application/json",
        ".webmanifest": "application/manifest+json",
        ".wasm": "application/wasm",
        ".svg": "image/svg+xml",
        ".txt": "text/plain",
        ".xml": "application/xml",
        ".png": "image/png",
        ".ico": "image/x-icon",
        ".webp": "image/webp",
        ".woff2": "font/woff2",
    }
    # What is worth compressing: text, and the program's WebAssembly.
    compressible = {"text/html", "text/javascript", "text/css", "text/plain", "application/json",
                    "application/manifest+json", "application/wasm", "image/svg+xml", "application/xml"}

    # Compressed files, by path, size and time of change, so that a file that has not changed is
    # compressed once, as hosts keep theirs; a few only.
    _packed = collections.OrderedDict()
    _packed_lock = threading.Lock()
    _packed_entries = 32

    def send_head(self):
        """The status and headers of a GET or HEAD; the body to send after them, or None."""
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            parts = urllib.parse.urlsplit(self.path)
            if not parts.path.endswith("/"):
                # A folder's address without its slash: the address with it, as hosts answer.
                self.send_response(HTTPStatus.MOVED_PERMANENTLY)
                self.send_header("Location", urllib.parse.urlunsplit(parts._replace(path=parts.path + "/")))
                self.send_header("Content-Length", "0")
                self.end_headers()
                return None
            # A folder is its index.html; hosts list no folders.
            path = os.path.join(path, "index.html")
        if path.endswith("/") or not os.path.isfile(path):
            self.send_error(HTTPStatus.NOT_FOUND, "File not found")
            return None
        try:
            f = open(path, "rb")
        except OSError:
            self.send_error(HTTPStatus.NOT_FOUND, "File not found")
            return None
        try:
            return self._send_file(path, f)
        except BaseException:
            f.close()
            raise

    def _send_file(self, path, f):
        status = os.fstat(f.fileno())
        content_type = self.guess_type(path)
        compressible = self.compress and content_type in self.compressible
        tag = f'W/"{status.st_size:x}-{status.st_mtime_ns:x}"'
        if self._not_modified(tag, status.st_mtime):
            self.send_response(HTTPStatus.NOT_MODIFIED)
            self._file_headers(tag, status.st_mtime, compressible)
            self.end_headers()
            f.close()
            return None
        # A request for a range gets the whole file as it is: only an uncompressed file has the
        # ranges that were asked for, and a 200 with all of it is a correct answer to any.
        packed = (compressible and status.st_size <= self.compress_limit and "Range" not in self.headers
                  and accepts_gzip(self.headers.get("Accept-Encoding")))
        if packed:
            body = self._gzip(path, status, f)
            f.close()
        self.send_response(HTTPStatus.OK)
        self.send_header("Content-Type", content_type)
        if packed:
            self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body) if packed else status.st_size))
        self._file_headers(tag, status.st_mtime, compressible)
        self.end_headers()
        return io.BytesIO(body) if packed else f

    def _file_headers(self, tag, mtime, compressible):
        """The headers of a file's answer that a 304 repeats."""
        self.send_header("Last-Modified", self.date_time_string(mtime))
        self.send_header("ETag", tag)
        if self.cache_control:
            self.send_header("Cache-Control", self.cache_control)
        if compressible:
            # Caches between keep the compressed and the plain answer apart.
            self.send_header("Vary", "Accept-Encoding")

    def _not_modified(self, tag, mtime):
        """Whether the request's validators match the file: If-None-Match where the request has
        it (compared weakly, the compressed and the plain answer alike), or else
        If-Modified-Since, read as SimpleHTTPRequestHandler reads it."""
        if self.command not in ("GET", "HEAD"):
            return False
        if "If-None-Match" in self.headers:
            tags = [t.strip() for t in self.headers["If-None-Match"].split(",")]
            return "*" in tags or any(t.removeprefix("W/") == tag.removeprefix("W/") for t in tags)
        if "If-Modified-Since" not in self.headers:
            return False
        try:
            since = email.utils.parsedate_to_datetime(self.headers["If-Modified-Since"])
        except (TypeError, IndexError, OverflowError, ValueError):
            return False  # an ill-formed date is ignored
        if since.tzinfo is None:
            since = since.replace(tzinfo=datetime.timezone.utc)  # the obsolete format without a zone
        if since.tzinfo is not datetime.timezone.utc:
            return False
        modified = datetime.datetime.fromtimestamp(mtime, datetime.timezone.utc).replace(microsecond=0)
        return modified <= since

    def _gzip(self, path, status, f):
        # A fixed time in the gzip header (0, none), so that a file always compresses to the
        # same bytes.
        key = (path, status.st_size, status.st_mtime_ns, self.compress_level)
        cls = type(self)
        with cls._packed_lock:
            if key in cls._packed:
                cls._packed.move_to_end(key)
                return cls._packed[key]
        body = gzip.compress(f.read(), compresslevel=self.compress_level, mtime=0)
        with cls._packed_lock:
            cls._packed[key] = body
            while len(cls._packed) > cls._packed_entries:
                cls._packed.popitem(last=False)
        return body

    def log_message(self, format, *args):
        if self.log_requests:
            super().log_message(format, *args)


def serve(folder, port=0, handler=SiteHandler, **settings):
    """Serves the folder on 127.0.0.1 at the port (0: one of the system's choice) from a thread of
    this process, with the handler class; settings (cache_control, compress, log_requests, ...)
    replace the handler's class attributes. Returns the running server, whose url is its
    address; server.shutdown() and server.server_close() end it."""
    if settings:
        handler = type(handler.__name__, (handler,), settings)
    server = http.server.ThreadingHTTPServer((HOST, port), functools.partial(handler, directory=os.fspath(folder)))
    server.url = f"http://{HOST}:{server.server_address[1]}/"
    threading.Thread(target=server.serve_forever, name=f"site server {server.url}", daemon=True).start()
    return server


def main():
    parser = argparse.ArgumentParser(description="Serves a folder on 127.0.0.1 as static hosts do.")
    parser.add_argument("folder")
    parser.add_argument("--port", type=int, default=8000, help="0 lets the system choose (default 8000)")
    parser.add_argument("--cache-control", default=SiteHandler.cache_control,
                        help='the Cache-Control header of every file; "" sends none (default "%(default)s")')
    parser.add_argument("--no-gzip", action="store_true", help="send every file as it is")
    args = parser.parse_args()
    if not os.path.isdir(args.folder):
        parser.error(f"no such folder: {args.folder}")
    handler = type("SiteHandler", (SiteHandler,), {"cache_control": args.cache_control or None,
                                                    "compress": not args.no_gzip})
    try:
        server = http.server.ThreadingHTTPServer((HOST, args.port),
                                                 functools.partial(handler, directory=os.path.abspath(args.folder)))
    except OSError as error:
        sys.exit(f"cannot serve on {HOST}:{args.port}: {error.strerror}")
    print(f"Serving {args.folder} at http://{HOST}:{server.server_address[1]}/ (Ctrl+C stops it)", flush=True)
    with server:
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == "__main__":
    main()
