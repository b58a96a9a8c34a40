# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""End-to-end tests of the real program: real X input, what a screen reader reads."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import ABOUT, AFLOAT, MAIN, MESSAGES, SUNK, Program, screenshot, stays, wait_for  # noqa: E402

PROGRAM = os.environ.get("BARGELING_PROGRAM", "build/bargeling")
SHOTS = os.environ.get("BARGELING_SHOTS", "build/e2e-shots")


def setUpModule():
    harness.start_desktop()


def tearDownModule():
    harness.stop_desktop()


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

    def assert_no_message(self):
        self.assertTrue(stays(lambda: self.program.message() is None), "a message box opened")

    def dismiss(self, n):
        box = wait_for(f"the message at {n}", self.program.message)
        texts = [node.name for node in box.find_all("label")]
        self.assertIn(MESSAGES[min(n, 76)].replace("76", str(n)), texts)
        buttons = [node.name for node in box.find_all("push button")]
        self.assertEqual(buttons, ["OK"])
        self.shot(f"message-{n}")
        self.program.click(box.find("push button", "OK"))
        wait_for("the message to close", lambda: self.program.message() is None)


class StartUp(ProgramTest):
    def test_title_texts_and_fixed_size(self):
        p = self.program
        self.assertIsNotNone(p.frame(MAIN))
        self.assertEqual(p.count_label().name, AFLOAT.format(0))
        self.assertEqual(p.add_label().name, "Sleng inn et dyr i Arken!")
        self.assertEqual(p.animals(), [])
        names = [n.name for n in p.app.descendants()]
        self.assertNotIn("Label1", names)
        self.assertNotIn("Label2", names)
        self.assertEqual(p.geometry(p.main)[2:], (449, 213))
        self.assertEqual(p.size_hints(p.main), ((449, 213), (449, 213)))
        # Nor does the window manager offer maximize: the Motif hints' functions leave it out.
        motif = p.main.get_full_property(p.x.intern_atom("_MOTIF_WM_HINTS"), harness.X.AnyPropertyType)
        flags, functions = motif.value[0], motif.value[1]
        self.assertTrue(flags & 1 and not functions & 16, f"Motif flags {flags}, functions {functions}")
        allowed = p.main.get_full_property(p.x.intern_atom("_NET_WM_ALLOWED_ACTIONS"), harness.Xatom.ATOM)
        self.assertFalse([a for a in allowed.value if "MAXIMIZE" in p.x.get_atom_name(a)])
        for label in (p.count_label(), p.add_label()):
            self.assertIn("Press", label.actions())
            self.assertNotIn("focusable", label.states())
        self.assertIn((32, 32), p.icon_sizes(p.main))
        self.shot("start")


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


class Game(ProgramTest):
    def test_thresholds_with_real_message_boxes(self):
        p = self.program
        self.throw(49)
        self.wait_count(AFLOAT.format(49))
        self.assert_no_message()
        animals = p.animals()
        self.assertEqual(len(animals), 49)
        with open(os.path.join(os.path.dirname(os.path.abspath(PROGRAM)), "tips.txt"), encoding="utf-8") as f:
            bundled = set(f.read().splitlines()[:49])
        self.assertTrue(set(animals) <= bundled, set(animals) - bundled)
        self.shot("49")

        self.throw(1)
        wait_for("the message at 50", p.message)
        # A screen reader's press behind the box is blocked, as a mouse click is.
        p.add_label().do_action("Press")
        self.assertTrue(stays(lambda: p.count_label().name == AFLOAT.format(50)))
        self.dismiss(50)
        self.assertTrue(stays(lambda: len(p.animals()) == 50))
        self.assertEqual(p.count_label().name, AFLOAT.format(50))

        self.throw(24)
        self.wait_count(AFLOAT.format(74))
        self.assert_no_message()
        self.throw(1)
        self.dismiss(75)
        self.assertEqual(p.count_label().name, AFLOAT.format(75))

        for n in (76, 77):
            self.throw(1)
            self.wait_count(SUNK.format(n))
            self.dismiss(n)
        self.assertEqual(len(p.animals()), 77)
        self.shot("77")

    def test_double_click_throws_one_animal(self):
        self.program.click(self.program.add_label(), repeat=2)
        self.wait_count(AFLOAT.format(1))
        self.throw(1)
        self.wait_count(AFLOAT.format(2))
        self.assertEqual(len(self.program.animals()), 2)

    def test_no_key_throws_an_animal(self):
        p = self.program
        p.key("Tab", "space", "Return", "KP_Enter", "s", "alt+s", "Tab", "space", "Return", "Down")
        self.throw(1)  # a click after the keys proves they were all handled before it
        self.wait_count(AFLOAT.format(1))
        self.assertEqual(len(p.animals()), 1)

    def test_screen_reader_can_press_the_add_label(self):
        p = self.program
        p.add_label().do_action("Press")
        self.wait_count(AFLOAT.format(1))
        self.assertEqual(len(p.animals()), 1)


class About(ProgramTest):
    def test_hidden_shown_and_hidden_again(self):
        p = self.program
        about = p.window(ABOUT)
        self.assertTrue(about is None or not p.is_mapped(about))
        self.assertIsNone(p.frame(ABOUT))

        p.click(p.count_label())
        about = wait_for("the about window", lambda: p.window(ABOUT))
        wait_for("the about window to show", lambda: p.is_mapped(about))
        frame = wait_for("the credits on the accessibility bus", lambda: p.frame(ABOUT))
        credits = frame.find("push button").name
        self.assertTrue(credits.startswith("Jaggu du fant den super hemmelige about screenen"))
        self.assertTrue(credits.endswith("vel det var alt!!!"))
        self.assertFalse(p.decorated(about))
        self.assertEqual(p.geometry(about)[2:], (312, 213))
        ax, ay, aw, ah = p.outer_rect(about)
        mx, my, mw, mh = p.outer_rect(p.main)
        self.assertTrue(ax >= mx + mw, f"about {p.outer_rect(about)} not right of main {p.outer_rect(p.main)}")
        self.assertIn("_NET_WM_WINDOW_TYPE_UTILITY", p.window_types(about))
        self.assertEqual(p.transient_for(about), p.main.id)
        self.assertEqual(p.count_label().name, AFLOAT.format(0))
        self.shot("shown")

        x, y, _, _ = p.geometry(about)
        p.click_at(x + 308, y + 100)  # the strip right of the credits
        p.click(p.count_label(), dx=20)
        self.assertTrue(p.is_mapped(about))
        p.click(frame.find("push button"))
        wait_for("the about window to hide", lambda: not p.is_mapped(about))
        self.assertEqual(p.count_label().name, AFLOAT.format(0))
        self.assertEqual(p.animals(), [])
        self.shot("hidden")


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
