# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""End-to-end tests of the browser program: the game's behaviours (behaviours.json) played in
headless Chromium (ChromiumBehaviours) and in WebKitGTK (WebKitBehaviours), and what the page adds
to them, in Chromium: real pointer, touch and key input through WebDriver, and what a screen reader
reads through Chromium's accessibility tree. Each test serves a copy of the built site of its own,
so that it may change the animal file.

    test_web.py [Case ...]      the cases, as unittest names them
"""

import json
import re
import shutil
import os
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import behaviours  # noqa: E402
from harness import (AFLOAT, IN_PAGE, MESSAGES, Site, WebProgram, axe, click_at, key, lighthouse, needs,  # noqa: E402
                     stays, throw_at, wait_for, webkitgtk)

SITE = os.path.abspath(os.environ.get("BARGELING_SITE", "build-web/site"))
# What the build put beside the program, from which make-site makes the site.
PROGRAM = os.path.join(os.path.dirname(SITE), "program")
MAKE_SITE = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                         "packaging", "web", "make-site")
SHOTS = os.path.abspath(os.environ.get("BARGELING_SHOTS", "build-web/e2e-shots"))
PHONE = {"width": 360, "height": 640, "deviceScaleFactor": 3, "mobile": True}
# What a 200 % zoom of a 1280 x 960 window gives the page: half the CSS pixels, each two device pixels.
ZOOM_200 = {"width": 640, "height": 480, "deviceScaleFactor": 2, "mobile": False}
FORM, COUNT, ADD = (449, 213), (304, 16, 121, 81), (304, 112, 121, 81)
# Whether a double tap on the node may zoom: not where it or a box around it allows only panning
# and pinching (touch-action manipulation or none), which is what browsers on phones look at.
TAP_ZOOM_OFF = """function() {
    for (let e = this; e; e = e.parentElement)
        if (["manipulation", "none"].includes(getComputedStyle(e).touchAction)) return true;
    return false;
}"""

# The main form's box and its list's and labels', in the viewport.
BOXES = """const form = document.querySelector("main");
return [form, form.querySelector(".rt-list"), ...form.querySelectorAll(".rt-label")].map(e => {
    const r = e.getBoundingClientRect();
    return [r.x, r.y, r.width, r.height];
});"""

# Whether the node's text fits within its box.
FITS = "function() { return this.scrollHeight <= this.clientHeight && this.scrollWidth <= this.clientWidth; }"

# The smallest size at which the page draws any text that shows: the computed size, times the scale
# that a transform adds.
SMALLEST_TEXT = """const sizes = [];
const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
for (let text = walker.nextNode(); text; text = walker.nextNode()) {
    const box = text.parentElement;
    if (!text.textContent.trim() || !box.checkVisibility() || !box.getClientRects().length) continue;
    const scale = box.offsetWidth ? box.getBoundingClientRect().width / box.offsetWidth : 1;
    sizes.push(parseFloat(getComputedStyle(box).fontSize) * scale);
}
return Math.min(...sizes);"""

# The program's files that the page loaded, by name.
LOADED = "return performance.getEntriesByType('resource').map(e => e.name.split('/').pop())"


def near(a, b, tolerance=1.0):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


class WebTest(unittest.TestCase):
    def setUp(self):
        self.site = Site(SITE)
        self.addCleanup(self.site.stop)

    def write_animals(self, *animals):
        with open(self.site.path("tips.txt"), "w", encoding="utf-8") as f:
            f.write("".join(a + "\n" for a in animals))

    def start(self, metrics=None, touch=False, prefs=None, wait=True):
        self.program = WebProgram(self.site, metrics, touch, prefs, wait)
        self.addCleanup(self.program.stop)
        return self.program

    def shot(self, name):
        self.program.screenshot(os.path.join(SHOTS, f"web-{type(self).__name__}-{name}.png"))

    def wait_count(self, text):
        wait_for(repr(text), lambda: (label := self.program.count_label()) and label.name == text)

    def throw(self, times):
        self.program.throw(self.program.add_label(), times)

    def throw_one(self):
        """One animal thrown into a game just started; the list's animals then."""
        self.throw(1)
        self.wait_count(AFLOAT.format(1))
        return self.program.animals()[1]

    def dismiss(self, n, close):
        """Reads the message at n and closes it with close(OK button)."""
        box = wait_for(f"the message at {n}", self.program.message)
        self.assertIn(MESSAGES[min(n, 76)].replace("76", str(n)), box.texts())
        buttons = box.find_all("button")
        self.assertEqual([b.name for b in buttons], ["OK"])
        self.assertEqual(self.program.focused().dom, buttons[0].dom, "the focus is not on OK")
        close(buttons[0])
        wait_for("the message to close", lambda: self.program.message() is None)

    def form(self):
        """The main form's box: the nearest element that holds the list and both labels."""
        p = self.program
        return p.rect(p.listbox(), p.count_label(), p.add_label())

    def place_in_form(self, node):
        fx, fy, _, _ = self.form()
        x, y, w, h = self.program.rect(node)
        return x - fx, y - fy, w, h


