# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The browser program in headless Chromium, served from a copy of its site on 127.0.0.1 by
scripts/site_server.py as static hosts serve it (gzip-compressed, Cache-Control max-age=600), with
bench/web_static.html beside it as static.html: a page of plain HTML with the same elements and
texts as the program's first screen, and no script. Every page is opened anew, through
about:blank. Two profiles:

loopback, the browser at full speed on this machine:
- size: everything the first visit fetches, tips.txt aside, in bytes as served (after gzip): the
  page and what it loads, the service worker and what it caches, the manifest and the icons;
- start-up: the first contentful paint of the page against that of the static page; the two
  alternate in one browser, each load cold;
- a click: the work it causes on the page's main thread, read from a DevTools trace: its
  events' script, style, layout and paint, from the click's mousedown to the end of the frame
  that shows it, not the wait for that frame; with 1,000 animals before it and with 32,766. The
  list is filled by script first (click events of detail 1, each message closed by its OK before
  the next click, as no click counts while one is open); only
  the real clicks after it are measured.

phone, a mid-range phone on a slow mobile network, through Chromium's DevTools emulation: a
412 x 823 screen at 2.625 device pixels per CSS pixel, with touch; a processor 4 times slower;
150 ms of latency, 1.6 Mbit/s down and 750 kbit/s up. In alternating rounds:
- paint: the first contentful paint, cold, of the game and of the static page;
- playable: from the start of the navigation until a click on the add label counts. A script
  added to every new document clicks the add label every 50 ms, once the page has painted and
  the label is shown, until the count changes, and notes the moment; the count must then read
  1, and stay so, with one animal in the list: no click doubled or replayed while the program
  starts, and no click after the one that counted;
- worker: the first contentful paint of a start through the site's service worker, once a first
  visit has let it install, fill its cache and take control; the HTTP cache stays off, so what the
  worker does not answer crosses the slow network. Skipped while the site has no worker;
- shift: the cumulative layout shift over the load of the game and of the static page, until
  the page has been still for a second; and the same, at full speed, at a larger text size, on
  a 360 x 640 phone and at 200 % zoom.
A cold load has nothing of the site in the browser: no HTTP cache, no storage, no service worker.

lighthouse: npm's Lighthouse (12.2.3, package.json) on its own phone and desktop profiles, each
with its own throttling: its four scores and the performance metrics behind the first, medians
of a few runs.

    web.py SITE [--profile phone|loopback|both] [--only PART,...] [--runs 15] [--clicks 15]
                [--phone-runs 9] [--shift-runs 5] [--lighthouse-runs 3]

The parts are size, startup and click (loopback), paint, playable, worker and shift (phone), and
lighthouse.
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
import tempfile
import threading
import time
import urllib.parse
import urllib.request

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import harness  # noqa: E402
import site_server  # noqa: E402

STATIC = os.path.join(os.path.dirname(os.path.abspath(__file__)), "web_static.html")
CAPACITY = 32767
ADD = "Sleng inn et dyr i Arken!"
PARTS = {"loopback": ["size", "startup", "click"], "phone": ["paint", "playable", "worker", "shift"],
         "audits": ["lighthouse"]}

# The phone: its screen, its processor and its network, as DevTools emulates them.
PHONE_SCREEN = {"width": 412, "height": 823, "deviceScaleFactor": 2.625, "mobile": True}
PHONE_CPU = 4
PHONE_NETWORK = {"offline": False, "latency": 150, "downloadThroughput": 1.6e6 / 8, "uploadThroughput": 750e3 / 8}
# The other screens and text sizes whose layout shift is measured, at full speed: (what, screen, prefs).
SHIFT_CONDITIONS = [
    ("larger text (24 px)", None, {"webkit.webprefs.default_font_size": 24}),
    ("360 x 640 phone", {"width": 360, "height": 640, "deviceScaleFactor": 3, "mobile": True}, None),
    # What a 200 % zoom of a 1280 x 960 window gives the page: half the CSS pixels, each two device pixels.
    ("200 % zoom", {"width": 640, "height": 480, "deviceScaleFactor": 2, "mobile": False}, None),
]

