# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The browser program in headless Chromium, served from a copy of its site on 127.0.0.1, as the
end-to-end tests serve it (tests/e2e/harness.py):

- size: every file the page loads, tips.txt aside, after gzip -9;
- start-up: the first contentful paint of the page, which is the form's first paint (the page
  shows nothing before it), against that of bench/web_static.html, a page of plain HTML with the
  same elements and texts; the two alternate in one browser, each load uncached;
- a click: the work it causes on the page's main thread, read from a DevTools trace: its
  events' script, style, layout and paint, from the click's mousedown to the end of the frame
  that shows it, not the wait for that frame; with 1,000 animals before it and with 32,766. The list is filled by script first (click events of detail 1, the message closed
  after each); only the real clicks after it are measured.

    web.py SITE [--runs 15] [--clicks 15] [--only size,startup,click]
"""

import argparse
import base64
import json
import os
import shutil
import socket
import statistics
import struct
import subprocess
import sys
import time
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "tests", "e2e"))
import harness  # noqa: E402

STATIC = os.path.join(os.path.dirname(os.path.abspath(__file__)), "web_static.html")
CAPACITY = 32767

# The main thread's work, as a DevTools trace names it.
WORK = {"EventDispatch", "FunctionCall", "TimerFire", "FireAnimationFrame", "RunMicrotasks", "UpdateLayoutTree",
        "Layout", "HitTest", "ScrollLayer", "PrePaint", "Paint", "Layerize", "UpdateLayer"}
TRACE = "devtools.timeline,disabled-by-default-devtools.timeline"

FIRST_PAINT = """window.firstPaint = null;
new PerformanceObserver(list => {
    for (const entry of list.getEntries())
        if (entry.name === "first-contentful-paint") window.firstPaint = entry.startTime;
}).observe({type: "paint", buffered: true});"""

# Clicks the add label n times as a script does (click events of detail 1), closing each message.
FILL = """const [n, done] = arguments;
const add = [...document.querySelectorAll("[role=button]")].find(e => e.textContent === "Sleng inn et dyr i Arken!");
let i = 0;
(function some() {
    for (const end = Math.min(n, i + 500); i < end; i++) {
        add.dispatchEvent(new MouseEvent("click", {bubbles: true, cancelable: true, detail: 1}));
        const message = document.querySelector("dialog[open]");
        if (message) message.close();
    }
    if (i < n) setTimeout(some); else done();
})();"""


def median(values):
    return statistics.median(values)


def size(folder):
    site = harness.Site(folder)
    try:
        page = harness.WebProgram(site)
        icon = page.js("const link = document.querySelector('link[rel~=icon]'); return link && link.getAttribute('href');")
        page.stop()
        loaded = {path.lstrip("/") or "index.html" for path in site.server.requested} | ({icon} if icon else set())
        loaded.discard("tips.txt")
        sizes = {}
        for name in sorted(loaded):
            with open(site.path(name), "rb") as f:
                sizes[name] = (len(f.read()), len(subprocess.run(["gzip", "-9", "-c", site.path(name)],
                                                                 capture_output=True, check=True).stdout))
    finally:
        site.stop()
    print("size: what the page loads, tips.txt aside (bytes, and after gzip -9):")
    for name, (raw, packed) in sizes.items():
        print(f"  {name:20} {raw:9,} {packed:9,}")
    total = sum(p for _, p in sizes.values())
    print(f"  {'total':20} {sum(r for r, _ in sizes.values()):9,} {total:9,}  = {total / 1024:.1f} KiB gzipped")


def startup(folder, runs):
    site = harness.Site(folder)
    shutil.copy(STATIC, site.path("static.html"))
    driver = harness.chromium()
    try:
        driver.execute_cdp_cmd("Network.enable", {})
        driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": FIRST_PAINT})
        pages = {"game": site.url, "static": site.url + "static.html"}
        results = {name: [] for name in pages}
        for run in range(runs + 1):  # the first round warms up
            for name, url in pages.items():
                driver.get(url)
                paint = harness.wait_for("the first paint", lambda: driver.execute_script("return window.firstPaint"))
                if run:
                    results[name].append(paint)
    finally:
        driver.quit()
        shutil.rmtree(driver.profile, ignore_errors=True)
        site.stop()
    game, static = median(results["game"]), median(results["static"])
    print(f"start-up over {runs} alternating loads each (median first contentful paint):")
    print(f"  game {game:.1f} ms   static page {static:.1f} ms   ratio {game / static:.2f}")


class DevTools:
    """A second DevTools connection to the page, beside the driver's, for what the driver does not
    pass on: the events of a trace. A plain WebSocket client, enough for that."""

    def __init__(self, driver):
        host, port = driver.capabilities["goog:chromeOptions"]["debuggerAddress"].split(":")
        with urllib.request.urlopen(f"http://{host}:{port}/json/list") as answer:
            target = next(t for t in json.load(answer) if t["type"] == "page")
        path = target["webSocketDebuggerUrl"].split(f"{port}", 1)[1]
        self.socket = socket.create_connection((host, int(port)))
        key = base64.b64encode(os.urandom(16)).decode()
        self.socket.sendall(f"GET {path} HTTP/1.1\r\nHost: {host}:{port}\r\nUpgrade: websocket\r\n"
                            f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n".encode())
        self.input = self.socket.makefile("rb")
        while self.input.readline() not in (b"\r\n", b""):
            pass
        self.next_id = 0

    def close(self):
        self.input.close()
        self.socket.close()

    def send(self, method, **params):
        self.next_id += 1
        data = json.dumps({"id": self.next_id, "method": method, "params": params}).encode()
        mask = os.urandom(4)
        size = len(data)
        head = bytes([0x81]) + (bytes([0x80 | size]) if size < 126 else
                                bytes([0x80 | 126]) + struct.pack(">H", size) if size < 65536 else
                                bytes([0x80 | 127]) + struct.pack(">Q", size))
        self.socket.sendall(head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(data)))

    def receive(self):
        message = b""
        while True:
            first, second = self.input.read(2)
            size = second & 0x7F
            if size == 126:
                size = struct.unpack(">H", self.input.read(2))[0]
            elif size == 127:
                size = struct.unpack(">Q", self.input.read(8))[0]
            message += self.input.read(size)
            if first & 0x80:
                return json.loads(message)

    def trace(self, categories, action):
        """The trace events of the page while action() runs."""
        self.send("Tracing.start", categories=categories, transferMode="ReportEvents")
        while "id" not in self.receive():
            pass
        action()
        self.send("Tracing.end")
        events = []
        while (message := self.receive()).get("method") != "Tracing.tracingComplete":
            if message.get("method") == "Tracing.dataCollected":
                events += message["params"]["value"]
        return events


def union(intervals):
    total, end = 0, None
    for start, stop in sorted(intervals):
        if end is None or start >= end:
            total += stop - start
            end = stop
        elif stop > end:
            total += stop - end
            end = stop
    return total


def click_work(events):
    """The work of each real click in the trace, in milliseconds: the main thread's events from
    its mousedown to the end of the frame that shows it, each nested one counted once."""
    spans = sorted((e for e in events if e.get("ph") == "X" and "dur" in e), key=lambda e: e["ts"])
    dispatch = lambda e, kind: e["name"] == "EventDispatch" and e["args"]["data"].get("type") == kind  # noqa: E731
    works = []
    for down in (e for e in spans if dispatch(e, "mousedown")):
        main = [e for e in spans if e["tid"] == down["tid"] and e["ts"] >= down["ts"]]
        click = next(e for e in main if dispatch(e, "click"))
        frame = next(e for e in main if e["name"] == "Layerize" and e["ts"] > click["ts"])
        end = frame["ts"] + frame["dur"]
        works.append(union((e["ts"], e["ts"] + e["dur"]) for e in main if e["name"] in WORK and e["ts"] < end) / 1000)
    return works


def clicks(folder, before, runs):
    """Real clicks with before - runs + 1 up to before animals before them."""
    site = harness.Site(folder)
    page = harness.WebProgram(site)
    devtools = DevTools(page.driver)
    try:
        fill = before - runs + 1
        started = time.monotonic()
        page.driver.set_script_timeout(3600)
        page.driver.execute_async_script(FILL, fill)
        filled = time.monotonic() - started
        harness.wait_for("the count", lambda: page.count_label().name.endswith(f": {fill}"))
        add = page.add_label()

        def play():
            for i in range(runs):
                page.click(add, dx=-30 if i % 2 else 30)
                harness.wait_for("the message", page.message)
                time.sleep(0.2)
                page.key("\n")
                harness.wait_for("the message to close", lambda: page.message() is None)
        works = click_work(devtools.trace(TRACE, play))
        if len(works) != runs:
            raise SystemExit(f"found {len(works)} clicks in the trace, not {runs}")
        final = page.count_label().name
    finally:
        devtools.close()
        page.stop(check=False)
        site.stop()
    print(f"  {before:6,} animals before it: median {median(works):5.2f} ms  (min {min(works):.2f}, max {max(works):.2f};"
          f" filled by script in {filled:.0f} s; then {final})")
    return median(works)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("site")
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--clicks", type=int, default=15)
    parser.add_argument("--only", default="size,startup,click")
    args = parser.parse_args()
    parts = args.only.split(",")
    print(f"Chromium: {subprocess.run([harness.CHROMIUM, '--version'], capture_output=True, text=True).stdout.strip()}")
    if "size" in parts:
        size(args.site)
    if "startup" in parts:
        startup(args.site, args.runs)
    if "click" in parts:
        print(f"a click: the main thread's work, from its mousedown to the end of its frame ({args.clicks} clicks each):")
        small, large = clicks(args.site, 1000, args.clicks), clicks(args.site, CAPACITY - 1, args.clicks)
        print(f"  ratio {large / small:.2f}")


if __name__ == "__main__":
    main()
