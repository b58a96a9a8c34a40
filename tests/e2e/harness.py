# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Runs the real program under its own X server, window manager and session bus, clicks with
real X input (xdotool) and reads what the program shows through AT-SPI, as a screen reader would.

One X server, one window manager, one session bus and one accessibility bus serve a whole test
process (the AT-SPI client binds to its bus when it is first imported); each test starts a
program of its own and ends it as a user does, through the window manager's close.

The browser program needs none of that: WebProgram plays a served copy of its site in headless
Chromium and reads it through Chromium's own accessibility tree.
"""

import functools
import http.server
import importlib.util
import io
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

try:
    from Xlib import X, Xatom, display
except ImportError:  # only the desktop needs them: start_desktop() skips without them
    X = Xatom = display = None

# What the program shows, as the tests read it.
MAIN = "Bargeling 2000"
ABOUT = "Om Vombrel 2k3k"
MESSAGE_TITLE = "Bargeling 2.0"
AFLOAT = "Antall dyr på arken: {}"
SUNK = "Antall dyr spist av krokodiller: {}"
MESSAGES = {
    50: "jaggu du har vist greid å stappe inn 50 dyr i Arken til Noah",
    75: "Tobad du kjenner ikke din begrensning 75 dyr i arken er så mye at Arken til Noah synker! SHAEM ON YUO!!!!11",
    76: "Du har slengt på 76 dyr, siden Arken til Noah er sunket blir disse spist av krokodillene, SADIST!!!!!!1",
}

_server = None
_bus = None
_window_manager = None
_pyatspi = None

# What AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer print when they find a fault.
SANITIZER_REPORT = re.compile(r"ERROR: \w+Sanitizer|SUMMARY: \w+Sanitizer|runtime error: ")

# What CTest takes for a skipped test.
SKIP = 77


def in_ci():
    """CI sets CI=true (.ci/run does where the CI service does not)."""
    return os.environ.get("CI") == "true"


def skip(missing, test=None):
    """A test that cannot run, for want of what it names in one line: skipped on a developer's
    machine (the process ends with SKIP, or the unittest case given skips), failed under CI, where
    everything must be installed and built, so that a run that skipped cannot pass for one that
    tested."""
    if in_ci():
        if test is not None:
            test.fail(f"cannot run under CI: {missing}")
        print(f"FAIL: cannot run under CI: {missing}", flush=True)
        sys.exit(1)
    if test is not None:
        test.skipTest(missing)
    print(f"SKIP: {missing}", flush=True)
    sys.exit(SKIP)


def skip_without(*tools):
    """Ends the test process as skipped (failed under CI) when a tool it needs is not installed."""
    for tool in tools:
        if shutil.which(tool) is None:
            skip(f"missing tool: {tool} (scripts/test installs it)")


def start_desktop(width=1280, height=960, accessibility=True):
    """Starts Xvfb and a session bus and points this process at them; without accessibility (the
    Windows program under Wine is read through the Windows API instead), only Xvfb."""
    global _server, _bus, _window_manager, _pyatspi
    if display is None:
        skip("missing the X bindings, python3-xlib (scripts/test installs them)")
    skip_without("Xvfb", "xdotool", "import", "openbox", "wmctrl")
    if accessibility:
        skip_without("dbus-daemon")
    # Only looked for here: importing it binds it to a bus, which must be the one started below.
    if accessibility and importlib.util.find_spec("pyatspi") is None:
        skip("missing the AT-SPI bindings, python3-pyatspi (scripts/test installs them)")
    _server = subprocess.Popen(
        ["Xvfb", "-displayfd", "1", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp", "-noreset"],
        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    os.environ["DISPLAY"] = ":" + _server.stdout.readline().decode().strip()
    # A window manager, as on every desktop: on a bare X server Qt now and then drops a close
    # request sent straight to its window while it is busy; closed through the window manager,
    # it never has.
    _window_manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
    wait_for("the window manager", _window_manager_running)
    if not accessibility:
        return
    _bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = _bus.stdout.readline().decode().strip()
    os.environ.pop("WAYLAND_DISPLAY", None)
    import pyatspi  # binds to the accessibility bus of the session bus above
    _pyatspi = pyatspi
    pyatspi.Registry.getDesktop(0).childCount  # starts the accessibility bus before any program


def _window_manager_running():
    x = display.Display()
    try:
        return x.screen().root.get_full_property(x.intern_atom("_NET_SUPPORTING_WM_CHECK"), Xatom.WINDOW)
    finally:
        x.close()


def stop_desktop():
    if os.environ.get("WINEPREFIX"):
        # The prefix's Wine processes are bound to this X server: they end with it.
        subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
    for process in (_window_manager, _bus, _server):
        if process:
            process.terminate()
            process.wait(10)
            if process.stdout:
                process.stdout.close()


def stays(predicate, seconds=1.0):
    """True when the predicate holds for the whole time: for checks that something does not happen."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not predicate():
            return False
        time.sleep(0.05)
    return bool(predicate())


def wait_for(what, predicate, timeout=10.0):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