# What the site should reach.
TARGET_PAINT = 1.2      # the cold first paint, at most this many times the static page's
TARGET_PLAYABLE = 1500  # ms from the start of the navigation until a click counts
TARGET_WORKER = 0.5     # a start through the worker, at most this many times the static page's cold paint
TARGET_BYTES = 100 * 1024  # the first visit, as served
# A page has loaded when it has been still this long: no change to its elements, no layout
# shift, no file arriving.
STILL = 1.0

# The main thread's work, as a DevTools trace names it.
WORK = {"EventDispatch", "FunctionCall", "TimerFire", "FireAnimationFrame", "RunMicrotasks", "UpdateLayoutTree",
        "Layout", "HitTest", "ScrollLayer", "PrePaint", "Paint", "Layerize", "UpdateLayer"}
TRACE = "devtools.timeline,disabled-by-default-devtools.timeline"

# Added to every new document: its first contentful paint, its layout shifts and the last moment
# anything changed. The shifts within half a second of the user's input are left out of the
# cumulative layout shift, and kept apart here: under DevTools' mobile emulation Chromium resizes
# the viewport early in every load (a resize event, to the same size), takes that for input, as
# it takes any resize, and flags the shifts of the next half second so, though nobody touched
# anything.
WATCH = """window.firstPaint = null;
window.layoutShift = 0;
window.layoutShiftFlagged = 0;
window.lastChange = 0;
new PerformanceObserver(list => {
    for (const entry of list.getEntries())
        if (entry.name === "first-contentful-paint") window.firstPaint = entry.startTime;
}).observe({type: "paint", buffered: true});
new PerformanceObserver(list => {
    for (const entry of list.getEntries()) {
        if (entry.hadRecentInput) window.layoutShiftFlagged += entry.value; else window.layoutShift += entry.value;
        window.lastChange = Math.max(window.lastChange, entry.startTime);
    }
}).observe({type: "layout-shift", buffered: true});
new PerformanceObserver(list => {
    for (const entry of list.getEntries()) window.lastChange = Math.max(window.lastChange, entry.responseEnd);
}).observe({type: "resource", buffered: true});
new MutationObserver(() => { window.lastChange = performance.now(); })
    .observe(document, {subtree: true, childList: true, attributes: true, characterData: true});
addEventListener("load", () => { window.lastChange = performance.now(); });"""

# How long the page has been still, in ms; null until it has loaded.
STILL_FOR = """return document.readyState === "complete" ? performance.now() - window.lastChange : null;"""

# Added to every new document for the playable figure: clicks the add label every 50 ms, once
# the page has painted and the label is shown (nobody taps what is not on the screen yet), as a
# tap does (pointer and mouse events, then a click of detail 1, at its middle), until the count
# changes, and notes when it does.
CLICKER = """(() => {
    if (!location.protocol.startsWith("http")) return;
    const state = window.playable = {at: null, clicks: 0, counted: null, clickedAt: null};
    const labels = () => [...document.querySelectorAll("[role=button]")];
    const watch = new MutationObserver(() => {
        const count = labels().find(e => e.textContent.startsWith("Antall dyr"));
        if (count && count.textContent !== %(zero)s) {
            state.at = performance.now();
            state.counted = state.clicks;
            clearInterval(clicker);
            watch.disconnect();
        }
    });
    watch.observe(document, {subtree: true, childList: true, characterData: true});
    const clicker = setInterval(() => {
        const add = labels().find(e => e.textContent === %(add)s);
        if (!add || !add.checkVisibility({visibilityProperty: true}) || !performance.getEntriesByName("first-contentful-paint").length)
            return;
        const r = add.getBoundingClientRect();
        const at = {bubbles: true, cancelable: true, composed: true, view: window, detail: 1, button: 0,
                    clientX: r.x + r.width / 2, clientY: r.y + r.height / 2,
                    pointerId: 1, pointerType: "touch", isPrimary: true};
        state.clicks++;
        state.clickedAt = performance.now();
        for (const [type, Kind, buttons] of [["pointerdown", PointerEvent, 1], ["mousedown", MouseEvent, 1],
                                             ["pointerup", PointerEvent, 0], ["mouseup", MouseEvent, 0],
                                             ["click", PointerEvent, 0]])
            add.dispatchEvent(new Kind(type, {...at, buttons}));
    }, 50);
})();""" % {"add": json.dumps(ADD), "zero": json.dumps(harness.AFLOAT.format(0))}

