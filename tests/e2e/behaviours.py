# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The game's behaviours (behaviours.json), one case a row, played by each harness's Player on its
platform: every case starts the program afresh, plays its steps and checks what is seen after a
step that says so. What is seen is awaited, then must hold a moment longer, so that a late click
counted behind a message is caught too."""

import json
import os
import re
import time
import unittest

TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "behaviours.json")
BUNDLED = object()  # a case without "tips": the tips.txt that comes with the program


def load():
    with open(TABLE, encoding="utf-8") as f:
        return json.load(f)


class Player:
    """What a harness does to play the table. Labels are named "count", "add" and "credits"; keys as
    the table names them (Up, Down, End, Tab, space, Return, s)."""

    def start(self, tips):
        """Starts the program afresh, beside a tips.txt: BUNDLED, None for none, or a list of lines."""
        raise NotImplementedError

    def stop(self):
        """Ends the program; fails on a fault that it reported (a sanitizer's, the page's)."""
        raise NotImplementedError

    def click(self, label, run=1):
        """A click (a tap), or a run of quick clicks at one spot; behind an open message, at a part of
        the label that the message leaves uncovered."""
        raise NotImplementedError

    def throw(self, times):
        """Clicks on the add label that never pair into double-clicks."""
        raise NotImplementedError

    def press(self, label):
        """A screen reader's press: the label's default action."""
        raise NotImplementedError

    def key(self, name):
        raise NotImplementedError

    def dismiss(self):
        """OK on the open message."""
        raise NotImplementedError

    # What is seen: one method for each key of 'see', each read afresh.

    def title(self): raise NotImplementedError
    def count(self): raise NotImplementedError
    def add(self): raise NotImplementedError
    def animals(self): raise NotImplementedError
    def items(self): raise NotImplementedError
    def selected(self): raise NotImplementedError
    def message(self): raise NotImplementedError  # None, or (title, text, [buttons]) of one message with no icon
    def about(self): raise NotImplementedError  # "hidden", "beside", or what else it is
    def credits(self): raise NotImplementedError
    def listName(self): raise NotImplementedError
    def layout(self): raise NotImplementedError  # {"form": [w, h], "list": [x, y, w, h], "count": ..., "add": ...}


def expected(key, value, texts):
    """What the table says is seen, in the form a Player reads it."""
    if key in ("count", "add") and isinstance(value, list):
        return texts[value[0]].format(n=value[1])
    if key == "message" and value is not None:
        return tuple(value[:2]) + (list(value[2]),)
    return value


def matches(key, want, got):
    if key == "credits":
        return isinstance(got, str) and got.startswith(want[0]) and got.endswith(want[1])
    if key == "layout":
        return isinstance(got, dict) and all(
            k in got and len(got[k]) == len(v) and all(abs(a - b) <= 1 for a, b in zip(got[k], v)) for k, v in want.items())
    if key == "message" and got is not None:
        got = tuple(got[:2]) + (list(got[2]),)
    return got == want


def play(test, player, case, texts, timeout=10.0, hold=0.5):
    player.start(case.get("tips", BUNDLED))
    try:
        for number, step in enumerate(case["steps"], 1):
            if "click" in step:
                player.click(step["click"], step.get("run", 1))
            elif "throw" in step:
                player.throw(step["throw"])
            elif "press" in step:
                player.press(step["press"])
            elif "key" in step:
                player.key(step["key"])
            elif "dismiss" in step:
                player.dismiss()
            see = {k: expected(k, v, texts) for k, v in step.get("see", {}).items()}
            seen = lambda: {k: getattr(player, k)() for k in see}
            holds = lambda: all(matches(k, see[k], v) for k, v in seen().items())
            deadline = time.monotonic() + timeout
            while not holds() and time.monotonic() < deadline:
                time.sleep(0.05)
            deadline = time.monotonic() + hold
            while holds() and time.monotonic() < deadline:
                time.sleep(0.05)
            if see:
                got = seen()
                test.assertTrue(all(matches(k, see[k], v) for k, v in got.items()),
                                f"{case['name']}, step {number} {step}: saw {got}")
    finally:
        player.stop()


def table(make_player):
    """A TestCase class with one test for each case of the table, each played by a new Player."""
    cases = load()

    class Behaviours(unittest.TestCase):
        pass

    for number, case in enumerate(cases["cases"], 1):
        name = "test_%02d_%s" % (number, re.sub(r"\W+", "_", case["name"]).strip("_"))
        setattr(Behaviours, name, lambda self, case=case: play(self, make_player(self), case, cases["texts"]))
    return Behaviours