def program_beside(executable, tips, folder):
    """A copy of the program in the folder, beside a tips.txt of these lines, or none for None:
    the program reads the one beside itself."""
    copy = os.path.join(folder, os.path.basename(executable))
    shutil.copy(executable, copy)
    if tips is not None:
        with open(os.path.join(folder, "tips.txt"), "w", encoding="utf-8") as f:
            f.writelines(line + "\n" for line in tips)
    return copy


def overlaps(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def inside(a, b):
    return b[0] <= a[0] and b[1] <= a[1] and a[0] + a[2] <= b[0] + b[2] and a[1] + a[3] <= b[1] + b[3]


def spot_clear_of(rect, *covers):
    """A spot of the rectangle that none of the others covers: its middle, else one near a corner."""
    x, y, w, h = rect
    spots = [(x + w // 2, y + h // 2)] + [(x + dx, y + dy) for dy in (8, h - 8) for dx in (8, w - 8)]
    spot = next((s for s in spots if not any(c and overlaps((*s, 1, 1), c) for c in covers)), None)
    if spot is None:
        raise AssertionError(f"{rect} is wholly covered by {covers}")
    return spot


def screenshot(path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    subprocess.run(["import", "-window", "root", path], check=True)


class DesktopPlayer:
    """What the table's players on an X server share: the program started afresh beside the case's
    tips.txt, clicks through xdotool that never pair where they are thrown apart, and an end that
    closes an open message first, as a window behind one takes no close. A player gives start() the
    program to start (launch), and says where a label stands on the screen (rect), and a message's
    box and its OK button (message_rect, ok_rect)."""

    def __init__(self, test, program, shots):
        self.test, self.program, self.shots = test, program, shots

    def start(self, tips):
        import behaviours
        self.folder = tempfile.mkdtemp(prefix="bargeling-table-")
        try:
            self.p = self.launch(self.program if tips is behaviours.BUNDLED else program_beside(self.program, tips, self.folder))
        except BaseException:
            shutil.rmtree(self.folder)
            raise

    def stop(self):
        try:
            screenshot(f"{self.shots}-{self.test._testMethodName}.png")
            if self.p.message():
                self.dismiss()
            self.p.stop()
        finally:
            shutil.rmtree(self.folder)

    def click(self, label, run=1):
        self.p.clicks(spot_clear_of(self.rect(label), self.p.message() and self.message_rect()), run=run)

    def throw(self, times):
        x, y = spot_clear_of(self.rect("add"))
        self.p.clicks(*((x + (30 if i % 2 else -30), y) for i in range(times)))

    def key(self, name):
        self.p.key(name)

    def dismiss(self):
        wait_for("the message", self.p.message)
        self.p.clicks(spot_clear_of(self.ok_rect()))
        wait_for("the message to close", lambda: self.p.message() is None)

    def beside(self, about):
        """"beside" where the about window's rectangle lies whole on the screen and clear of the main window."""
        main, screen = self.p.outer_rect(self.p.main), self.p.x.screen()
        whole = inside(about, (0, 0, screen.width_in_pixels, screen.height_in_pixels))
        return "beside" if whole and not overlaps(about, main) else f"shown at {about}, the main window at {main}"


class Node:
    """An accessible object, read afresh on every access (no stale cache)."""

    def __init__(self, accessible):
        self.accessible = accessible
        accessible.clear_cache()

    @property
    def name(self):
        return self.accessible.name

    @property
    def role(self):
        return self.accessible.getRoleName()

    def states(self):
        return {_pyatspi.stateToString(s) for s in self.accessible.getState().getStates()}

    def children(self):
        return [Node(c) for c in self.accessible if c is not None]

    def descendants(self):
        for child in self.children():
            yield child
            yield from child.descendants()

    def find(self, role, name=None):
        for node in self.descendants():
            if node.role == role and (name is None or node.name == name):
                return node
        return None

    def find_all(self, role):
        return [n for n in self.descendants() if n.role == role]

    def extents(self):
        e = self.accessible.queryComponent().getExtents(_pyatspi.DESKTOP_COORDS)
        return e.x, e.y, e.width, e.height

    def actions(self):
        action = self.accessible.queryAction()
        return [action.getName(i) for i in range(action.nActions)]

    def do_action(self, name):
        action = self.accessible.queryAction()
        for i in range(action.nActions):
            if action.getName(i) == name:
                return action.doAction(i)
        raise AssertionError(f"no action {name} on {self.role} {self.name!r}")


def atspi_bound(pyatspi):
    """Tells Node the AT-SPI bindings that a desktop has bound to its bus."""
    global _pyatspi
    _pyatspi = pyatspi


class SeenByScreenReader:
    """What a table player sees of the program through AT-SPI, as a screen reader does, from the
    program's accessible application, self.app (a Node). Places are read within the main window."""

    def main_frame(self):
        return next(f for f in self.app.children() if f.role == "frame" and f.find("list"))

    def node(self, label):
        if label == "credits":
            return self.app.find("frame", ABOUT).find("push button")
        return self.main_frame().find_all("push button")[0 if label == "count" else 1]

    def title(self): return self.main_frame().name
    def count(self): return self.node("count").name
    def add(self): return self.node("add").name
    def items(self): return [n.name for n in self.main_frame().find("list").children()]
    def animals(self): return len(self.items())
    def listName(self): return self.main_frame().find("list").name

    def selected(self):
        items = self.main_frame().find("list").children()
        return next((i for i, item in enumerate(items) if "selected" in item.states()), None)

    def message_box(self):
        """The one open message; None for none, a text for more."""
        boxes = [n for n in self.app.children() if n.role in ("alert", "dialog")]
        if len(boxes) == 1:
            return boxes[0]
        return f"{len(boxes)} messages" if boxes else None

    def message(self):
        box = self.message_box()
        if not isinstance(box, Node):
            return box
        shown = [n for n in box.descendants() if "showing" in n.states()]
        icon = any(n.role in ("image", "icon") or n.role == "label" and not n.name for n in shown)
        return (box.name + (" with an icon" if icon else ""), "\n".join(n.name for n in shown if n.role == "label"),
                [n.name for n in shown if n.role == "push button"])

    def credits(self):
        frame = self.app.find("frame", ABOUT)
        return frame and frame.find("push button").name

    def layout(self):
        x, y, width, height = self.main_frame().extents()
        place = lambda node: (lambda e: [e[0] - x, e[1] - y, e[2], e[3]])(node.extents())
        return {"form": [width, height], "list": place(self.main_frame().find("list")),
                "count": place(self.node("count")), "add": place(self.node("add"))}


class Program:
    """The real program, started from its build directory. Sanitizer options in the environment
    (ASAN_OPTIONS, LSAN_OPTIONS, UBSAN_OPTIONS) reach it unchanged."""

    def __init__(self, executable, env=None, cwd=None, args=()):
        environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        environment.update(env or {})
        # Kept to look for sanitizer reports once the program has ended, then passed on.
        self.stderr = tempfile.TemporaryFile()
        self.process = subprocess.Popen([executable, *args], env=environment, cwd=cwd or "/", stderr=self.stderr)
        self.x = display.Display()
        self.app = wait_for("the program on the accessibility bus", self._find_app)
        self.main = wait_for("the main window", lambda: self.window(MAIN))
        # A close asked for before the window manager took the window on would be lost.
        wait_for("the window manager to manage the main window", lambda: self.main.id in self._managed())

    def _find_app(self):
        for app in _pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.process.pid:
                app.set_cache_mask(0)  # names change with every click: never read them from a cache
                node = Node(app)
                if node.find("frame", MAIN):
                    return node
        return None

    def stop(self, timeout=60):
        """Ends the program as a user does, through the window manager's close of the main
        window. Fails when it is still running after the timeout (it is killed then), when it
        exits with a status other than 0, or when a sanitizer reported anything."""
        try:
            if self.process.poll() is None:
                self.close(self.main)
            status = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program was still running {timeout} s after its close; killed it") from None
        finally:
            # Only a timeout or a failed close leaves it running, and either fails the test.
            if self.process.poll() is None:
                self.process.kill()
                self.process.wait(10)
            self.x.close()
            self.stderr.seek(0)
            output = self.stderr.read().decode(errors="replace")
            self.stderr.close()
            sys.stderr.write(output)
        report = SANITIZER_REPORT.search(output)
        if report:
            raise AssertionError(f"sanitizer report from the program: {output[report.start():][:4000]}")
        if status != 0:
            raise AssertionError(f"the program exited with status {status}")

    def exit_status(self, timeout=60):
        return self.process.wait(timeout)

    # What assistive technology sees.

    def frame(self, title):
        return self.app.find("frame", title)

    def count_label(self):
        return self.frame(MAIN).find_all("push button")[0]

    def add_label(self):
        return self.frame(MAIN).find_all("push button")[1]

    def animals(self):
        return [n.name for n in self.frame(MAIN).find("list").children()]

    def message(self):
        for node in self.app.children():
            if node.role in ("alert", "dialog") and node.name == MESSAGE_TITLE:
                return node
        return None

    # Real X input.

    def click(self, node, dx=0, dy=0, repeat=1):
        x, y, w, h = node.extents()
        subprocess.run(["xdotool", "mousemove", "--sync", str(x + w // 2 + dx), str(y + h // 2 + dy),
                        "click", "--repeat", str(repeat), "--delay", "60", "1"], check=True)

    def click_at(self, x, y):
        subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"], check=True)

    def clicks(self, *spots, run=1):
        """Clicks at each spot in turn, in one run of xdotool; run clicks at each, quick enough to
        pair into double-clicks. (No --sync: xdotool would wait for a motion that never comes where
        Wine's pointer is already there; the X server moves the pointer before it clicks anyway.)"""
        subprocess.run(["xdotool", *(a for x, y in spots for a in ("mousemove", str(x), str(y), "click", "--repeat",
                                                                     str(run), "--delay", "60", "1"))], check=True)

    def key(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "40", *keys], check=True)

    # The X windows themselves.

    def window(self, title, parent=None, depth=3):
        """The program's top-level X window with this title: a child of the root window, or of a
        window manager's frame."""
        for child in (parent or self.x.screen().root).query_tree().children:
            try:
                if child.get_wm_name() == title:
                    return child
                found = depth > 1 and self.window(title, child, depth - 1)
                if found:
                    return found
            except Exception:
                continue
        return None

    def _managed(self):
        prop = self.x.screen().root.get_full_property(self.x.intern_atom("_NET_CLIENT_LIST"), Xatom.WINDOW)
        return list(prop.value) if prop else []

    def is_mapped(self, window):
        return window.get_attributes().map_state == X.IsViewable

    def geometry(self, window):
        """Position on the screen and size; the window manager's frame is not counted."""
        g = window.get_geometry()
        origin = self.x.screen().root.translate_coords(window, 0, 0)
        return origin.x, origin.y, g.width, g.height

    def size_hints(self, window):
        hints = window.get_wm_normal_hints()
        return (hints.min_width, hints.min_height), (hints.max_width, hints.max_height)

    def decorated(self, window):
        atom = self.x.intern_atom("_MOTIF_WM_HINTS")
        prop = window.get_full_property(atom, X.AnyPropertyType)
        if prop is None:
            return True
        flags, _functions, decorations = prop.value[0], prop.value[1], prop.value[2]
        return not (flags & 2) or decorations != 0

    def window_types(self, window):
        prop = window.get_full_property(self.x.intern_atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM)
        return {self.x.get_atom_name(a) for a in (prop.value if prop else [])}

    def transient_for(self, window):
        prop = window.get_full_property(Xatom.WM_TRANSIENT_FOR, Xatom.WINDOW)
        return prop.value[0] if prop else None

    def close(self, window):
        """Closes the window through the window manager, as its close button does."""
        subprocess.run(["wmctrl", "-i", "-c", hex(window.id)], check=True)

    def icon_sizes(self, window):
        """The sizes of the icons a window offers title bars and task switchers (_NET_WM_ICON)."""
        prop = window.get_full_property(self.x.intern_atom("_NET_WM_ICON"), Xatom.CARDINAL)
        data, sizes = (list(prop.value) if prop else []), []
        while len(data) >= 2:
            width, height = data[0], data[1]
            pixels = data[2:2 + width * height]
            if any(p >> 24 for p in pixels):  # something opaque is drawn
                sizes.append((width, height))
            data = data[2 + width * height:]
        return sizes

    def outer_rect(self, window):
        """Where a window stands on the screen, its window manager's frame included."""
        g = window.get_geometry()
        root = window.translate_coords(self.x.screen().root, 0, 0)
        x, y = -root.x, -root.y
        prop = window.get_full_property(self.x.intern_atom("_NET_FRAME_EXTENTS"), Xatom.CARDINAL)
        left, right, top, bottom = prop.value if prop else (0, 0, 0, 0)
        return x - left, y - top, g.width + left + right, g.height + top + bottom


# ---- The Windows program under Wine -------------------------------------------------------------

WINE_PREFIX_MADE = ".made-by-bargeling-tests"  # marks a prefix the tests may delete and make again
# The 64-bit loader: Debian's wine script takes the 32-bit one whenever wine32 is installed, even
# where 32-bit programs cannot run, and every program here is 64-bit.
WINE = next((w for w in (shutil.which("wine64"), "/usr/lib/wine/wine64") if w and os.access(w, os.X_OK)), "wine")


def wine_prefix(prefix, fresh=False):
    """Points this process at a Wine prefix of the tests' own: made on first use (slow, half a
    minute) and reused by every later start, or made afresh."""
    skip_without(WINE, "wineserver")
    # No Mono or Gecko to install; and no winemenubuilder, which would copy every Start-menu
    # shortcut made in the prefix into this machine's own menus.
    os.environ.update(WINEPREFIX=prefix, WINELOADER=WINE, WINEDEBUG="-all",
                      WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    marker = os.path.join(prefix, WINE_PREFIX_MADE)
    if fresh and os.path.exists(marker):
        subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
        shutil.rmtree(prefix)
    if not os.path.exists(marker):
        subprocess.run([WINE, "wineboot", "-i"], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], check=True)
        open(marker, "w").close()


def wine(*args, check=True, loader=WINE):
    """A Windows command in the prefix, to its end; its output."""
    done = subprocess.run([loader, *args], check=check, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return done.stdout.decode("utf-8", errors="replace")


def windows_path(path):
    """A file of this machine as Windows programs under Wine name it, on their drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine_drive_c(*path):
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", *path)


class Win32Window:
    """A window as inspect_windows read it: its texts, styles and places in screen pixels."""

    def __init__(self, data, parent_client=(0, 0)):
        self.__dict__.update(data)
        self.cls = data["class"]
        x, y, w, h = self.window
        self.pos = [x - parent_client[0], y - parent_client[1], w, h]  # for a child: in its parent's client area
        self.children = [Win32Window(c, self.client) for c in data["children"]]

    def child(self, cls, index=0):
        return [c for c in self.children if c.cls.lower() == cls.lower()][index]

    def extents(self):  # what Program.click aims at: the client area
        return tuple(self.client)


class WineProgram(Program):
    """The Windows program under Wine, started in the prefix set by wine_prefix(); read through
    inspect_windows, driven by real X input and by a screen reader's presses, closed through the
    window manager as Program is."""

    def __init__(self, executable, inspector, cwd=None, args=()):
        self.image, self.inspector = os.path.basename(executable), inspector
        self.stderr = tempfile.TemporaryFile()  # Wine's own chatter; shown when the program ends
        self.process = subprocess.Popen([WINE, executable, *args], cwd=cwd or os.path.dirname(executable),
                                        stdout=subprocess.DEVNULL, stderr=self.stderr)
        self.x = display.Display()
        self.main = wait_for("the main window", lambda: self.window(MAIN), timeout=60)
        wait_for("the window manager to manage the main window", lambda: self.main.id in self._managed())

    def accessible(self, window, press=False):
        """What a screen reader reads of a window through its accessible object, from another
        process: role, roleText, name, defaultAction, state and the window it names; with press,
        also the result of its default action ("0x00000000" for S_OK). The press is the screen
        reader's own call: it must come back while the program goes on, a message box or not."""
        command = [WINE, self.inspector, "--accessible", str(window.hwnd), *(["--press"] if press else [])]
        output = subprocess.run(command, stdout=subprocess.PIPE, check=True, timeout=30).stdout
        return json.loads(output.decode("utf-8"))

    def press(self, window):
        """Does the default action of a window's accessible object, as a screen reader does; its result."""
        return self.accessible(window, press=True)["press"]

    def windows(self):
        """Every top-level window of the program, shown or hidden, with its children."""
        listing = subprocess.run([WINE, self.inspector, self.image], stdout=subprocess.PIPE)
        if listing.returncode != 0:
            status = self.process.poll()
            if status is None:
                raise AssertionError(f"inspect_windows found no {self.image}, which is still running")
            self.stderr.seek(0)
            raise AssertionError(f"{self.image} ended with status {status:#x}; Wine said: "
                                 + self.stderr.read().decode(errors="replace")[-4000:])
        output = listing.stdout
        document = json.loads(output.decode("utf-8"))
        self.dpi = document["dpi"]
        return [Win32Window(w) for w in document["windows"]]

    def top(self, title, cls=None, visible=True):
        for window in self.windows():
            if window.text == title and window.visible == visible and cls in (None, window.cls):
                return window
        return None

    def message(self):
        return self.top(MESSAGE_TITLE, "#32770")


# ---- The browser program in headless Chromium ---------------------------------------------------

CREDITS = "Jaggu du fant den super hemmelige about screenen"
CHROMIUM, CHROMEDRIVER = "/usr/bin/chromium", "/usr/bin/chromedriver"
WEBKIT_DRIVER = "WebKitWebDriver"
# What each engine's tests need beside Selenium and the built site; WebKitGTK's, the X server of
# start_desktop(accessibility=False) too.
ENGINE_TOOLS = {"Chromium": (CHROMIUM, CHROMEDRIVER), "Audits": (CHROMIUM, CHROMEDRIVER, "node"),
                "WebKit": (WEBKIT_DRIVER, "Xvfb", "xdotool", "import", "openbox", "wmctrl")}
# What the tests run in the page (in_page.js): one expression, an object of functions.
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "in_page.js"), encoding="utf-8") as _file:
    IN_PAGE = _file.read()


ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The web's own auditors, from npm (package.json; scripts/test runs npm ci).
AXE = os.path.join(ROOT, "node_modules", "axe-core", "axe.min.js")
LIGHTHOUSE = os.path.join(ROOT, "node_modules", "lighthouse", "cli", "index.js")
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import site_server  # noqa: E402


class _SiteHandler(site_server.SiteHandler):
    """A static host as scripts/run --web serves the site (gzip, validators, keep-alive), with the
    settings and faults of its Site."""

    log_requests = False
    # What many hosts answer for a file they do not have: a page of their own, as if it were found.
    HOST_PAGE = b"<!DOCTYPE html><html lang=nb><title>Finner ikke siden</title><p>Siden finnes ikke.</p></html>"

    @property
    def cache_control(self):
        return self.server.site.cache_control

    def send_head(self):
        site = self.server.site
        path = "/" + self.path.split("?")[0].removeprefix(site.base)
        site.requested.append(path)
        if site.stalled is not None and (site.stalled == "*" or path in site.stalled):
            site.released.wait()  # takes the request and answers nothing, until released
            if not site.serving:
                self.close_connection = True
                return None
        if path in site.dropped:  # a connection that breaks: the fetch fails as with no network
            self.close_connection = True
            return None
        if site.host_page_for_missing and not os.path.exists(self.translate_path(self.path)):
            self.send_response(200)
            self.send_header("Content-Type", "text/html; charset=utf-8")
            self.send_header("Content-Length", str(len(self.HOST_PAGE)))
            self.end_headers()
            return io.BytesIO(self.HOST_PAGE)
        return super().send_head()

    def log_message(self, *args):
        pass


class Site:
    """A copy of the built site, served on 127.0.0.1 at a port of the system's choice by a thread
    of this process, from a folder of the host (BASE), as a host serves a game among others. Tests
    may change the copy's files, tips.txt above all, or remove them, and change how it is served:

    - cache_control: the Cache-Control header of every answer;
    - stalled: None, the set of paths (such as "/tips.txt") whose requests are taken and not
      answered, or "*" for every request (a network that takes requests and answers nothing),
      until release_stalled() lets them through;
    - host_page_for_missing: a missing file is answered with a page of the host's, status 200;
    - dropped: the paths whose requests the server drops, closing the connection unanswered;
    - stop_serving(): the server goes away, and connections are refused."""

    BASE = "/spill/bargeling/"

    def __init__(self, folder, cache_control="no-store"):
        if not os.path.isfile(os.path.join(folder, "index.html")):
            skip(f"build the browser program first (scripts/build-web): {folder}")
        self.root = tempfile.mkdtemp(prefix="bargeling-site-")
        self.folder = os.path.join(self.root, *self.BASE.strip("/").split("/"))
        shutil.copytree(folder, self.folder)
        self.base = self.BASE
        self.cache_control = cache_control
        self.stalled = None
        self.host_page_for_missing = False
        self.dropped = set()
        self.released = threading.Event()
        self.requested = []  # every path asked for, from the site's folder, in order
        self.server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(_SiteHandler, directory=self.root))
        self.server.site = self
        self.server.requested = self.requested
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}{self.BASE}"
        self.serving = True

    def path(self, name):
        return os.path.join(self.folder, name)

    def release_stalled(self):
        self.stalled = None
        self.released.set()
        self.released = threading.Event()

    def stop_serving(self):
        if self.serving:
            self.serving = False
            self.released.set()
            self.server.shutdown()
            self.server.server_close()

    def stop(self):
        self.stop_serving()
        shutil.rmtree(self.root)


def needs(site, *engines):
    """Ends the test process before any test runs where the engines' tools, Selenium or the built
    site are missing, by skip()'s rule."""
    for engine in engines:
        skip_without(*ENGINE_TOOLS[engine])
    if "WebKit" in engines and display is None:
        skip("missing the X bindings, python3-xlib (scripts/test installs them)")
    if importlib.util.find_spec("selenium") is None:
        skip("missing Selenium, python3-selenium (scripts/test installs it)")
    if not os.path.isfile(os.path.join(site, "index.html")):
        skip(f"build the browser program first (scripts/build-web): {site}")
    if "Audits" in engines and not (os.path.isfile(AXE) and os.path.isfile(LIGHTHOUSE)):
        skip("missing npm's axe-core or lighthouse: run npm ci in the project's root (scripts/test does)")


def axe(driver):
    """What axe-core finds to flag in the page as it is now: 'rule: where' for each violation."""
    if not driver.execute_script("return typeof axe === 'object'"):
        with open(AXE, encoding="utf-8") as f:
            driver.execute_script(f.read())
    return driver.execute_async_script("""const done = arguments[arguments.length - 1];
        axe.run(document, {resultTypes: ['violations']}).then(
            (r) => done(r.violations.map((v) => v.id + ': ' + v.nodes.map((n) => n.target.join(' ')).join(', '))),
            (e) => done(['axe-core failed: ' + e]));""")


def lighthouse(url, profile="mobile", categories=("accessibility", "best-practices", "seo")):
    """Lighthouse's report on the page at url, on its phone ("mobile") or desktop profile, in
    headless Chromium."""
    with tempfile.TemporaryDirectory() as scratch:
        report = os.path.join(scratch, "report.json")
        flags = "--headless=new --disable-gpu --disable-background-networking --disable-component-update" \
                " --disable-sync --no-first-run" + (" --no-sandbox" if os.geteuid() == 0 else "")
        subprocess.run(["node", LIGHTHOUSE, url, "--quiet", "--output=json", f"--output-path={report}",
                        f"--only-categories={','.join(categories)}", f"--chrome-flags={flags}",
                        *(["--preset=desktop"] if profile == "desktop" else [])],
                       env=dict(os.environ, CHROME_PATH=CHROMIUM), check=True, timeout=240)
        with open(report, encoding="utf-8") as f:
            return json.load(f)


def _webdriver():
    """Selenium's webdriver module; skips the test process where Selenium is missing."""
    try:
        from selenium import webdriver
    except ImportError:
        skip("missing Selenium, python3-selenium (scripts/test installs it)")
    return webdriver


def chromium(metrics=None, touch=False, prefs=None):
    """Headless Chromium with a fresh profile, through its WebDriver; skips the test process where
    Chromium, its driver or Selenium is missing."""
    skip_without(CHROMIUM, CHROMEDRIVER)
    webdriver = _webdriver()
    from selenium.webdriver.chrome.service import Service
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    profile = tempfile.mkdtemp(prefix="bargeling-chromium-")
    for flag in ("--headless", "--disable-gpu", "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--no-first-run", "--window-size=1280,960", f"--user-data-dir={profile}"):
        options.add_argument(flag)
    if os.geteuid() == 0:
        options.add_argument("--no-sandbox")  # Chromium's sandbox refuses to run as root
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    if prefs:
        options.add_experimental_option("prefs", prefs)
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    driver.profile = profile
    if metrics:
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", metrics)
    if touch:
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
    return driver



_webkit_desktop = False


def webkitgtk():
    """WebKitGTK, Safari's engine, a new session of its WebDriver, in an X server (it has no
    headless mode) that the first call starts for the whole test process. Its driver reads
    no accessibility tree: a test reads the page's elements instead (in_page.js)."""
    global _webkit_desktop
    skip_without(WEBKIT_DRIVER)
    webdriver = _webdriver()
    if not _webkit_desktop:
        import atexit
        start_desktop(accessibility=False)
        atexit.register(stop_desktop)
        _webkit_desktop = True
    import warnings
    with warnings.catch_warnings():  # Selenium's own use of a deprecated argument of its own
        warnings.simplefilter("ignore", DeprecationWarning)
        return webdriver.WebKitGTK()

class AXNode:
    """A node of Chromium's accessibility tree, as one reading of the whole tree saw it."""

    def __init__(self, data, nodes):
        self.data, self.nodes = data, nodes

    @property
    def name(self):
        return self.data.get("name", {}).get("value", "")

    @property
    def role(self):
        return self.data.get("role", {}).get("value", "")

    @property
    def ignored(self):
        return self.data.get("ignored", False)

    @property
    def dom(self):
        return self.data.get("backendDOMNodeId")

    def states(self):
        return {p["name"] for p in self.data.get("properties", []) if p["value"].get("value") is True}

    def children(self):
        return [AXNode(self.nodes[i], self.nodes) for i in self.data.get("childIds", []) if i in self.nodes]

    def descendants(self):
        """What a screen reader reaches: every node below that is not ignored."""
        for child in self.children():
            if not child.ignored:
                yield child
            yield from child.descendants()

    def find(self, role, name=None):
        return next((n for n in self.find_all(role) if name is None or n.name == name), None)

    def find_all(self, role):
        return [n for n in self.descendants() if n.role == role]

    def texts(self):
        return [n.name for n in self.find_all("StaticText")]


# Runs on a DOM node: its box in the viewport, in CSS pixels; or the client area (the box within
# its frame) of its parent, or of the nearest element around it that holds every other node given.
_RECT = """function(parent, ...others) {
    let box = parent ? this.parentElement : this;
    while (!others.every(o => box.contains(o)))
        box = box.parentElement;
    const r = box.getBoundingClientRect();
    if (box === this)
        return [r.x, r.y, r.width, r.height];
    const scale = box.offsetWidth ? r.width / box.offsetWidth : 1;
    return [r.x + box.clientLeft * scale, r.y + box.clientTop * scale, box.clientWidth * scale, box.clientHeight * scale];
}"""

# Runs on an option: its place in the list, from 0, and the length of the list.
_PLACE = """function() {
    const options = [...this.parentElement.children].filter(e => e.getAttribute("role") === "option");
    return [Number(this.getAttribute("aria-posinset") || options.indexOf(this) + 1) - 1,
            Number(this.getAttribute("aria-setsize") || options.length)];
}"""

class WebProgram:
    """The browser program in headless Chromium, loaded from a Site: read through Chromium's
    accessibility tree as a screen reader reads it, driven by WebDriver's real pointer, touch and
    key input. metrics and touch emulate a device from the first load on (Chromium's DevTools
    Emulation domain)."""

    def __init__(self, site, metrics=None, touch=False, prefs=None, wait=True):
        self.site = site
        self.stopped = False
        self.driver = chromium(metrics, touch, prefs)
        try:
            self.open(wait=wait)
        except BaseException:
            self.stop(check=False)
            raise

    def open(self, url=None, wait=True):
        """Opens the page (the site's, unless another URL is given) anew, as a user who comes back
        to it does, rather than reloading it; waits for the main form, once the program has taken
        over the first frame that the page shows before it runs, unless told not to."""
        self.driver.get("about:blank")
        self.driver.get(url or self.site.url)
        if wait:
            wait_for("the main form", lambda: self.count_label() and self.js("return !document.querySelector('.rt-first')"),
                     timeout=30)

    def kept_for_offline(self):
        """Waits until the site's service worker controls the page and has stored what a start
        needs, the page and the animal file among them; the names of the stores it holds. Read with
        caches.match, never caches.open, which would make anew a store that the worker has just
        deleted."""
        stored = """const done = arguments[0];
            (async () => {
                const names = navigator.serviceWorker.controller ? await caches.keys() : [];
                for (const cacheName of names)
                    if (!(await caches.match("tips.txt", {cacheName})) || !(await caches.match("./", {cacheName}))) return null;
                return names.length ? names : null;
            })().then(done, () => done(null));"""
        return wait_for("the service worker to keep the site", lambda: self.driver.execute_async_script(stored),
                        timeout=30)

    def stop(self, check=True):
        """Ends the browser; fails when the page threw an error or wrote one to the console, a
        violation of its security policy included. Once."""
        if self.stopped:
            return
        self.stopped = True
        try:
            log = self.driver.get_log("browser")
        finally:
            self.driver.quit()
            shutil.rmtree(self.driver.profile, ignore_errors=True)
        errors = [e["message"] for e in log if e["level"] == "SEVERE" and e.get("source") != "network"]
        if check and errors:
            raise AssertionError("the page reported errors:\n" + "\n".join(errors))

    def cdp(self, command, **parameters):
        return self.driver.execute_cdp_cmd(command, parameters)

    def js(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    # What assistive technology sees.

    def tree(self):
        nodes = {n["nodeId"]: n for n in self.cdp("Accessibility.getFullAXTree")["nodes"]}
        root = next(n for n in nodes.values() if "parentId" not in n)
        return AXNode(root, nodes)

    def title(self):
        return self.tree().name

    def _main_buttons(self):
        tree = self.tree()
        inside = {n.data["nodeId"] for d in tree.find_all("dialog") for n in d.descendants()}
        return [n for n in tree.find_all("button")
                if n.data["nodeId"] not in inside and not n.name.startswith(CREDITS)]

    def count_label(self):
        """None while a message hides the form from assistive technology."""
        buttons = self._main_buttons()
        return buttons[0] if buttons else None

    def add_label(self):
        buttons = self._main_buttons()
        return buttons[1] if len(buttons) > 1 else None

    def credits(self):
        return next((n for n in self.tree().find_all("button") if n.name.startswith(CREDITS)), None)

    def listbox(self):
        return self.tree().find("listbox")

    def animals(self):
        """The list as a screen reader reads it: how many items it has, the items in view, and
        the place in the list of the selected one (None without). A long list has only the items
        in view in the tree, each with its place in the list and the list's length, which
        DevTools leaves out of its tree: they are read where Chromium reads them, in the
        options' ARIA attributes."""
        count, shown, selected = 0, [], None
        for option in self.listbox().find_all("option"):
            place, count = self.call(option, _PLACE)
            shown.append(option.name)
            if "selected" in option.states():
                selected = place
        return count, shown, selected

    def message(self):
        return next((d for d in self.tree().find_all("dialog") if d.name == MESSAGE_TITLE), None)

    def focused(self):
        return next((n for n in self.tree().descendants() if "focused" in n.states()), None)

    # Where things are, in CSS pixels of the viewport.

    def call(self, node, function, *arguments):
        """Runs a JavaScript function on the node's DOM node, other nodes passed as theirs; its result."""
        def remote(n):
            return {"objectId": self.cdp("DOM.resolveNode", backendNodeId=n.dom)["object"]["objectId"]}
        result = self.cdp("Runtime.callFunctionOn", functionDeclaration=function, returnByValue=True,
                          arguments=[remote(a) if isinstance(a, AXNode) else {"value": a} for a in arguments],
                          **remote(node))
        return result.get("result", {}).get("value")

    def rect(self, node, *holding):
        """The node's box, or with other nodes given, the client area of the nearest element holding them all."""
        return tuple(self.call(node, _RECT, False, *holding))

    def window_rect(self, node):
        """The client area of the form that holds a control: its parent's."""
        return tuple(self.call(node, _RECT, True))

    def viewport(self):
        return tuple(self.js("return [innerWidth, innerHeight, document.documentElement.scrollWidth,"
                             " visualViewport.scale]"))

    # Real input, through WebDriver's actions.

    def click_at(self, x, y, repeat=1, touch=False):
        click_at(self.driver, x, y, repeat, touch)

    def click(self, node, dx=0, dy=0, repeat=1, touch=False):
        x, y, w, h = self.rect(node)
        self.click_at(x + w / 2 + dx, y + h / 2 + dy, repeat, touch)

    def tap(self, node, repeat=1):
        self.click(node, repeat=repeat, touch=True)

    def throw(self, node, times):
        x, y, w, h = self.rect(node)
        throw_at(self.driver, x + w / 2, y + h / 2, times)

    def key(self, *keys):
        key(self.driver, *keys)

    def press(self, node):
        """A screen reader's press. Chromium offers no accessibility action through DevTools, so
        this dispatches the events that its default action dispatches (in_page.js)."""
        self.call(node, f"function() {{ ({IN_PAGE}).press(this); }}")

    def screenshot(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        self.driver.save_screenshot(path)


# Real input through any engine's WebDriver: its actions, at points of the viewport, in CSS pixels.

def _actions(driver, touch=False, duration=250):
    from selenium.webdriver.common.actions import interaction
    from selenium.webdriver.common.actions.action_builder import ActionBuilder
    from selenium.webdriver.common.actions.pointer_input import PointerInput
    mouse = PointerInput(interaction.POINTER_TOUCH, "finger") if touch else None
    return ActionBuilder(driver, mouse=mouse, duration=duration)


def click_at(driver, x, y, repeat=1, touch=False):
    """A click, a tap, or a run of them at one spot: one chain, quick enough to be one run."""
    actions = _actions(driver, touch)
    pointer = actions.pointer_action.move_to_location(round(x), round(y))
    for i in range(repeat):
        pointer.pointer_down().pointer_up()
        if i + 1 < repeat:
            pointer.pause(0.08)
    actions.perform()


def throw_at(driver, x, y, times):
    """Clicks that never pair into double-clicks, in one chain: each lands 30 pixels to the other
    side of the spot from the last."""
    actions = _actions(driver, duration=0)
    for i in range(times):
        actions.pointer_action.move_to_location(round(x + (-30 if i % 2 else 30)), round(y)).pointer_down().pointer_up()
    actions.perform()


def key(driver, *keys):
    """Keys to whatever has the focus."""
    from selenium.webdriver.common.action_chains import ActionChains
    ActionChains(driver).send_keys(*keys).perform()