# The count and the animals in the list, as the page shows them.
SHOWN = """const count = [...document.querySelectorAll("[role=button]")]
    .find(e => e.textContent.startsWith("Antall dyr"));
const rows = [...document.querySelectorAll("[role=option]")].filter(e => !e.hidden);
return [count ? count.textContent : null, rows.length];"""

# The site's service worker as this page sees it: how many are registered, the state of the
# active one, whether one controls the page, and how many responses the site's caches hold.
WORKER = """const done = arguments[arguments.length - 1];
(async () => {
    if (!("serviceWorker" in navigator)) return {registered: 0};
    const registrations = await navigator.serviceWorker.getRegistrations();
    let cached = 0;
    for (const name of await caches.keys())
        cached += (await (await caches.open(name)).keys()).length;
    const active = registrations.map(r => r.active).find(w => w);
    return {registered: registrations.length, active: active ? active.state : null,
            controlled: !!navigator.serviceWorker.controller, cached};
})().then(done, error => done({error: String(error)}));"""

# The files that a browser fetches for a page beside what it shows: its icons and its manifest.
LINKED = """return [...document.querySelectorAll("link[rel~=icon], link[rel~=apple-touch-icon], link[rel=manifest]")]
    .map(link => [link.rel, link.href]);"""

# Clicks the add label n times as a script does (click events of detail 1), closing each message.
FILL = """const [n, done] = arguments;
const add = [...document.querySelectorAll("[role=button]")].find(e => e.textContent === "Sleng inn et dyr i Arken!");
let i = 0;
(function some() {
    for (const end = Math.min(n, i + 500); i < end; i++) {
        add.dispatchEvent(new MouseEvent("click", {bubbles: true, cancelable: true, detail: 1}));
        document.querySelector("dialog[open] button")?.click();
    }
    if (i < n) setTimeout(some); else done();
})();"""


def median(values):
    return statistics.median(values)


def verdict(met):
    return "met" if met else "MISSED"


class LoggingHandler(site_server.SiteHandler):
    """The site server's handler, noting every answer it sends: the path, the status, the encoding
    and the bytes of the body as sent."""

    def send_response(self, code, message=None):
        self.answer = {"path": urllib.parse.urlsplit(self.path).path, "status": code, "bytes": 0, "encoding": None}
        super().send_response(code, message)

    def send_header(self, keyword, value):
        if keyword.lower() == "content-length" and self.command != "HEAD":
            self.answer["bytes"] = int(value)
        elif keyword.lower() == "content-encoding":
            self.answer["encoding"] = value
        super().send_header(keyword, value)

    def end_headers(self):
        self.server.sent.append(self.answer)
        super().end_headers()


class Site:
    """A copy of the built site, the static page beside it, served by the site server from a
    thread of this process on 127.0.0.1, at a port (an origin) of its own."""

    def __init__(self, folder):
        if not os.path.isfile(os.path.join(folder, "index.html")):
            sys.exit(f"build the browser program first (scripts/build-web): no index.html in {folder}")
        self.folder = tempfile.mkdtemp(prefix="bargeling-bench-site-")
        shutil.copytree(folder, self.folder, dirs_exist_ok=True)
        shutil.copy(STATIC, os.path.join(self.folder, "static.html"))
        self.server = site_server.serve(self.folder, handler=LoggingHandler, cache_control="max-age=600",
                                        compress=True, log_requests=False)
        self.server.sent = []  # every answer, in order
        self.url = self.server.url
        self.origin = self.url.rstrip("/")

    def path(self, name):
        return os.path.join(self.folder, name)

    def stop(self):
        self.server.shutdown()
        self.server.server_close()
        shutil.rmtree(self.folder, ignore_errors=True)