class Page(WebTest):
    """What the page adds to the game's behaviours: its security policy, the animals of the bundled
    tips.txt, the about window's place, and the message's hold on the focus and the form."""

    def test_page(self):
        p = self.start()
        policy = p.js("return document.querySelector('meta[http-equiv=Content-Security-Policy]').content")
        self.assertIn("default-src 'self'", policy)
        self.assertIn("script-src 'self' 'wasm-unsafe-eval';", policy)  # and nothing inline: stop() fails on a violation
        self.assertNotIn("unsafe-inline", policy)

        with self.subTest("the about window stays where it opened, and a click beside its text keeps it"):
            p.click(p.count_label())
            credits = wait_for("the about window", p.credits)
            about = p.window_rect(credits)
            self.shot("about")
            p.click(p.count_label(), dx=20)
            x, y, w, h = p.rect(credits)
            p.click_at(x + w + 3, y + h / 2)  # the strip right of the credits
            self.assertTrue(stays(lambda: (c := p.credits()) and p.window_rect(c) == about))
            p.click(credits)
            wait_for("the about window to close", lambda: p.credits() is None)

        with open(os.path.join(SITE, "tips.txt"), encoding="utf-8-sig") as f:
            bundled = set(f.read().splitlines()[:49])
        width, height, _, _ = p.viewport()
        p.click_at(width - 5, height - 5)  # the page beside the forms: the list gets its focus back at the next click
        self.throw(49)
        self.wait_count(AFLOAT.format(49))
        p.key("\ue013")  # Up
        wait_for("Up to select the animal before the newest", lambda: p.animals()[2] == 47)
        shown = p.animals()[1]
        self.assertTrue(shown and set(shown) <= bundled, (shown, bundled))
        label, (x, y, w, h) = p.add_label(), p.rect(p.add_label())
        p.click(label)
        box = wait_for("the message at 50", p.message)
        self.assertIsNone(p.add_label(), "the form behind the message is still there for a screen reader")
        p.click_at(x + w / 2, y + h / 2)  # behind the message
        p.press(label)
        self.assertTrue(stays(lambda: p.focused().dom == box.find("button").dom), "the focus is not on OK")
        self.shot("message-50")
        self.dismiss(50, lambda ok: p.key("\n"))
        self.assertTrue((focused := p.focused()) and focused.dom == p.listbox().dom, "the focus is not back on the list")
        self.throw(25)
        self.dismiss(75, lambda ok: p.key("\ue00c"))  # Escape


