# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""End-to-end on Wayland: the real program in weston, with Qt's own title bar. The table of
behaviours (behaviours.json) is played by WaylandPlayer; Maximize is Wayland's own: the window
maximized and restored from that title bar's buttons as a user would, with real pointer input.

Weston runs on its X11 backend inside the test's own X server, so xdotool's pointer reaches it
and a screenshot of the X screen shows what weston shows. Weston places windows at random: they
are found on the screenshots by colour, the forms by their Base colour (white), title bars and
message boxes by the Window colour of Qt's default palette. What the program holds is read over
AT-SPI, which on Wayland works as on X11: it is D-Bus.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import behaviours  # noqa: E402
import harness  # noqa: E402
from harness import ABOUT, AFLOAT, MAIN, screenshot, skip, skip_without, spot_clear_of, stays, wait_for  # noqa: E402

PROGRAM = os.environ.get("BARGELING_PROGRAM", "build/bargeling")
SHOTS = os.environ.get("BARGELING_SHOTS", "build/e2e-shots")
QT_PLUGINS = os.environ.get("BARGELING_QT_PLUGINS", "")


# Weston's output and its desktop-shell panel; a maximized window fills what lies below it.
OUTPUT_WIDTH, OUTPUT_HEIGHT, PANEL = 1280, 1000, 32
WORK_AREA = (0, PANEL, OUTPUT_WIDTH, OUTPUT_HEIGHT - PANEL)
# Qt 6.4's own title bar ("bradient"): frame margins left, top, right, bottom around the window,
# and its buttons' centres from the frame's top-right corner.
LEFT, TOP, RIGHT, BOTTOM = 3, 30, 3, 3
CLOSE, MAXIMIZE = (-17, 15), (-40, 15)

WHITE = "rgb(255,255,255)"  # the palette's Base: the forms
GREY = "rgb(239,239,239)"  # the palette's Window: title bars and message boxes
MAIN_SIZE, ABOUT_SIZE = (449, 213), (312, 213)
ADD_LABEL = (304, 112, 121, 81)  # where the form places the add label


def qt_has_wayland():
    folders = [QT_PLUGINS] + os.environ.get("QT_PLUGIN_PATH", "").split(os.pathsep)
    return any(os.path.exists(os.path.join(folder, "platforms", "libqwayland-generic.so"))
               and os.path.exists(os.path.join(folder, "wayland-decoration-client", "libbradient.so"))
               for folder in folders if folder)


def skip_where_missing():
    skip_without("Xvfb", "weston", "dbus-daemon", "xdotool", "import", "convert")
    # Looked for, not imported: importing binds it to a bus, which must be the test's own.
    if not any(os.path.isdir(os.path.join(folder, "pyatspi")) for folder in sys.path if folder):
        skip("missing the AT-SPI bindings, python3-pyatspi (scripts/test installs them)")
    if not qt_has_wayland():
        skip("missing Qt's Wayland platform plugin, qt6-wayland (scripts/test installs it)")


def frame_of(content):
    """The title bar's frame around a window's content."""
    x, y, w, h = content
    return x - LEFT, y - TOP, w + LEFT + RIGHT, h + TOP + BOTTOM