class Browser:
    """Headless Chromium through its WebDriver, for page loads one after another: a fresh profile,
    the HTTP cache off, and WATCH added to every new document."""

    def __init__(self, screen=None, touch=False, prefs=None):
        self.driver = harness.chromium(screen, touch, prefs)
        self.driver.set_script_timeout(60)
        self.cdp("Network.enable")
        self.cdp("Network.setCacheDisabled", cacheDisabled=True)
        self.cdp("Page.addScriptToEvaluateOnNewDocument", source=WATCH)
        self.devtools = None

    def cdp(self, command, **parameters):
        return self.driver.execute_cdp_cmd(command, parameters)

    def js(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def throttle(self, network, cpu):
        """The phone's network and processor, or with None, this machine's."""
        self.cdp("Network.emulateNetworkConditions", **(network or {"offline": False, "latency": 0,
                                                                    "downloadThroughput": -1, "uploadThroughput": -1}))
        self.cdp("Emulation.setCPUThrottlingRate", rate=cpu or 1)
        if self.devtools:
            self.devtools.throttle_workers(network)

    def watch_workers(self):
        """Service workers get the network of throttle() too: DevTools emulates a network for
        one target, and a worker is a target of its own, which the page's emulation does not
        reach (a worker that fetches from the network would fetch at full speed). Every worker
        that starts from now on waits for its emulation before it runs."""
        self.devtools = DevTools(self.driver, browser=True)
        self.devtools.attach_workers()

    def open(self, url, worker=False):
        """Opens the url anew, through about:blank (opening the url already shown would reload
        it); through the service worker only with worker."""
        self.driver.get("about:blank")
        self.cdp("Network.setBypassServiceWorker", bypass=not worker)
        self.driver.get(url)

    def cold(self, site, url):
        """Opens the url with nothing of the site left in the browser: no HTTP cache, no storage,
        no service worker."""
        self.driver.get("about:blank")
        self.cdp("Network.clearBrowserCache")
        self.cdp("Storage.clearDataForOrigin", origin=site.origin, storageTypes="all")
        self.cdp("Network.setBypassServiceWorker", bypass=True)
        self.driver.get(url)

    def first_paint(self):
        return harness.wait_for("the first paint", lambda: self.js("return window.firstPaint"), timeout=60)

    def settle(self):
        """Waits until the page has been still for STILL seconds; its cumulative layout shift by
        then, and the shift flagged as after input."""
        harness.wait_for("the page to be still", lambda: (self.js(STILL_FOR) or 0) >= STILL * 1000, timeout=60)
        return tuple(self.js("return [window.layoutShift, window.layoutShiftFlagged]"))

    def worker(self):
        return self.driver.execute_async_script(WORKER)

    def install_worker(self, site):
        """The first visit of the site, unthrottled: lets its service worker, where it has one,
        install, fill its cache and take control of the page. Whether it has one."""
        self.open(site.url, worker=True)
        self.settle()
        if not self.worker()["registered"]:
            return False
        deadline, last = time.monotonic() + 60, None
        while True:
            state = self.worker()
            if state.get("error"):
                raise SystemExit(f"the service worker: {state['error']}")
            if state["active"] == "activated" and state["controlled"] and state["cached"] and state == last:
                return True
            if time.monotonic() > deadline:
                raise SystemExit(f"the service worker did not take control with a filled cache: {state}")
            if state["active"] == "activated" and not state["controlled"]:
                # A worker that does not claim the page that registered it controls the next one.
                self.open(site.url, worker=True)
                self.settle()
            last = state
            time.sleep(0.5)

    def quit(self):
        if self.devtools:
            self.devtools.close()
        self.driver.quit()
        shutil.rmtree(self.driver.profile, ignore_errors=True)


# ---- loopback ----------------------------------------------------------------------------------

def file_name(address):
    """The name of a file of the site in its folder, from its address or the path of its address."""
    name = urllib.parse.unquote(urllib.parse.urlsplit(address).path).lstrip("/")
    return name + "index.html" if name == "" or name.endswith("/") else name


def size(folder):
    """Everything that the first visit fetches, in a fresh browser: until the page has been still
    for a while and its service worker, where it has one, controls it with a filled cache; the
    icons and the manifest that the page names, and the manifest's icons, which a headless
    browser need not fetch, are fetched beside it."""
    site = Site(folder)
    browser = Browser()
    try:
        browser.cdp("Network.setCacheDisabled", cacheDisabled=False)
        worker = browser.install_worker(site)
        linked = []
        for rel, href in browser.js(LINKED):
            linked.append(href)
            if "manifest" in rel.split() and href.startswith(site.url):
                with open(site.path(file_name(href)), "rb") as f:
                    icons = json.load(f).get("icons", [])
                linked += [urllib.parse.urljoin(href, icon["src"]) for icon in icons if "src" in icon]
    finally:
        browser.quit()
    fetched = {a["path"] for a in site.server.sent}
    for url in linked:
        if url.startswith(site.url) and urllib.parse.urlsplit(url).path not in fetched:
            request = urllib.request.Request(url, headers={"Accept-Encoding": "gzip"})
            with urllib.request.urlopen(request) as answer:
                answer.read()
    sent = [a for a in site.server.sent if a["path"] != "/tips.txt" and a["status"] == 200]
    site.stop()
    files = {}
    for answer in sent:
        name = file_name(answer["path"])
        raw = os.path.getsize(os.path.join(folder, name)) if os.path.isfile(os.path.join(folder, name)) else 0
        first = files.setdefault(name, {"raw": raw, "sent": answer["bytes"], "encoding": answer["encoding"]})
        first["times"] = first.get("times", 0) + 1
    print(f"size: what the first visit fetches, tips.txt aside ({'with' if worker else 'no'} service worker;"
          " bytes, and as served):")
    for name, f in sorted(files.items()):
        again = f"  fetched {f['times']} times" if f["times"] > 1 else ""
        print(f"  {name:28} {f['raw']:9,} {f['sent']:9,}  {f['encoding'] or 'as it is'}{again}")
    total = sum(f["sent"] for f in files.values())
    print(f"  {'total':28} {sum(f['raw'] for f in files.values()):9,} {total:9,}  = {total / 1024:.1f} KiB"
          f"   target <= {TARGET_BYTES / 1024:.0f} KiB: {verdict(total <= TARGET_BYTES)}")
    wire = sum(a["bytes"] for a in sent)
    if wire != total:
        print(f"  on the wire, with the files fetched again: {wire:,} bytes")


def alternating(browser, site, runs, measure):
    """measure() after each cold load of the game and of the static page, in turn, over runs rounds
    after a first that warms up: the figures of each page."""
    results = {"game": [], "static": []}
    for run in range(runs + 1):
        for name, url in {"game": site.url, "static": site.url + "static.html"}.items():
            browser.cold(site, url)
            value = measure()
            if run:
                results[name].append(value)
    return results


def startup(folder, runs):
    site = Site(folder)
    browser = Browser()
    try:
        results = alternating(browser, site, runs, browser.first_paint)
    finally:
        browser.quit()
        site.stop()
    game, static = median(results["game"]), median(results["static"])
    print(f"start-up over {runs} alternating cold loads each (median first contentful paint):")
    print(f"  game {game:.1f} ms   static page {static:.1f} ms   ratio {game / static:.2f}")


class DevTools:
    """A second DevTools connection, beside the driver's, for what the driver does not pass on:
    the events of a trace (to the page), or the targets of service workers (to the browser). A
    plain WebSocket client, enough for that."""

    def __init__(self, driver, browser=False):
        host, port = driver.capabilities["goog:chromeOptions"]["debuggerAddress"].split(":")
        if browser:
            with urllib.request.urlopen(f"http://{host}:{port}/json/version") as answer:
                address = json.load(answer)["webSocketDebuggerUrl"]
        else:
            with urllib.request.urlopen(f"http://{host}:{port}/json/list") as answer:
                address = next(t for t in json.load(answer) if t["type"] == "page")["webSocketDebuggerUrl"]
        path = address.split(f"{port}", 1)[1]
        self.socket = socket.create_connection((host, int(port)))
        key = base64.b64encode(os.urandom(16)).decode()
        self.socket.sendall(f"GET {path} HTTP/1.1\r\nHost: {host}:{port}\r\nUpgrade: websocket\r\n"
                            f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n".encode())
        self.input = self.socket.makefile("rb")
        while self.input.readline() not in (b"\r\n", b""):
            pass
        self.next_id = 0
        self.lock = threading.Lock()
        self.worker_network = None
        self.worker_sessions = {}  # the service workers attached to: their address by session
        self.throttled_workers = set()  # the addresses of the service workers that had worker_network

    def close(self):
        self.socket.shutdown(socket.SHUT_RDWR)
        self.input.close()
        self.socket.close()

    def send(self, method, session=None, **params):
        with self.lock:
            self.next_id += 1
            message = {"id": self.next_id, "method": method, "params": params}
            if session:
                message["sessionId"] = session
            data = json.dumps(message).encode()
            mask = os.urandom(4)
            size = len(data)
            head = bytes([0x81]) + (bytes([0x80 | size]) if size < 126 else
                                    bytes([0x80 | 126]) + struct.pack(">H", size) if size < 65536 else
                                    bytes([0x80 | 127]) + struct.pack(">Q", size))
            self.socket.sendall(head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(data)))

    def receive(self):
        message = b""
        while True:
            head = self.input.read(2)
            if len(head) < 2:
                return None
            first, second = head
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

    def attach_workers(self):
        """Attaches to every service worker, and to each as it starts, held until it has the
        network of throttle_workers()."""
        threading.Thread(target=self._attach_workers, daemon=True).start()
        self.send("Target.setAutoAttach", autoAttach=True, waitForDebuggerOnStart=True, flatten=True,
                  filter=[{"type": "service_worker", "exclude": False}, {"exclude": True}])

    def throttle_workers(self, network):
        """The network of every service worker from now on, None for this machine's."""
        self.worker_network = network
        for session in list(self.worker_sessions):
            self._throttle(session)

    def _throttle(self, session):
        conditions = self.worker_network or {"offline": False, "latency": 0, "downloadThroughput": -1,
                                             "uploadThroughput": -1}
        self.send("Network.emulateNetworkConditions", session, **conditions)
        if self.worker_network:
            self.throttled_workers.add(self.worker_sessions.get(session))

    def _attach_workers(self):
        try:
            while (message := self.receive()) is not None:
                params = message.get("params", {})
                if message.get("method") == "Target.attachedToTarget":
                    session = params["sessionId"]
                    self.worker_sessions[session] = params["targetInfo"]["url"]
                    self.send("Network.enable", session)
                    self._throttle(session)
                    self.send("Runtime.runIfWaitingForDebugger", session)
                elif message.get("method") == "Target.detachedFromTarget":
                    self.worker_sessions.pop(params["sessionId"], None)
        except (OSError, ValueError):
            pass  # closed


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
    site = Site(folder)
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


# ---- phone -------------------------------------------------------------------------------------

def playable(browser, site):
    """One cold load of the game with CLICKER: when a click counted (ms from the start of the
    navigation), how many clicks it took, how long after the first paint and after its click it
    counted, and what went wrong after it, if anything."""
    script = browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=CLICKER)["identifier"]
    try:
        browser.cold(site, site.url)
        state = harness.wait_for("a click to count", lambda: (s := browser.js("return window.playable")) and
                                 s["at"] is not None and s, timeout=60)
        # A second later, one animal for each click: the page may keep the clicks made before
        # the program ran and count them when it runs, but none may be lost or counted twice.
        counted = lambda: browser.js(SHOWN)[0] == harness.AFLOAT.format(browser.js("return window.playable.clicks"))
        still = harness.stays(counted)
        after = browser.js("return window.playable")
        paint = browser.js("return window.firstPaint")
    finally:
        browser.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=script)
    problem = None
    if not still:
        count, rows = browser.js(SHOWN)
        problem = f"after {after['clicks']} clicks: «{count}», {rows} animals in the list"
    elif after["clicks"] != state["counted"]:
        problem = f"{after['clicks'] - state['counted']} clicks after the count changed"
    return {"at": state["at"], "clicks": state["counted"], "after paint": state["at"] - paint,
            "after click": state["at"] - state["clickedAt"], "problem": problem}


