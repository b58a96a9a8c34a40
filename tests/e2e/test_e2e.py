# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""End-to-end tests of the real program on X11: real X input, what a screen reader reads. The table
of behaviours (behaviours.json) is played by X11Player; the other cases are X11's own."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import behaviours  # noqa: E402
import harness  # noqa: E402
from harness import ABOUT, AFLOAT, MESSAGE_TITLE, Program, screenshot, stays, wait_for  # noqa: E402

PROGRAM = os.environ.get("BARGELING_PROGRAM", "build/bargeling")
SHOTS = os.environ.get("BARGELING_SHOTS", "build/e2e-shots")


def setUpModule():
    harness.start_desktop()


def tearDownModule():
    harness.stop_desktop()


class X11Player(harness.SeenByScreenReader, harness.DesktopPlayer, behaviours.Player):
    """Clicks and keys through xdotool, as a user gives them; reads through AT-SPI, as a screen
    reader does, and where the about window stands from the X windows themselves."""

    def __init__(self, test):
        super().__init__(test, os.path.abspath(PROGRAM), os.path.join(SHOTS, "X11"))

    def launch(self, program):
        program = Program(program)
        self.app = program.app
        return program

    def rect(self, label):
        return self.node(label).extents()

    def message_rect(self):
        return self.p.outer_rect(self.p.window(MESSAGE_TITLE))  # its title bar covers too

    def ok_rect(self):
        return self.p.message().find("push button", "OK").extents()

    def press(self, label):
        self.node(label).do_action("Press")

    def about(self):
        window = self.p.window(ABOUT)
        return self.beside(self.p.outer_rect(window)) if window and self.p.is_mapped(window) else "hidden"

    def layout(self):
        return dict(super().layout(), form=list(self.p.geometry(self.p.main)[2:]))  # the X window's own size


class Behaviours(behaviours.table(X11Player)):
    """The table, on X11."""


class ProgramTest(unittest.TestCase):
    env = None
    args = ()

    def setUp(self):
        self.program = Program(os.path.abspath(PROGRAM), env=self.env, args=self.args)

    def tearDown(self):
        self.program.stop()

    def shot(self, name):
        screenshot(os.path.join(SHOTS, f"{type(self).__name__}-{name}.png"))

    def wait_count(self, text):
        wait_for(repr(text), lambda: self.program.count_label().name == text)

    def throw(self, times):
        """Clicks the add label; neighbouring clicks land apart, so none pairs into a double-click."""
        label = self.program.add_label()
        for i in range(times):
            self.program.click(label, dx=-30 if i % 2 else 30)


class WindowManager(ProgramTest):
    """What only X11 tells: the hints that the program gives the window manager."""

    def test_main_window_hints(self):
        p = self.program
        self.assertEqual(p.size_hints(p.main), ((449, 213), (449, 213)))
        # Nor does the window manager offer maximize: the Motif hints' functions leave it out.
        motif = p.main.get_full_property(p.x.intern_atom("_MOTIF_WM_HINTS"), harness.X.AnyPropertyType)
        flags, functions = motif.value[0], motif.value[1]
        self.assertTrue(flags & 1 and not functions & 16, f"Motif flags {flags}, functions {functions}")
        allowed = p.main.get_full_property(p.x.intern_atom("_NET_WM_ALLOWED_ACTIONS"), harness.Xatom.ATOM)
        self.assertFalse([a for a in allowed.value if "MAXIMIZE" in p.x.get_atom_name(a)])
        self.assertIn((32, 32), p.icon_sizes(p.main))
        # No name of the old form designer's reaches a screen reader, and no label takes the focus.
        self.assertFalse({"Label1", "Label2"} & {n.name for n in p.app.descendants()})
        for label in (p.count_label(), p.add_label()):
            self.assertNotIn("focusable", label.states())
        # Neither the numeric keypad's Enter nor Alt with a letter throws an animal.
        p.key("KP_Enter", "alt+s", "Tab", "KP_Enter", "alt+s")
        self.throw(3)
        self.wait_count(AFLOAT.format(3))
        with open(os.path.join(os.path.dirname(os.path.abspath(PROGRAM)), "tips.txt"), encoding="utf-8") as f:
            drawn_from = set(f.read().splitlines()[:49])
        self.assertLessEqual(set(p.animals()), drawn_from)

    def test_about_window_hints(self):
        p = self.program
        p.click(p.count_label())
        about = wait_for("the about window", lambda: p.window(ABOUT) and p.is_mapped(p.window(ABOUT)) and p.window(ABOUT))
        self.assertFalse(p.decorated(about))
        self.assertEqual(p.geometry(about)[2:], (312, 213))
        self.assertIn("_NET_WM_WINDOW_TYPE_UTILITY", p.window_types(about))
        self.assertEqual(p.transient_for(about), p.main.id)
        # Beside means on the right, where there is room.
        self.assertGreaterEqual(p.outer_rect(about)[0], sum(p.outer_rect(p.main)[::2]))
        x, y, _, _ = p.geometry(about)
        p.click_at(x + 308, y + 100)  # the strip right of the credits hides nothing
        self.assertTrue(stays(lambda: p.is_mapped(about)))
        self.shot("about")


class HiDpi(ProgramTest):
    env = {"QT_SCALE_FACTOR": "2"}

    def test_window_and_layout_scale(self):
        p = self.program
        self.assertEqual(p.geometry(p.main)[2:], (898, 426))
        self.assertEqual(p.size_hints(p.main), ((898, 426), (898, 426)))
        # The add label's place at 96 DPI now lies in the list; its scaled place throws an animal.
        x, y, _, _ = p.geometry(p.main)
        p.click_at(x + 304 + 60, y + 112 + 40)
        p.click_at(x + 2 * 304 + 121, y + 2 * 112 + 81)
        self.wait_count(AFLOAT.format(1))
        self.assertEqual(len(p.animals()), 1)
        self.shot("scale-2")


class LargeFont(ProgramTest):
    """A desktop set to a 15 pt font, as a style sheet or a font setting of the desktop gives."""

    def setUp(self):
        self.sheet = tempfile.NamedTemporaryFile("w", suffix=".qss", delete=False)
        self.sheet.write("* { font-size: 15pt }")
        self.sheet.close()
        self.args = ("-stylesheet", self.sheet.name)
        super().setUp()

    def tearDown(self):
        super().tearDown()
        os.unlink(self.sheet.name)

    def test_windows_grow_and_stay_fixed(self):
        p = self.program
        width, height = p.geometry(p.main)[2:]
        self.assertGreater(width, 449)
        self.assertGreater(height, 213)
        self.assertEqual(p.size_hints(p.main), ((width, height), (width, height)))
        self.throw(3)
        self.wait_count(AFLOAT.format(3))
        p.click(p.count_label())
        about = wait_for("the about window", lambda: p.window(ABOUT) and p.is_mapped(p.window(ABOUT)) and p.window(ABOUT))
        self.assertGreater(p.geometry(about)[2], 312)
        self.shot("15pt")


class Closing(ProgramTest):
    def close_main(self):
        self.program.close(self.program.main)
        self.assertEqual(self.program.exit_status(), 0)

    def test_close_with_about_window_hidden(self):
        self.close_main()

    def test_close_with_about_window_shown(self):
        p = self.program
        p.click(p.count_label())
        wait_for("the about window", lambda: p.window(ABOUT) and p.is_mapped(p.window(ABOUT)))
        self.close_main()


if __name__ == "__main__":
    unittest.main(verbosity=2)