def intersects(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


class Desktop:
    """Xvfb, weston on it, and a session bus with its accessibility bus."""

    def __init__(self):
        self.processes = []
        self.folder = tempfile.mkdtemp(prefix="bargeling-wayland-")  # made 0700, as weston wants
        xvfb = self.start(["Xvfb", "-displayfd", "1", "-screen", "0", f"{OUTPUT_WIDTH}x{OUTPUT_HEIGHT + 24}x24",
                           "-nolisten", "tcp", "-noreset"], stdout=subprocess.PIPE)
        os.environ["DISPLAY"] = ":" + xvfb.stdout.readline().decode().strip()
        bus = self.start(["dbus-daemon", "--session", "--nofork", "--print-address=1"], stdout=subprocess.PIPE)
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
        os.environ["XDG_RUNTIME_DIR"] = self.folder
        self.socket = "bargeling-test"
        self.log = os.path.join(self.folder, "weston.log")
        self.weston = None
        self.start_weston()
        import pyatspi  # binds to the accessibility bus of the session bus above
        self.atspi = pyatspi
        harness.atspi_bound(pyatspi)
        pyatspi.Registry.getDesktop(0).childCount  # starts the accessibility bus before the program

    def start_weston(self):
        """Starts weston, or starts it afresh: each weston places new windows at random from the
        same sequence, so that a fresh one puts the same windows in the same places."""
        if self.weston:
            self.processes.remove(self.weston)
            self.weston.terminate()
            self.weston.wait(10)
        with open(self.log, "w") as log:
            self.weston = self.start(["weston", "--backend=x11-backend.so", "--use-pixman",
                                      f"--width={OUTPUT_WIDTH}", f"--height={OUTPUT_HEIGHT}",
                                      f"--socket={self.socket}", "--idle-time=0"], stdout=log, stderr=log)
        try:
            wait_for("weston's socket", lambda: os.path.exists(os.path.join(self.folder, self.socket)))
            # Its panel is drawn once its shell runs; until then clicks go nowhere.
            wait_for("weston's panel", lambda: self.colour_at(OUTPUT_WIDTH - 5, 5) not in ("", "srgb(0,0,0)"), 20)
        except AssertionError:
            print(self.weston_log())
            self.stop()
            raise

    def start(self, command, **streams):
        process = subprocess.Popen(command, stderr=streams.pop("stderr", subprocess.DEVNULL), **streams)
        self.processes.append(process)
        return process

    def stop(self):
        for process in reversed(self.processes):
            process.terminate()
            process.wait(10)
            if process.stdout:
                process.stdout.close()
        shutil.rmtree(self.folder, ignore_errors=True)

    def weston_log(self):
        with open(self.log, errors="replace") as log:
            return log.read()

    # What the screen shows.

    def shoot(self, path=None):
        path = path or os.path.join(self.folder, "screen.png")
        subprocess.run(["import", "-window", "root", path], check=True)
        return path

    def colour_at(self, x, y):
        result = subprocess.run(["convert", self.shoot(), "-format", f"%[pixel:p{{{x},{y}}}]", "info:"],
                                capture_output=True, text=True)
        return result.stdout.strip()

    def areas(self, colour, shot=None, smallest=2000):
        """The connected areas of one colour on the screen, as (x, y, width, height)."""
        result = subprocess.run(
            ["convert", shot or self.shoot(), "-fill", "black", "+opaque", colour,
             "-define", "connected-components:verbose=true",
             "-define", f"connected-components:area-threshold={smallest}",
             "-connected-components", "4", "null:"], capture_output=True, text=True, check=True)
        found = []
        for line in result.stdout.splitlines()[1:]:
            fields = line.split()
            if fields[-1] != "srgb(0,0,0)":
                w, h, x, y = (int(v) for v in fields[1].replace("x", "+").split("+"))
                found.append((x, y, w, h))
        return found

    def area_sized(self, colour, size, shot=None):
        return [a for a in self.areas(colour, shot) if a[2:] == size]

    # Real pointer input, through the X server weston draws in.

    def click(self, x, y, repeat=1):
        self.clicks((x, y), run=repeat)

    def clicks(self, *spots, run=1):
        """Clicks at each spot in turn; run clicks at each, quick enough to pair into double-clicks."""
        # Weston's X11 backend moves its pointer by the X pointer's steps and takes its place
        # only when the X pointer enters its window: it comes in from the strip of the X screen
        # below weston's window, so that weston's pointer lands where the X pointer does.
        moves = ["mousemove", str(spots[0][0]), str(OUTPUT_HEIGHT + 12), "sleep", "0.1"]
        for x, y in spots:
            moves += ["mousemove", str(x), str(y), "sleep", "0.25" if len(moves) == 5 else "0.02",
                      "click", "--repeat", str(run), "--delay", "80", "1"]
        subprocess.run(["xdotool", *moves], check=True)

    def drag(self, start, end):
        """Moves the window under start by end - start, as weston moves any window: dragged with the
        Super key held."""
        (x, y), (ex, ey) = start, end
        subprocess.run(["xdotool", "mousemove", str(x), str(OUTPUT_HEIGHT + 12), "sleep", "0.1",
                        "mousemove", str(x), str(y), "sleep", "0.25", "keydown", "super", "mousedown", "1", "sleep", "0.1",
                        "mousemove", str((x + ex) // 2), str((y + ey) // 2), "sleep", "0.1", "mousemove", str(ex), str(ey),
                        "sleep", "0.2", "mouseup", "1", "keyup", "super"], check=True)


DESKTOP = None  # one X server and session bus for the test process: the AT-SPI client binds to its bus once


def setUpModule():
    global DESKTOP
    DESKTOP = Desktop()


def tearDownModule():
    DESKTOP.stop()


class Game(harness.SeenByScreenReader):
    """The real program on weston, read over AT-SPI."""

    def __init__(self, desktop, program=PROGRAM):
        self.desktop = desktop
        self.errors = tempfile.TemporaryFile()
        environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "QT_STYLE_OVERRIDE")}
        environment.update(QT_QPA_PLATFORM="wayland", WAYLAND_DISPLAY=desktop.socket,
                           QT_WAYLAND_DECORATION="bradient", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.process = subprocess.Popen([os.path.abspath(program)], env=environment, cwd="/",
                                        stderr=self.errors)
        self.app = wait_for("the program on the accessibility bus", self.find_app, 20)

    def find_app(self):
        for app in self.desktop.atspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.process.pid:
                app.set_cache_mask(0)  # names change with every click: never read them from a cache
                if harness.Node(app).find("frame", MAIN):
                    return harness.Node(app)
        return None

    def stderr(self):
        self.errors.seek(0)
        return self.errors.read().decode(errors="replace")

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGKILL)
        self.process.wait(10)
        self.errors.close()

    def runs(self):
        return self.process.poll() is None

    def press(self, label):
        self.node(label).do_action("Press")


