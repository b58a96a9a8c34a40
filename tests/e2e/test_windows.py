# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""End-to-end tests of the Windows program under Wine: real X input, and what the program shows
read through the Windows API by inspect_windows. The table of behaviours (behaviours.json) is
played by WindowsPlayer; the other cases are Windows's own. Wine starts slowly, so one prefix
serves every test.

    test_windows.py [Case ...]      the cases, as unittest names them
    test_windows.py --fresh-prefix  makes the Wine prefix afresh, before a run of the cases
"""

import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import behaviours  # noqa: E402
import harness  # noqa: E402
from harness import ABOUT, AFLOAT, MAIN, MESSAGES, WineProgram, screenshot, spot_clear_of, stays, wait_for  # noqa: E402

BUILD = os.environ.get("BARGELING_BUILD_DIR", "build-windows")
PROGRAM = os.path.abspath(os.environ.get("BARGELING_PROGRAM", os.path.join(BUILD, "bargeling.exe")))
INSPECTOR = os.path.abspath(os.environ.get("BARGELING_INSPECTOR", os.path.join(BUILD, "tests/win32/inspect_windows.exe")))
SHOTS = os.path.abspath(os.environ.get("BARGELING_SHOTS", os.path.join(BUILD, "e2e-shots")))
PACKAGES = os.path.abspath(os.environ.get("BARGELING_PACKAGE_DIR", os.path.join(BUILD, "package")))
PREFIX = os.path.abspath(os.environ.get("BARGELING_WINE_PREFIX", os.path.join(BUILD, "wine-prefix")))
CREDITS = "Jaggu du fant den super hemmelige about screenen"
WS_POPUP, WS_CAPTION, WS_THICKFRAME, WS_MAXIMIZEBOX = 0x80000000, 0xC00000, 0x40000, 0x10000
ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSED, S_OK, E_FAIL = 43, 0x4, "0x00000000", "0x80004005"


def setUpModule():
    harness.wine_prefix(PREFIX)
    harness.start_desktop(accessibility=False)


def tearDownModule():
    harness.stop_desktop()


def scaled(size, size_at_96, dpi=144):
    return all(abs(a - b * dpi / 96) <= 1 for a, b in zip(size, size_at_96))


class WindowsPlayer(harness.DesktopPlayer, behaviours.Player):
    """Clicks and keys through xdotool into Wine's windows; reads them through the Windows API
    (inspect_windows), and the list's name through its accessible object, as a screen reader does."""

    def __init__(self, test):
        super().__init__(test, PROGRAM, os.path.join(SHOTS, "windows"))

    def launch(self, program):
        return WineProgram(program, INSPECTOR)

    def rect(self, label):
        return self.control(label).client

    def message_rect(self):
        return self.p.message().window

    def ok_rect(self):
        return self.p.message().child("Button").client

    def press(self, label):
        self.p.press(self.control(label))

    def main(self):
        return next(w for w in self.p.windows() if w.visible and any(c.cls == "ListBox" for c in w.children))

    def control(self, label):
        if label == "credits":
            return self.p.top(ABOUT).child("Static")
        return self.main().child("Static", 0 if label == "count" else 1)

    def title(self): return self.main().text
    def count(self): return self.control("count").text
    def add(self): return self.control("add").text
    def animals(self): return self.main().child("ListBox").count
    def items(self): return self.main().child("ListBox").items
    def selected(self): return (lambda i: None if i < 0 else i)(self.main().child("ListBox").selected)
    def listName(self): return self.p.accessible(self.main().child("ListBox"))["name"]

    def message(self):
        boxes = [w for w in self.p.windows() if w.cls == "#32770" and w.visible]
        if len(boxes) != 1:
            return f"{len(boxes)} messages" if boxes else None
        box = boxes[0]
        icon = any(c.cls == "Static" and c.visible and getattr(c, "icon", False) for c in box.children)
        return (box.text + (" with an icon" if icon else ""), "\n".join(c.text for c in box.children if c.cls == "Static" and c.text),
                [c.text for c in box.children if c.cls == "Button"])

    def about(self):
        window = self.p.top(ABOUT)
        return self.beside(window.window) if window else "hidden"

    def credits(self):
        window = self.p.top(ABOUT)
        return window and window.child("Static").text

    def layout(self):
        main = self.main()
        return {"form": main.client[2:], "list": main.child("ListBox").pos,
                "count": main.child("Static", 0).pos, "add": main.child("Static", 1).pos}