class Files(WebTest):
    """The animal file as the server gives it."""

    def animals_after(self, clicks):
        p = self.start()
        self.throw(clicks)
        self.wait_count(AFLOAT.format(clicks))
        count, shown, _ = p.animals()
        self.assertEqual(count, clicks)
        return shown

    def test_host_page_for_a_missing_file_gives_empty_animals(self):
        """Not the host's HTML read as animals."""
        os.remove(self.site.path("tips.txt"))
        self.site.host_page_for_missing = True
        self.assertEqual(self.animals_after(2), ["", ""])

    def test_stalled_file_keeps_no_click_waiting(self):
        """A server that takes the request for tips.txt and never answers: the game shows and counts."""
        self.site.stalled = {"/tips.txt"}
        self.assertEqual(self.animals_after(2), ["", ""])

    def test_windows_1252_file_reads_right(self):
        with open(self.site.path("tips.txt"), "wb") as f:
            f.write("Ærfugl på øya, blåhval\r\n".encode("cp1252"))
        self.assertEqual(self.animals_after(2), ["Ærfugl på øya, blåhval"] * 2)


class Screens(WebTest):
    def test_phone(self):
        """360 x 640 CSS pixels with touch: the form takes the phone's width, a tap is a click."""
        p = self.start(PHONE, touch=True)
        # The device's width: a phone widens its layout viewport (innerWidth) to fit a page too wide.
        width, scale = PHONE["width"], p.viewport()[3]
        x, y, w, h = self.form()
        self.assertLessEqual(max(p.viewport()[0], p.viewport()[2]), width, "the page is wider than the phone")
        self.assertTrue(x >= 0 and x + w <= width, (x, w, width))
        self.shot("phone")
        p.tap(p.add_label())
        self.wait_count(AFLOAT.format(1))
        self.assertTrue(stays(lambda: p.animals()[0] == 1))
        # A phone zooms in on a double tap unless the page says it has no use for it.
        self.assertTrue(p.call(p.add_label(), TAP_ZOOM_OFF), "a double tap zooms")
        p.tap(p.add_label(), repeat=2)
        self.wait_count(AFLOAT.format(2))
        self.assertTrue(stays(lambda: p.animals()[0] == 2 and p.viewport()[3] == scale), p.viewport())
        p.tap(p.count_label())
        credits = wait_for("the about window", p.credits)
        ax, ay, aw, ah = p.window_rect(credits)
        self.assertTrue(ay >= y + h and ax >= 0 and ax + aw <= width, ((ax, ay, aw, ah), (x, y, w, h)))
        self.shot("phone-about")

    def test_phone_text(self):
        """On phones 360 and 412 CSS pixels wide, with animals and the about window open: no text drawn
        smaller than 12 CSS pixels, the credits whole, and the labels at least 24 pixels each way."""
        for width in (360, 412):
            with self.subTest(width=width):
                p = self.start({**PHONE, "width": width}, touch=True)
                self.throw(3)
                self.wait_count(AFLOAT.format(3))
                p.tap(p.count_label())
                credits = wait_for("the about window", p.credits)
                self.shot(f"phone-{width}-about")
                self.assertGreaterEqual(p.js(SMALLEST_TEXT), 12)
                self.assertTrue(p.call(credits, FITS), "the credits are cut off")
                for label in (p.count_label(), p.add_label(), credits):
                    self.assertTrue(min(p.rect(label)[2:]) >= 24, p.rect(label))
                p.stop()

    def test_first_frame(self):
        """Before the program has arrived the page shows the form as the program lays it out, and
        keeps the clicks on its labels: they count once the program runs, each once."""
        wasm = next(f for f in os.listdir(self.site.folder) if f.endswith(".wasm"))
        for metrics, tolerance in ((None, 0), (PHONE, 1)):
            with self.subTest(metrics=metrics):
                self.site.stalled = {"/" + wasm}
                p = self.start(metrics, wait=False)
                wait_for("the add label", p.add_label)  # shown once its clicks are kept
                before = p.js(BOXES)
                self.throw(2)
                self.assertEqual((p.count_label().name, p.animals()[0]), (AFLOAT.format(0), 0))
                self.site.release_stalled()
                self.wait_count(AFLOAT.format(2))
                self.assertTrue(stays(lambda: p.animals()[0] == 2))
                after = p.js(BOXES)
                self.assertTrue(all(near(a, b, tolerance) for a, b in zip(before, after)), (before, after))
                p.stop()

    def test_zoom_200(self):
        """At 200 %: the same form in CSS pixels, drawn twice as large, its parts where they were."""
        p = self.start(ZOOM_200)
        self.assertEqual(p.js("return devicePixelRatio"), 2)
        self.assertTrue(near(self.form()[2:], FORM), self.form())
        self.assertTrue(near(self.place_in_form(p.add_label()), ADD), self.place_in_form(p.add_label()))
        self.throw_one()
        p.click(p.count_label())
        credits = wait_for("the about window", p.credits)
        (ax, ay, aw, ah), (x, y, w, h) = p.window_rect(credits), self.form()
        self.assertTrue(ax >= x + w or ay >= y + h, ((ax, ay, aw, ah), (x, y, w, h)))
        self.assertLessEqual(ax + aw, p.viewport()[0])
        self.shot("zoom-200-about")

    def test_large_text(self):
        """The browser's text size at 150 %: the form grows in proportion, and every text still fits."""
        p = self.start(prefs={"webkit.webprefs.default_font_size": 24})
        _, _, w, h = self.form()
        self.assertGreater(w, FORM[0] + 40)
        self.assertAlmostEqual(w / h, FORM[0] / FORM[1], delta=0.05)
        x, y, _, _ = self.place_in_form(p.add_label())
        self.assertAlmostEqual(x / w, ADD[0] / FORM[0], delta=0.01)
        p.click(p.count_label())
        credits = wait_for("the about window", p.credits)
        for label in (p.count_label(), p.add_label(), credits):
            self.assertTrue(p.call(label, FITS), f"cut off: {label.name}")
        self.shot("large-text-about")



