# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""scripts/site_server.py, as a browser meets it: the types, gzip where it is accepted (and only
there), the lengths, the cache headers, and conditional requests answered with 304. Serves a
folder of its own on 127.0.0.1; needs no browser and no built site.

    test_site_server.py [Case ...]
"""

import email.utils
import gzip
import http.client
import os
import shutil
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import site_server  # noqa: E402

FILES = {
    "index.html": b"<!DOCTYPE html><title>t</title>" + b"<p>animals</p>" * 200,
    "program.0123abcd.js": b"console.log('a click');\n" * 300,
    "program.0123abcd.wasm": b"\0asm\1\0\0\0" + bytes(range(256)) * 40,
    "site.webmanifest": b'{"name": "t", "icons": []}',
    "icon.svg": b"<svg xmlns='http://www.w3.org/2000/svg'>" + b"<rect/>" * 100 + b"</svg>",
    "icon.png": b"\x89PNG\r\n\x1a\n" + b"\x07" * 500,
    "tips.txt": "Ærfugl\nLundefugl\n".encode() * 50,
    "sub/index.html": b"<p>under</p>",
}


class SiteServer(unittest.TestCase):
    cache_control = "max-age=600"

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="bargeling-site-server-")
        self.addCleanup(shutil.rmtree, self.folder)
        for name, data in FILES.items():
            os.makedirs(os.path.dirname(os.path.join(self.folder, name)), exist_ok=True)
            with open(os.path.join(self.folder, name), "wb") as f:
                f.write(data)
        self.server = site_server.serve(self.folder, cache_control=self.cache_control, log_requests=False)
        self.addCleanup(self.server.server_close)
        self.addCleanup(self.server.shutdown)

    def get(self, path, method="GET", **headers):
        connection = http.client.HTTPConnection(*self.server.server_address, timeout=30)
        self.addCleanup(connection.close)
        connection.request(method, path, headers=headers)
        answer = connection.getresponse()
        return answer, answer.read()

    def test_only_this_machine(self):
        self.assertEqual(self.server.server_address[0], "127.0.0.1")
        self.assertTrue(self.server.url.startswith("http://127.0.0.1:"))

    def test_types(self):
        for name, kind in [("index.html", "text/html"), ("program.0123abcd.js", "text/javascript"),
                           ("program.0123abcd.wasm", "application/wasm"),
                           ("site.webmanifest", "application/manifest+json"), ("icon.svg", "image/svg+xml"),
                           ("icon.png", "image/png"), ("tips.txt", "text/plain")]:
            answer, _ = self.get("/" + name)
            self.assertEqual(answer.status, 200, name)
            self.assertEqual(answer.getheader("Content-Type"), kind, name)

    def test_gzip_where_accepted(self):
        for name in ["index.html", "program.0123abcd.js", "program.0123abcd.wasm", "site.webmanifest", "icon.svg",
                     "tips.txt"]:
            answer, body = self.get("/" + name, **{"Accept-Encoding": "gzip, deflate, br"})
            self.assertEqual(answer.getheader("Content-Encoding"), "gzip", name)
            self.assertEqual(answer.getheader("Vary"), "Accept-Encoding", name)
            self.assertEqual(int(answer.getheader("Content-Length")), len(body), name)
            self.assertEqual(gzip.decompress(body), FILES[name], name)
            self.assertEqual(body[4:8], b"\0\0\0\0", f"{name}: a time in the gzip header")
        first, second = (self.get("/index.html", **{"Accept-Encoding": "gzip"})[1] for _ in range(2))
        self.assertEqual(first, second)

    def test_as_it_is_where_gzip_is_not_accepted(self):
        for headers in [{}, {"Accept-Encoding": "identity"}, {"Accept-Encoding": "gzip;q=0, *"},
                        {"Accept-Encoding": "br"}]:
            answer, body = self.get("/program.0123abcd.js", **headers)
            self.assertIsNone(answer.getheader("Content-Encoding"), headers)
            self.assertEqual(answer.getheader("Vary"), "Accept-Encoding", headers)
            self.assertEqual(int(answer.getheader("Content-Length")), len(body))
            self.assertEqual(body, FILES["program.0123abcd.js"])
        answer, _ = self.get("/program.0123abcd.js", **{"Accept-Encoding": "*"})
        self.assertEqual(answer.getheader("Content-Encoding"), "gzip")

    def test_pictures_and_ranges_as_they_are(self):
        answer, body = self.get("/icon.png", **{"Accept-Encoding": "gzip"})
        self.assertIsNone(answer.getheader("Content-Encoding"))
        self.assertIsNone(answer.getheader("Vary"))
        self.assertEqual(body, FILES["icon.png"])
        answer, body = self.get("/program.0123abcd.wasm", **{"Accept-Encoding": "gzip", "Range": "bytes=0-9"})
        self.assertEqual(answer.status, 200)
        self.assertIsNone(answer.getheader("Content-Encoding"))
        self.assertEqual(body, FILES["program.0123abcd.wasm"])

    def test_head_has_the_length_of_get(self):
        for headers in [{}, {"Accept-Encoding": "gzip"}]:
            got, body = self.get("/program.0123abcd.wasm", **headers)
            head, nothing = self.get("/program.0123abcd.wasm", "HEAD", **headers)
            self.assertEqual(nothing, b"")
            self.assertEqual(head.getheader("Content-Length"), str(len(body)))
            self.assertEqual(head.getheader("Content-Encoding"), got.getheader("Content-Encoding"))

    def test_cache_headers(self):
        answer, _ = self.get("/index.html")
        self.assertEqual(answer.getheader("Cache-Control"), self.cache_control)
        self.assertTrue(answer.getheader("ETag").startswith('W/"'))
        self.assertIsNotNone(email.utils.parsedate_to_datetime(answer.getheader("Last-Modified")))

    def test_conditional_requests(self):
        answer, _ = self.get("/index.html", **{"Accept-Encoding": "gzip"})
        modified, tag = answer.getheader("Last-Modified"), answer.getheader("ETag")
        for headers in [{"If-Modified-Since": modified}, {"If-None-Match": tag}, {"If-None-Match": f'"x", {tag}'},
                        {"If-None-Match": tag.removeprefix("W/")}, {"If-None-Match": "*"}]:
            answer, body = self.get("/index.html", **{"Accept-Encoding": "gzip", **headers})
            self.assertEqual(answer.status, 304, headers)
            self.assertEqual(body, b"")
            self.assertEqual(answer.getheader("ETag"), tag)
            self.assertEqual(answer.getheader("Cache-Control"), self.cache_control)
            self.assertEqual(answer.getheader("Vary"), "Accept-Encoding")
        for headers in [{"If-Modified-Since": "Mon, 01 Jan 2001 00:00:00 GMT"}, {"If-Modified-Since": "yesterday"},
                        {"If-None-Match": '"other"', "If-Modified-Since": modified}]:
            answer, body = self.get("/index.html", **headers)
            self.assertEqual(answer.status, 200, headers)
            self.assertEqual(body, FILES["index.html"])
        # A changed file is sent again.
        path = os.path.join(self.folder, "index.html")
        os.utime(path, (os.stat(path).st_atime, os.stat(path).st_mtime + 3600))
        answer, _ = self.get("/index.html", **{"If-Modified-Since": modified})
        self.assertEqual(answer.status, 200)

    def test_missing_files_and_folders(self):
        answer, _ = self.get("/nothing.js")
        self.assertEqual(answer.status, 404)
        self.assertIsNone(answer.getheader("Cache-Control"))
        answer, _ = self.get("/sub")
        self.assertEqual(answer.status, 301)
        self.assertEqual(answer.getheader("Location"), "/sub/")
        answer, body = self.get("/sub/")
        self.assertEqual(body, FILES["sub/index.html"])
        answer, body = self.get("/")
        self.assertEqual(body, FILES["index.html"])

    def test_kept_alive(self):
        connection = http.client.HTTPConnection(*self.server.server_address, timeout=30)
        self.addCleanup(connection.close)
        for name in ["index.html", "program.0123abcd.js", "tips.txt"]:
            connection.request("GET", "/" + name, headers={"Accept-Encoding": "gzip"})
            answer = connection.getresponse()
            self.assertEqual(gzip.decompress(answer.read()), FILES[name])


class SiteServerSettings(SiteServer):
    """The same with no Cache-Control, and a subclass of the handler."""
    cache_control = None

    def test_subclass(self):
        asked = []

        class Logging(site_server.SiteHandler):
            def send_head(self):
                asked.append(self.path)
                return super().send_head()

        server = site_server.serve(self.folder, handler=Logging, compress=False, log_requests=False)
        self.addCleanup(server.server_close)
        self.addCleanup(server.shutdown)
        connection = http.client.HTTPConnection(*server.server_address, timeout=30)
        self.addCleanup(connection.close)
        connection.request("GET", "/tips.txt", headers={"Accept-Encoding": "gzip"})
        answer = connection.getresponse()
        self.assertEqual(answer.read(), FILES["tips.txt"])
        self.assertIsNone(answer.getheader("Content-Encoding"))
        self.assertEqual(answer.getheader("Cache-Control"), site_server.SiteHandler.cache_control)
        self.assertEqual(asked, ["/tips.txt"])


if __name__ == "__main__":
    unittest.main()