def phone(folder, parts, runs):
    site, worker_site = Site(folder), Site(folder)
    browser = Browser(PHONE_SCREEN, touch=True)
    paints = {"game": [], "static": []}
    shifts = {"game": [], "static": []}
    starts, worker_paints, problems = [], [], []
    try:
        browser.watch_workers()
        worker = "worker" in parts and browser.install_worker(worker_site)
        browser.throttle(PHONE_NETWORK, PHONE_CPU)
        pages = {"game": site.url, "static": site.url + "static.html"}
        for run in range(runs + 1):  # the first round warms up
            if {"paint", "shift"} & set(parts) or worker:
                for name, url in pages.items():
                    browser.cold(site, url)
                    paint = browser.first_paint()
                    shift = browser.settle() if "shift" in parts else None
                    if run:
                        paints[name].append(paint)
                        shifts[name].append(shift)
            if "playable" in parts:
                start = playable(browser, site)
                if run:
                    starts.append(start)
                if start["problem"]:
                    problems.append(start["problem"])
            if worker:
                browser.cdp("Network.clearBrowserCache")
                browser.open(worker_site.url, worker=True)
                paint = browser.first_paint()
                if not browser.worker()["controlled"]:
                    raise SystemExit("the page opened through the service worker is not under its control")
                if run:
                    worker_paints.append(paint)
    finally:
        workers = browser.devtools.throttled_workers if browser.devtools else set()
        browser.quit()
        site.stop()
        worker_site.stop()
    screen, network = PHONE_SCREEN, PHONE_NETWORK
    print(f"phone: {screen['width']} x {screen['height']} at {screen['deviceScaleFactor']}, touch;"
          f" processor {PHONE_CPU} x slower; {network['latency']} ms latency,"
          f" {network['downloadThroughput'] * 8 / 1e6:g} Mbit/s down,"
          f" {network['uploadThroughput'] * 8 / 1e3:g} kbit/s up;"
          f" {runs} alternating rounds (medians)")
    static = median(paints["static"]) if paints["static"] else None
    if "paint" in parts:
        game = median(paints["game"])
        print(f"  first contentful paint, cold: game {game:.0f} ms, static page {static:.0f} ms: {game / static:.2f} x"
              f"   target <= {TARGET_PAINT} x: {verdict(game / static <= TARGET_PAINT)}")
    if "playable" in parts:
        at = median(s["at"] for s in starts)
        print(f"  playable, cold: a click counts {at:.0f} ms after the start of the navigation"
              f"   target <= {TARGET_PLAYABLE} ms: {verdict(at <= TARGET_PLAYABLE)}")
        print(f"    {median(s['after paint'] for s in starts):.0f} ms after the load's first paint; clicks until then,"
              f" one each 50 ms from the first paint: {median(s['clicks'] for s in starts):g};"
              f" the count changed {median(s['after click'] for s in starts):.1f} ms after its click")
        print("    " + ("in every load, one animal for each click, none lost or counted twice" if not problems
                        else "PROBLEM: " + "; ".join(problems)))
    if "worker" in parts:
        if not worker:
            print("  start through the service worker: no service worker")
        else:
            paint = median(worker_paints)
            ratio = paint / static
            print(f"  start through the service worker: first contentful paint {paint:.0f} ms, {ratio:.2f} x"
                  f" the static page's cold paint   target <= {TARGET_WORKER} x: {verdict(ratio <= TARGET_WORKER)}")
            print(f"    the worker's own fetches on the phone's network too: {'yes' if workers else 'NO'}")
    if "shift" in parts:
        print_shift("over the load", shifts)