def program_files(folder):
    """The program's script and WebAssembly, which work only with each other, as the worker names them."""
    with open(os.path.join(folder, "sw.js"), encoding="utf-8") as f:
        named = json.loads(re.search(r"const hashedFiles = (.*);", f.read()).group(1))
    return {name for name in named if name.startswith("bargeling.")}


def deploy_second_build(folder, page=True):
    """Deploys over the site in folder a second build: the program with a section of its own in its
    WebAssembly (a custom section, which changes nothing it does), made into a site by make-site as
    the build makes one. The host's animal file stays; without page, so does the first build's page,
    as an edge cache serves it until it is purged."""
    with open(os.path.join(folder, "index.html"), "rb") as f:
        first_page = f.read()
    with tempfile.TemporaryDirectory() as program:
        shutil.copytree(PROGRAM, program, dirs_exist_ok=True)
        name, payload = b"build", b"2"
        with open(os.path.join(program, "bargeling.wasm"), "ab") as f:
            f.write(bytes([0, 1 + len(name) + len(payload), len(name)]) + name + payload)
        shutil.copy(os.path.join(folder, "tips.txt"), os.path.join(program, "tips.txt"))
        subprocess.run(["python3", MAKE_SITE, program, os.path.dirname(MAKE_SITE), folder], check=True)
    if not page:
        with open(os.path.join(folder, "index.html"), "wb") as f:
            f.write(first_page)


def png_size(path):
    with open(path, "rb") as f:
        return struct.unpack(">8x8xII", f.read(24))  # the IHDR chunk's width and height