class Behaviours(behaviours.table(WindowsPlayer)):
    """The table, under Wine."""


class WineTest(unittest.TestCase):
    def start(self, executable=PROGRAM, **kwargs):
        self.program = WineProgram(executable, INSPECTOR, **kwargs)
        self.addCleanup(lambda: self.program.process.poll() is None and self.program.stop())
        return self.program

    def shot(self, name):
        screenshot(os.path.join(SHOTS, f"windows-{name}.png"))

    def main(self):
        return self.program.top(MAIN)

    def wait_count(self, text):
        return wait_for(repr(text), lambda: (w := self.main()) and w.child("Static", 0).text == text and w)

    def throw(self, times):
        """Clicks the add label; neighbouring clicks land 60 px apart, so none pairs into a double-click."""
        x, y = spot_clear_of(self.main().child("Static", 1).client)
        self.program.clicks(*((x + (30 if i % 2 else -30), y) for i in range(times)))

    def dismiss(self, n, key=None, shot=None):
        box = wait_for(f"the message at {n}", self.program.message)
        self.assertEqual([c.text for c in box.children if c.cls == "Static" and c.text],
                         [MESSAGES[min(n, 76)].replace("76", str(n))])
        self.assertEqual([c.text for c in box.children if c.cls == "Button"], ["OK"])
        icons = [c for c in box.children if c.cls == "Static" and c.visible and getattr(c, "icon", False)]
        self.assertEqual(icons, [], "the message shows an icon")
        if shot:
            self.shot(shot)
        if key:
            self.program.key(key)
        else:
            self.program.click(box.child("Button"))
        wait_for("the message to close", lambda: self.program.message() is None)

    def select_by_key(self, key, index):
        self.program.key(key)
        wait_for(f"{key} to select item {index}", lambda: self.main().child("ListBox").selected == index)


class Controls(WineTest):
    """What only the Windows program has: the system's window styles, the labels' accessible
    objects and what a press tells a screen reader, the about window as a popup, and a click on it
    lost behind a message; and the close with the about window shown."""

    def test_controls(self):
        p = self.start()
        main = self.main()
        count, add = main.child("Static", 0), main.child("Static", 1)
        self.assertEqual(p.dpi, 96)
        self.assertFalse(main.style & (WS_THICKFRAME | WS_MAXIMIZEBOX), hex(main.style))
        self.assertIsNotNone(p.top(ABOUT, visible=False), "no hidden about window")

        with self.subTest("what a screen reader reads"):
            for label in (count, add):
                seen = p.accessible(label)
                self.assertEqual((seen["role"], seen["name"], seen["defaultAction"], seen["window"]),
                                 (ROLE_SYSTEM_PUSHBUTTON, label.text, "Press", label.hwnd))
            seen = p.accessible(main.child("ListBox"))
            self.assertNotEqual(seen["role"], ROLE_SYSTEM_PUSHBUTTON)
            self.assertTrue(seen["state"] & STATE_SYSTEM_FOCUSED, "the list has no keyboard focus at start")

        with self.subTest("the about window"):
            p.click(count)
            about = wait_for("the about window", lambda: p.top(ABOUT))
            credits = about.child("Static")
            self.assertEqual((about.window[2:], about.style & (WS_POPUP | WS_CAPTION)), ([312, 213], WS_POPUP))
            self.assertEqual(credits.pos, [0, 0, 312 - 7, 213 - 4])
            self.shot("96dpi-about")
            p.click_at(about.window[0] + 308, about.window[1] + 100)  # the strip right of the credits
            self.assertTrue(stays(lambda: (a := p.top(ABOUT)) and a.window == about.window))

        # A screen reader's press is answered at once, though it opens a message, and told that it
        # failed behind the message; a click on the about window's text is lost there too; Return
        # closes the message.
        self.throw(49)
        self.wait_count(AFLOAT.format(49))
        self.assertEqual(p.press(add), S_OK)
        wait_for("the message at 50", p.message)
        self.assertEqual(p.press(add), E_FAIL)
        p.click(credits)
        self.dismiss(50, key="Return", shot="96dpi-message-50")
        self.select_by_key("Home", 0)  # the list has the focus again once the message is closed
        self.assertTrue(stays(lambda: p.top(ABOUT) is not None), "the about window took a click behind the box")
        with open(os.path.join(os.path.dirname(PROGRAM), "tips.txt"), encoding="utf-8-sig") as f:
            self.assertLessEqual(set(self.main().child("ListBox").items), set(f.read().splitlines()[:49]))
        self.assertEqual(p.accessible(count)["name"], AFLOAT.format(50))  # read afresh
        p.stop()  # closed with the about window shown: status 0