def print_shift(what, shifts):
    """The medians and the largest of the cumulative layout shifts; a shift flagged as after input
    fails the target too, as nobody gave any."""
    def figures(name):
        shift, flagged = [s for s, _ in shifts[name]], [f for _, f in shifts[name]]
        text = f"{median(shift):.4f} (max {max(shift):.4f})"
        if any(flagged):
            text += f" and flagged as after input {median(flagged):.4f} (max {max(flagged):.4f})"
        return text
    still = not any(s or f for s, f in shifts["game"])
    print(f"  layout shift {what}: game {figures('game')}, static page {figures('static')}"
          f"   target 0: {verdict(still)}")


def shift_conditions(folder, runs):
    """The layout shift over the load, cold, of the game and the static page at full speed in
    other conditions."""
    site = Site(folder)
    try:
        for what, screen, prefs in SHIFT_CONDITIONS:
            browser = Browser(screen, touch=bool(screen and screen["mobile"]), prefs=prefs)
            try:
                shifts = alternating(browser, site, runs, browser.settle)
            finally:
                browser.quit()
            print_shift(f"{what}, {runs} rounds", shifts)
    finally:
        site.stop()


# Lighthouse's performance metrics, by the names of its audits.
LIGHTHOUSE_METRICS = {"first-contentful-paint": "first contentful paint", "largest-contentful-paint": "largest contentful paint",
                      "speed-index": "speed index", "total-blocking-time": "total blocking time",
                      "cumulative-layout-shift": "cumulative layout shift"}