class App(WebTest):
    """The site as an app: installable, kept for playing offline after one visit, never held up by
    a network that does not answer, and up to date with the host."""

    def visit(self, *animals):
        self.write_animals(*animals)
        p = self.start()
        p.kept_for_offline()
        return p

    def manifest(self):
        """The manifest, which lies beside the page: its relative addresses are the page's."""
        with open(self.site.path("manifest.webmanifest"), encoding="utf-8") as f:
            return json.load(f)

    def test_installable(self):
        p = self.visit("Ku")
        self.assertEqual(p.cdp("Page.getInstallabilityErrors")["installabilityErrors"], [])
        manifest = self.manifest()
        self.assertEqual([manifest[k] for k in ("name", "short_name", "lang", "display")], ["Bargeling 2000", "Bargeling", "nb", "standalone"])
        self.assertEqual([urllib.parse.urljoin(self.site.url, manifest[k]) for k in ("start_url", "scope")], [self.site.url] * 2)
        self.assertEqual(p.js("return document.querySelector('meta[name=theme-color]').content"), manifest["theme_color"])
        icons = [(i["src"], i["sizes"], i.get("purpose", "any")) for i in manifest["icons"] if i["type"] == "image/png"]
        icons.append((p.js("return document.querySelector('link[rel=apple-touch-icon]').getAttribute('href')"), "180x180", "any"))
        self.assertTrue({"192x192", "512x512"} <= {size for _, size, purpose in icons if purpose == "any"}, icons)
        for src, sizes, purpose in icons:
            width, height = png_size(self.site.path(src))
            self.assertEqual(f"{width}x{height}", sizes, src)
            if purpose == "maskable":
                # Only the ground outside the safe zone, the middle circle of four fifths of the width.
                outside = subprocess.run(
                    ["convert", self.site.path(src), "+antialias", "-fill", "black", "-draw",
                     f"circle {width / 2},{height / 2} {width / 2},{height / 2 - 0.4 * width}", "-unique-colors", "txt:-"],
                    capture_output=True, text=True, check=True).stdout
                self.assertEqual({line.split()[2][:7] for line in outside.splitlines()[1:]}, {"#000000", "#BFE4F6"}, src)
        self.assertIn("maskable", {purpose for _, _, purpose in icons})

    def test_offline(self):
        """A first visit, then no server: the start URL opens the game, with that visit's animals."""
        p = self.visit("Offline-okse")
        self.site.stop_serving()
        p.open(urllib.parse.urljoin(self.site.url, self.manifest()["start_url"]))
        self.throw(2)
        self.wait_count(AFLOAT.format(2))
        self.assertEqual(p.animals()[1], ["Offline-okse"] * 2)

    def test_first_visit_without_network(self):
        """The page without the program's script, or its WebAssembly: a Norwegian notice, no form."""
        shown = "return [...document.querySelectorAll('p[id^=notice]:not([hidden]), main:not([hidden])')].map(e => e.id || e.tagName)"
        for lost in (lambda f: True, lambda f: f.endswith(".wasm")):
            self.site.dropped = {"/" + f for f in program_files(self.site.folder) if lost(f)}
            with self.subTest(dropped=self.site.dropped):
                p = self.start(wait=False)
                wait_for("the notice in place of the form", lambda: p.js(shown) == ["notice-offline"])
                self.assertTrue(p.js("return document.getElementById('notice-offline').textContent").startswith(
                    "Bargeling 2000 kunne ikke hentes, for nettleseren er ikke på nett."))
                p.stop(check=False)  # the failed fetches are reported

    def test_network_that_never_answers(self):
        """After a visit, a server that takes every request and answers none: the stored game and animals."""
        p = self.visit("Lurvete lama")
        self.site.stalled = "*"
        started = time.monotonic()
        p.open(wait=False)
        wait_for("the main form", p.count_label, timeout=10)
        print(f"the game showed {time.monotonic() - started:.1f} s after the page was opened", file=sys.stderr)
        self.throw(2)
        self.wait_count(AFLOAT.format(2))
        self.assertEqual(p.animals()[1], ["Lurvete lama"] * 2)

    def watch_install(self, p):
        """From the page, follows the worker that the browser installs next, and keeps how its
        install ends: "activated", or "redundant" where it failed."""
        p.js("""navigator.serviceWorker.getRegistration().then(r => {
            const follow = (w) => {
                const end = () => ['activated', 'redundant'].includes(w.state) && (window.installEnded = w.state);
                end();
                w.addEventListener('statechange', end);
            };
            r.installing ? follow(r.installing) : r.addEventListener('updatefound', () => follow(r.installing));
        })""")

    def install_ended(self, p):
        return wait_for("the new worker's install to end", lambda: p.js("return window.installEnded"), timeout=40)

    def loaded_build(self, p, builds):
        """Which of the builds' program files the page has loaded, once it has loaded its program."""
        return wait_for("the program", lambda: len(found := set(p.js(LOADED)) & builds) == 2 and found, timeout=30)

    def test_fresh_from_a_host_that_caches(self):
        """With max-age=600: a new animal file at the next load; after a deploy, for a player who stays
        a second at each start, either build at the first load, never a mix, the second build at the
        next, and the first's files gone from the worker's store."""
        self.site.cache_control = "max-age=600"
        p = self.visit("Gammel gaupe")
        self.write_animals("Nytt neshorn")
        p.open()
        self.assertEqual(self.throw_one(), ["Nytt neshorn"])

        first = program_files(self.site.folder)
        deploy_second_build(self.site.folder)
        second = program_files(self.site.folder)
        self.assertEqual((len(first), len(second), first & second), (2, 2, set()))
        started = time.monotonic()
        p.open()
        self.assertIn(self.loaded_build(p, first | second), (first, second))
        time.sleep(max(0.0, 1.0 - (time.monotonic() - started)))
        p.open()
        self.assertEqual(self.loaded_build(p, first | second), second, "the second build does not run at the second load")
        self.throw_one()
        # Which of the files a store holds, read with caches.match: caches.open would make anew a store
        # that the worker deletes meanwhile.
        kept = "const [store, files, done] = arguments; Promise.all(files.map(f => caches.match(f, {cacheName: store})))" \
               ".then(found => done(files.filter((f, i) => found[i])))"
        wait_for("the second build kept, the first gone", lambda: {
            f for store in p.kept_for_offline() for f in p.driver.execute_async_script(kept, store, sorted(first | second))} == second)

    def test_failed_install(self):
        """A second build whose worker's install fails: where its page is not served beside its files
        yet (a deploy seen in halves, as an edge cache serves the old page until it is purged), or
        where tips.txt stalls. The worker in use keeps working, online and then offline, with the
        page and files of one build."""
        for case, page, stalled in (("halves", False, None), ("stalled", True, {"/tips.txt"})):
            with self.subTest(case):
                self.site = Site(SITE, cache_control="max-age=600")
                self.addCleanup(self.site.stop)
                p = self.visit("Treg tiger")
                first = program_files(self.site.folder)
                deploy_second_build(self.site.folder, page)
                every = first | program_files(self.site.folder)
                self.site.stalled = stalled
                for online in (True, False):
                    if not online:
                        self.assertEqual(self.install_ended(p), "redundant", "the second build's worker installed")
                    p.open()
                    self.watch_install(p)
                    self.assertIn(self.loaded_build(p, every), (first, every - first) if online else (first,))
                    self.assertEqual(self.throw_one(), ["Treg tiger"])
                    self.site.stop_serving()
                p.stop()

    def test_store_gone_while_its_worker_lives(self):
        """The worker's store deleted while the worker stays: the game starts online, the next fetches
        fill the store again, and then it plays offline."""
        p = self.visit("Borte bjørn")
        p.driver.execute_async_script("const done = arguments[0];"
                                      " caches.keys().then(names => Promise.all(names.map(n => caches.delete(n)))).then(done)")
        p.open()
        self.throw_one()
        p.kept_for_offline()
        self.site.stop_serving()
        p.open()
        self.assertEqual(self.throw_one(), ["Borte bjørn"])

    def test_fresh_without_a_worker(self):
        """No worker (sw.js answers 404) and a host that sends max-age=600: a new tips.txt at the
        next load all the same."""
        self.site.cache_control = "max-age=600"
        os.remove(self.site.path("sw.js"))
        self.write_animals("Gammel gaupe")
        p = self.start()
        self.throw_one()
        self.write_animals("Nytt neshorn")
        p.open()
        self.assertEqual(self.throw_one(), ["Nytt neshorn"])

    def test_stored_page_whose_program_is_gone(self):
        """A page from the worker's store that names a program gone from the server and from every
        cache, its script or its WebAssembly: the page fetches the new build, and shows no notice."""
        for gone in (".js", ".wasm"):
            with self.subTest(gone=gone):
                self.site = Site(SITE, cache_control="max-age=600")
                self.addCleanup(self.site.stop)
                p = self.visit("Ny nebbmus")
                first = program_files(self.site.folder)
                lost = [f for f in first if f.endswith(gone)]
                p.driver.execute_async_script("const [lost, done] = arguments; caches.keys().then(names => Promise.all("
                                              "names.map(n => caches.open(n).then(c => Promise.all(lost.map(f => c.delete(f))))))).then(done)", lost)
                p.cdp("Network.clearBrowserCache")
                deploy_second_build(self.site.folder)
                second = program_files(self.site.folder)
                p.open()
                wait_for("the second build", lambda: set(p.js(LOADED)) & (first | second) == second, timeout=30)
                self.throw_one()
                self.assertEqual(p.js("return [...document.querySelectorAll('.notice:not([hidden])')].map(e => e.id)"), [])
                p.stop()