class HiDpi(WineTest):
    """At 144 DPI: the windows grow by half; screenshots of the main window, a message and the
    about window."""

    def test_144_dpi(self):
        key = r"HKCU\Control Panel\Desktop"
        harness.wine("reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "144", "/f")
        self.addCleanup(harness.wine, "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "96", "/f")
        subprocess.run(["wineserver", "-k"])  # every Wine process reads the DPI once, at its start
        p = self.start()
        main = self.main()
        self.assertEqual(p.dpi, 144)
        self.assertTrue(scaled(main.client[2:], [449, 213]), main.client)
        self.assertTrue(scaled(main.child("Static", 1).pos, [304, 112, 121, 81]), main.child("Static", 1).pos)
        self.shot("144dpi-main")
        self.throw(50)
        self.dismiss(50, shot="144dpi-message-50")
        p.click(self.main().child("Static", 0))
        about = wait_for("the about window", lambda: p.top(ABOUT))
        self.assertTrue(scaled(about.window[2:], [312, 213]), about.window)
        self.assertFalse(harness.overlaps(about.window, p.outer_rect(p.main)))
        self.shot("144dpi-about")


class Folder(WineTest):
    def test_folder_with_letters_beyond_the_code_page(self):
        with tempfile.TemporaryDirectory() as top:
            folder = os.path.join(top, "Åse", "Mine spill", "Bargeling æøå Ωμέγα")  # Greek: in no Western code page
            os.makedirs(folder)
            shutil.copy(PROGRAM, folder)
            with open(os.path.join(folder, "tips.txt"), "w", encoding="utf-8") as f:
                f.write("Blåhval\r\n")
            self.start(os.path.join(folder, os.path.basename(PROGRAM)))
            self.throw(1)
            self.assertEqual(self.wait_count(AFLOAT.format(1)).child("ListBox").items, ["Blåhval"])
            self.program.stop()


class Installer(WineTest):
    """The packages: the zip holds the program and its animals only; the Windows Installer package
    installs per machine, silently, with a Start-menu shortcut and an Apps & features entry, and
    its silent uninstall leaves nothing behind."""

    def test_zip_install_start_uninstall(self):
        zips = glob.glob(os.path.join(PACKAGES, "bargeling-*-windows-x64.zip"))
        msis = glob.glob(os.path.join(PACKAGES, "bargeling-*-windows-x64.msi"))
        if not zips or not msis:
            harness.skip(f"no packages in {PACKAGES} (scripts/build-windows makes them)", self)
        names = {os.path.basename(n) for n in zipfile.ZipFile(zips[0]).namelist() if not n.endswith("/")}
        self.assertTrue({"bargeling.exe", "tips.txt"} <= names and not any("inspect" in n for n in names), names)

        package = harness.windows_path(msis[0])
        uninstall = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
        harness.wine("msiexec", "/i", package, "/qn")
        folder = harness.wine_drive_c("Program Files", "Bargeling")
        self.assertEqual(sorted(os.listdir(folder)), ["COPYING", "README.txt", "bargeling.exe", "tips.txt"])
        # Wine 8's msiexec puts even a per-machine package's shortcuts in the user's Start menu.
        menus = [os.path.join(harness.wine_drive_c(*folder), "Microsoft", "Windows", "Start Menu", "Programs")
                 for folder in (["ProgramData"], ["users", os.environ.get("USER", "root"), "AppData", "Roaming"])]
        shortcuts = lambda name: [f for m in menus for f in glob.glob(os.path.join(m, "**", name), recursive=True)]
        self.assertEqual(len(shortcuts("Bargeling 2000.lnk")), 1)
        # The shortcut and Apps & features show the program's icon, which Windows Installer keeps
        # in its own folder.
        with open(shortcuts("Bargeling 2000.lnk")[0], "rb") as f:
            self.assertIn("program.ico".encode("utf-16-le"), f.read())
        entry = harness.wine("reg", "query", uninstall, "/s")
        self.assertIn("Bargeling 2000", entry)
        self.assertIn("The Bargeling developers", entry)
        self.assertRegex(entry, r"DisplayVersion\s+REG_SZ\s+1\.0\.0")
        products = harness.wine("reg", "query", r"HKLM\Software\Classes\Installer\Products", "/s")
        icon = re.search(r"ProductIcon\s+REG_SZ\s+C:\\(.*program\.ico)", products)
        self.assertTrue(icon, products)
        icon = harness.wine_drive_c(*icon[1].split("\\"))
        self.assertTrue(os.path.isfile(icon), icon)

        installed = os.path.join(folder, "bargeling.exe")
        self.assertEqual(harness.wine(installed, "--version").strip(), "bargeling 1.0.0")
        wrong = subprocess.run([harness.WINE, installed, "--bogus"], capture_output=True)
        self.assertEqual((wrong.returncode, wrong.stderr.decode().strip()),
                         (1, "bargeling: ukjent valg «--bogus»; se «bargeling --help»"))
        with open(os.path.join(folder, "tips.txt"), encoding="utf-8-sig") as f:
            animals = set(f.read().splitlines()[:49]) - {""}
        p = self.start(installed, cwd=tempfile.gettempdir())
        self.throw(1)
        items = self.wait_count(AFLOAT.format(1)).child("ListBox").items
        self.assertEqual(len(items), 1)
        self.assertIn(items[0], animals)
        p.stop()

        harness.wine("msiexec", "/x", package, "/qn")
        self.assertFalse(os.path.exists(folder))
        self.assertFalse(shortcuts("*Bargeling*"))
        self.assertFalse(os.path.exists(os.path.dirname(icon)))
        self.assertNotIn("Bargeling", harness.wine("reg", "query", uninstall, "/s", check=False))
        self.assertNotIn("Bargeling", harness.wine("reg", "query", r"HKLM\Software\Classes\Installer", "/s", check=False))


if __name__ == "__main__":
    if sys.argv[1:] == ["--fresh-prefix"]:
        harness.wine_prefix(PREFIX, fresh=True)
        subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
        sys.exit(0)
    if not os.path.exists(PROGRAM) or not os.path.exists(INSPECTOR):
        harness.skip(f"build the Windows program and tests first (scripts/build-windows): {PROGRAM}, {INSPECTOR}")
    result = unittest.main(verbosity=2, exit=False).result
    if not result.wasSuccessful():
        sys.exit(1)
    if result.testsRun and len(result.skipped) == result.testsRun:
        harness.skip("every case skipped: " + "; ".join(reason for _, reason in result.skipped))