class WaylandPlayer(harness.SeenByScreenReader, behaviours.Player):
    """What differs from X11, and why: a Wayland client can neither place its windows nor learn
    where the compositor put them, and AT-SPI's places are within each window. So the windows are
    found on a screenshot by colour, and the controls clicked at AT-SPI's places within them; the
    about window's "beside" can only mean shown and whole on the screen. Each case has a weston of
    its own, which puts its windows in the same places every run."""

    def __init__(self, test):
        self.test, self.desktop = test, DESKTOP

    def start(self, tips):
        self.desktop.start_weston()
        self.folder = tempfile.mkdtemp(prefix="bargeling-table-")
        self.game = Game(self.desktop, PROGRAM if tips is behaviours.BUNDLED
                         else harness.program_beside(os.path.abspath(PROGRAM), tips, self.folder))
        self.app = self.game.app
        self.form = wait_for("the main form on the screen", lambda: self.main_on_screen(self.desktop.shoot()))

    def stop(self):
        try:
            screenshot(os.path.join(SHOTS, f"Wayland-{self.test._testMethodName}.png"))
            if self.message_box():
                self.dismiss()
            self.desktop.click(self.form[0] + self.form[2] + RIGHT + CLOSE[0], self.form[1] - TOP + CLOSE[1])
            status = self.game.process.wait(10)
            report = harness.SANITIZER_REPORT.search(self.game.stderr())
            assert status == 0 and not report, f"the game ended with status {status}:\n{self.game.stderr()[-4000:]}"
        finally:
            self.game.stop()
            shutil.rmtree(self.folder)

    def main_on_screen(self, shot):
        """The main form: a white area in a title bar's frame, the first time; later, of its size."""
        grey = self.desktop.areas(GREY, shot)
        return next((a for a in self.desktop.areas(WHITE, shot) if frame_of(a) in grey
                     and (not hasattr(self, "form") or a[2:] == self.form[2:])), None)

    def on_screen(self, colour, size):
        """Where a window of this colour and size shows whole on the screen. Where weston put it on
        the main window, so that neither shows whole, the main window is dragged clear of it, to one
        corner after another."""
        w, h = self.form[2:]
        corners = iter([(LEFT, PANEL + TOP), (OUTPUT_WIDTH - RIGHT - w, OUTPUT_HEIGHT - BOTTOM - h),
                        (OUTPUT_WIDTH - RIGHT - w, PANEL + TOP), (LEFT, OUTPUT_HEIGHT - BOTTOM - h)])
        for _ in range(10):
            shot = self.desktop.shoot()
            main, found = self.main_on_screen(shot), [a for a in self.desktop.areas(colour, shot) if a[2:] == size]
            self.form = main or self.form
            if main and len(found) == 1:
                return found[0]
            corner = None if main else next(corners, None)
            if corner:
                self.desktop.drag((self.form[0] + w // 2, self.form[1] + h // 2), (corner[0] + w // 2, corner[1] + h // 2))
            else:
                time.sleep(0.1)  # not drawn yet, or not whole
        return None

    def place(self, node, window, at):
        x, y, w, h = node.extents()
        return at[0] + x - window[0], at[1] + y - window[1], w, h

    def message_on_screen(self):
        box = self.message_box()
        if box is None:
            return None
        return box, wait_for("the message on the screen", lambda: self.on_screen(GREY, tuple(frame_of(box.extents())[2:])))

    def click(self, label, run=1):
        node, shown = self.node(label), self.message_on_screen()
        if label == "credits":
            frame = self.app.find("frame", ABOUT)
            at = wait_for("the about window on the screen", lambda: self.on_screen(WHITE, tuple(frame.extents()[2:])))
            rect = self.place(node, frame.extents(), at)
        else:
            rect = self.place(node, self.main_frame().extents(), self.form)
        self.desktop.clicks(spot_clear_of(rect, shown and shown[1]), run=run)

    def throw(self, times):
        x, y = spot_clear_of(self.place(self.node("add"), self.main_frame().extents(), self.form))
        self.desktop.clicks(*((x + (30 if i % 2 else -30), y) for i in range(times)))

    def press(self, label):
        self.node(label).do_action("Press")

    def key(self, name):
        subprocess.run(["xdotool", "key", name], check=True)

    def dismiss(self):
        box, at = wait_for("the message", self.message_on_screen)
        content = (at[0] + LEFT, at[1] + TOP)  # within the title bar's frame
        self.desktop.clicks(spot_clear_of(self.place(box.find("push button", "OK"), box.extents(), content)))
        wait_for("the message to close", lambda: self.message_box() is None)

    def about(self):
        frame = self.app.find("frame", ABOUT)
        if frame is None or "showing" not in frame.states():
            return "hidden"
        return "beside" if self.on_screen(WHITE, tuple(frame.extents()[2:])) else "shown, not whole on the screen"

    def layout(self):
        return dict(super().layout(), form=list(self.form[2:]))


class Behaviours(behaviours.table(WaylandPlayer)):
    """The table, on Wayland, weston afresh for each case."""


class Maximize(unittest.TestCase):
    def setUp(self):
        self.desktop = DESKTOP
        self.desktop.start_weston()  # where it puts the windows depends on what it put before
        self.game = Game(self.desktop)

    def tearDown(self):
        self.game.stop()

    def shot(self, name):
        path = os.path.join(SHOTS, f"Wayland-{name}.png")
        screenshot(path)
        return path

    def assert_alive(self, after):
        self.assertTrue(stays(self.game.runs, 0.5),
                        f"the game ended after {after}, status {self.game.process.poll()}:\n{self.game.stderr()}")

    def wait_screen(self, what, find, timeout=10):
        """Waits until the screen shows something, and returns what the finder made of it."""
        def look():
            if not self.game.runs():
                self.fail(f"the game ended, status {self.game.process.poll()}, while waiting for {what}:\n"
                          + self.game.stderr())
            return find(self.desktop.shoot())
        try:
            return wait_for(what, look, timeout)
        except AssertionError:
            self.shot("failed-" + what.replace(" ", "-"))
            raise

    def main_content(self):
        def find(shot):
            normal = self.desktop.area_sized(WHITE, MAIN_SIZE, shot)
            return normal[0] if len(normal) == 1 else None
        return self.wait_screen("the main window", find)

    def about_window(self):
        """Where the about window shows, if it stands clear of the main window's content."""
        def find(shot):
            about = self.desktop.area_sized(WHITE, ABOUT_SIZE, shot)
            return len(about) == 1 and len(self.desktop.area_sized(WHITE, MAIN_SIZE, shot)) == 1 and about[0]
        try:
            return self.wait_screen("the about window", find, 3)
        except AssertionError:
            return None  # on the main window: the two are one white area

    def test_title_bar_buttons_end_nothing(self):
        g, d = self.game, self.desktop
        main = self.main_content()
        # Qt draws its own title bar: the test is about its buttons.
        self.assertIn(frame_of(main), d.areas(GREY), "no title bar drawn by Qt around the main window")
        for _ in range(49):
            g.press("add")
        wait_for("49 animals", lambda: g.count() == AFLOAT.format(49))

        # The 50th opens a message box, which has the maximize button too.
        g.press("add")
        box = wait_for("the message at 50", g.message_box)
        ok = wait_for("its OK button", lambda: box.find("push button", "OK"))
        normal_box = self.wait_screen("the message box", lambda shot: next(
            (a for a in d.areas(GREY, shot) if a != frame_of(main) and a[2] > 100 and a[3] > TOP + 40), None))
        self.shot("message")
        d.click(normal_box[0] + normal_box[2] + MAXIMIZE[0], normal_box[1] + MAXIMIZE[1])
        self.wait_screen("the message box maximized", lambda shot: WORK_AREA in d.areas(GREY, shot))
        self.assert_alive("maximizing the message box")
        self.shot("message-maximized")
        d.click(OUTPUT_WIDTH + MAXIMIZE[0], PANEL + MAXIMIZE[1])
        self.wait_screen("the message box restored", lambda shot: any(
            a[2:] == normal_box[2:] for a in d.areas(GREY, shot)))
        self.assert_alive("restoring the message box")
        ok.do_action("Press")
        wait_for("the message to close", lambda: g.message_box() is None)
        animals = g.items()
        self.assertEqual(len(animals), 50)
        self.assertEqual(g.count(), AFLOAT.format(50))

        # The about window, where it leaves the main window's title bar, its maximized restore
        # button and its centred add label free; weston puts it somewhere else each time.
        main = self.main_content()
        maximized = (WORK_AREA[0] + LEFT, WORK_AREA[1] + TOP, WORK_AREA[2] - LEFT - RIGHT, WORK_AREA[3] - TOP - BOTTOM)
        add = (maximized[0] + (maximized[2] - MAIN_SIZE[0]) // 2 + ADD_LABEL[0],
               maximized[1] + (maximized[3] - MAIN_SIZE[1]) // 2 + ADD_LABEL[1]) + ADD_LABEL[2:]
        keep_free = [frame_of(main), (OUTPUT_WIDTH - 70, PANEL, 70, TOP), add]
        for _ in range(15):
            g.press("count")
            credits = wait_for("the about window", lambda: g.app.find("frame", ABOUT) and g.node("credits"))
            about = self.about_window()
            if about and not any(intersects(about, area) for area in keep_free):
                break
            credits.do_action("Press")
            self.wait_screen("the about window hidden", lambda shot: not d.area_sized(WHITE, ABOUT_SIZE, shot)
                             and len(d.area_sized(WHITE, MAIN_SIZE, shot)) == 1)
        else:
            self.fail("weston never put the about window clear of the main window")
        self.shot("about")

        # The maximize button of the main window.
        d.click(main[0] + main[2] + RIGHT + MAXIMIZE[0], main[1] - TOP + MAXIMIZE[1])
        self.wait_screen("the main window maximized", lambda shot: maximized in d.areas(WHITE, shot))
        self.assert_alive("maximizing the main window")
        self.shot("maximized")
        # Its controls kept their size, centred: the add label is where the centring puts it.
        d.click(add[0] + 60, add[1] + 40)
        wait_for("a 51st animal", lambda: g.count() == AFLOAT.format(51))
        self.assertEqual(g.items()[:50], animals)

        # The same button, now restore.
        d.click(OUTPUT_WIDTH + MAXIMIZE[0], PANEL + MAXIMIZE[1])
        main = self.main_content()
        self.assert_alive("restoring the main window")
        self.shot("restored")

        # A double-click on the title bar: Qt 6.4's title bar ignores it, a later one may maximize.
        d.click(main[0] + 150, main[1] - TOP + 15, repeat=2)
        self.assertTrue(stays(self.game.runs, 1.5), f"the game ended after a double-click:\n{g.stderr()}")
        self.shot("double-click")
        if maximized in d.areas(WHITE):
            main = maximized

        self.assertEqual(g.animals(), 51)
        self.assertEqual(g.items()[:50], animals)
        self.assertEqual(g.count(), AFLOAT.format(51))
        # The about window kept its size and has no title bar.
        self.assertIsNotNone(g.app.find("frame", ABOUT))
        self.assertEqual(d.area_sized(WHITE, ABOUT_SIZE), [about])
        self.assertNotIn(frame_of(about), d.areas(GREY))

        # Closed from the title bar's close button, the game ends as it should.
        d.click(main[0] + main[2] + RIGHT + CLOSE[0], main[1] - TOP + CLOSE[1])
        self.assertEqual(g.process.wait(10), 0)
        self.assertNotIn("Protocol error", g.stderr())


if __name__ == "__main__":
    skip_where_missing()
    unittest.main(verbosity=2)