class Audits(WebTest):
    """The web's own auditors: axe-core finds nothing to flag, on a phone and on a desktop, at start,
    with animals, with the about window open and with a message open; Lighthouse scores
    accessibility, best practices and SEO at full marks, on its phone and its desktop profile."""

    def test_axe(self):
        for metrics in ({**PHONE, "width": 412}, None):
            with self.subTest(metrics=metrics):
                p = self.start(metrics, touch=metrics is not None)
                found = {"start": axe(p.driver)}
                self.throw(3)
                self.wait_count(AFLOAT.format(3))
                found["animals"] = axe(p.driver)
                p.click(p.count_label())
                wait_for("the about window", p.credits)
                found["about window"] = axe(p.driver)
                self.throw(47)
                wait_for("the message at 50", p.message)
                found["message"] = axe(p.driver)
                self.assertEqual({state: flagged for state, flagged in found.items() if flagged}, {})
                p.stop()

    def test_lighthouse(self):
        self.site.cache_control = "max-age=600"
        for profile in ("mobile", "desktop"):
            with self.subTest(profile=profile):
                report = lighthouse(self.site.url, profile)
                scores = {name: category["score"] for name, category in report["categories"].items()}
                failed = [a["id"] for a in report["audits"].values() if a.get("scoreDisplayMode") == "binary" and a["score"] == 0]
                self.assertEqual(scores, dict.fromkeys(scores, 1), failed)