def lighthouse(folder, runs):
    """Lighthouse's scores and performance metrics on its phone and desktop profiles."""
    site = Site(folder)
    try:
        for profile in ("mobile", "desktop"):
            reports = [harness.lighthouse(site.url, profile, ("performance", "accessibility", "best-practices", "seo"))
                       for _ in range(runs)]
            scores = ", ".join(f"{name} {median([r['categories'][name]['score'] * 100 for r in reports]):.0f}"
                               for name in reports[0]["categories"])
            print(f"Lighthouse {reports[0]['lighthouseVersion']}, {profile}, {runs} runs: {scores}")
            for audit, name in LIGHTHOUSE_METRICS.items():
                values = [r["audits"][audit]["numericValue"] for r in reports]
                unit = "" if audit == "cumulative-layout-shift" else " ms"
                print(f"  {name}: {median(values):.{4 if not unit else 0}f}{unit}")
    finally:
        site.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("site")
    parser.add_argument("--profile", choices=["phone", "loopback", "both"], default="both")
    every = PARTS["loopback"] + PARTS["phone"] + PARTS["audits"]
    parser.add_argument("--only", default=",".join(every), help="the parts to measure, of: " + ", ".join(every))
    parser.add_argument("--runs", type=int, default=15, help="loopback start-up: alternating loads of each page")
    parser.add_argument("--clicks", type=int, default=15)
    parser.add_argument("--phone-runs", type=int, default=9, help="phone: alternating rounds")
    parser.add_argument("--shift-runs", type=int, default=5, help="layout shift in the other conditions: rounds")
    parser.add_argument("--lighthouse-runs", type=int, default=3, help="Lighthouse: runs on each profile")
    args = parser.parse_args()
    parts = args.only.split(",")
    unknown = set(parts) - set(every)
    if unknown:
        parser.error(f"no such part: {', '.join(sorted(unknown))}")
    started = time.monotonic()
    print(f"Chromium: {subprocess.run([harness.CHROMIUM, '--version'], capture_output=True, text=True).stdout.strip()}")
    if args.profile in ("loopback", "both"):
        if "size" in parts:
            size(args.site)
        if "startup" in parts:
            startup(args.site, args.runs)
        if "click" in parts:
            print(f"a click: the main thread's work, from its mousedown to the end of its frame ({args.clicks} clicks each):")
            small, large = clicks(args.site, 1000, args.clicks), clicks(args.site, CAPACITY - 1, args.clicks)
            print(f"  ratio {large / small:.2f}")
    if args.profile in ("phone", "both"):
        phone_parts = [p for p in parts if p in PARTS["phone"]]
        if phone_parts:
            phone(args.site, phone_parts, args.phone_runs)
        if "shift" in parts:
            shift_conditions(args.site, args.shift_runs)
    if "lighthouse" in parts:
        lighthouse(args.site, args.lighthouse_runs)
    print(f"took {time.monotonic() - started:.0f} s")


if __name__ == "__main__":
    main()