# The table's keys, as WebDriver codes them.
KEYS = {"Up": "\ue013", "Down": "\ue015", "End": "\ue010", "Tab": "\ue004", "space": "\ue00d", "Return": "\ue006", "s": "s"}


def served(tips):
    """A fresh copy of the site, served, with the tips.txt of a case of the table."""
    site = Site(SITE)
    if tips is None:
        os.remove(site.path("tips.txt"))
    elif tips is not behaviours.BUNDLED:
        with open(site.path("tips.txt"), "w", encoding="utf-8") as f:
            f.write("".join(line + "\n" for line in tips))
    return site


class PagePlayer(behaviours.Player):
    """Plays a case of the table through an engine's WebDriver: real pointer and key input, at the
    spots of the viewport that in_page.js finds, and what is seen read from the page's elements and
    their ARIA (in_page.js). A screen reader's press is the events that Chromium's default
    accessibility action dispatches, at the label's element."""

    engine = None

    def __init__(self, test):
        self.test = test

    def page(self, function, *arguments):
        return self.driver.execute_script(f"return ({IN_PAGE}).{function}(...arguments)", *arguments)

    def click(self, label, run=1):
        click_at(self.driver, *self.page("spot", label), repeat=run)

    def throw(self, times):
        throw_at(self.driver, *self.page("spot", "add"), times)

    def press(self, label):
        self.page("press", label)

    def key(self, name):
        key(self.driver, KEYS[name])

    def dismiss(self):
        click_at(self.driver, *self.page("spot", "OK"))

    def shot(self):
        path = os.path.join(SHOTS, f"web-{self.engine}-{self.test._testMethodName}.png")
        os.makedirs(SHOTS, exist_ok=True)
        self.driver.save_screenshot(path)


for _key in ("title", "count", "add", "animals", "items", "selected", "message", "about", "credits", "listName", "layout"):
    setattr(PagePlayer, _key, lambda self, key=_key: self.page("see", key))


class ChromiumPlayer(PagePlayer):
    """In headless Chromium, reading what a screen reader reads, from Chromium's accessibility tree,
    and places and sizes from the page. A message leaves the form out of that tree, all of it, names
    included: what shows of the form behind it is read from the page, and a screen reader's press
    goes to the label's node as it was read before the message."""

    engine = "Chromium"

    def start(self, tips):
        self.site = served(tips)
        self.test.addCleanup(self.site.stop)
        self.program = WebProgram(self.site)
        self.test.addCleanup(self.program.stop, check=False)
        self.driver = self.program.driver
        self.known = {}
        wait_for("the add label", lambda: self.page("ready"))

    def stop(self):
        self.shot()
        self.program.stop()  # fails on an error that the page reported

    def press(self, label):
        node = getattr(self.program, {"count": "count_label", "add": "add_label", "credits": "credits"}[label])()
        self.known[label] = node = node or self.known[label]
        self.program.press(node)

    def title(self):
        return self.program.title()

    def count(self):
        return node.name if (node := self.program.count_label()) else self.page("see", "count")

    def add(self):
        return node.name if (node := self.program.add_label()) else self.page("see", "add")

    def animals(self):
        return self.program.animals()[0] if self.program.listbox() else self.page("see", "animals")

    def items(self):
        return self.program.animals()[1] if self.program.listbox() else self.page("see", "items")

    def selected(self):
        return self.program.animals()[2] if self.program.listbox() else self.page("see", "selected")

    def listName(self):
        return (node := self.program.listbox()) and node.name

    def credits(self):
        return (node := self.program.credits()) and node.name

    def about(self):
        return "hidden" if self.program.credits() is None else self.page("see", "about")

    def message(self):
        boxes = [b for role in ("dialog", "alertdialog") for b in self.program.tree().find_all(role)]
        if len(boxes) != 1:
            return (f"{len(boxes)} messages", "", []) if boxes else None
        box, icon = boxes[0], " (with an icon)" if boxes[0].find_all("image") else ""
        return box.name + icon, box.data.get("description", {}).get("value", ""), [b.name for b in box.find_all("button")]


class WebKitPlayer(PagePlayer):
    """In WebKitGTK, Safari's engine, whose driver reads no accessibility tree. Its driver refuses a
    click on an element that a modal message covers, but takes pointer actions at points of the
    viewport there too, which is how every click here is given. It reports no error of the page:
    Chromium's and Firefox's cases catch those."""

    engine = "WebKit"

    def start(self, tips):
        self.site = served(tips)
        self.test.addCleanup(self.site.stop)
        self.driver = webkitgtk()
        self.test.addCleanup(self.driver.quit)
        self.driver.get(self.site.url)
        wait_for("the main form", lambda: self.page("ready"), timeout=30)

    def stop(self):
        self.shot()


ChromiumBehaviours = behaviours.table(ChromiumPlayer)
WebKitBehaviours = behaviours.table(WebKitPlayer)


if __name__ == "__main__":
    cases = [a for a in sys.argv[1:] if not a.startswith("-")] or ["Chromium", "WebKit", "Audits"]
    needs(SITE, *sorted({next((e for e in ("WebKit", "Audits") if c.startswith(e)), "Chromium") for c in cases}))
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(0 if result.wasSuccessful() else 1)
