# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Start-up of the game against a bare Qt Widgets program with the same three widgets.

Each run starts the program under one Xvfb server, waits until its main window is mapped and
its labels are painted, closes it as a window manager would (WM_DELETE_WINDOW), and waits for it
to exit. The two programs alternate, so that a slow moment of the machine falls on both.
Reports the median times, their ratio, and the peak resident memory of each.
"""

import argparse
import os
import statistics
import subprocess
import time

from Xlib import X, display, protocol

TITLE = "Bargeling 2000"


def find_window(x, pid):
    pid_atom = x.intern_atom("_NET_WM_PID")
    for child in x.screen().root.query_tree().children:
        try:
            if child.get_wm_name() != TITLE:
                continue
            prop = child.get_full_property(pid_atom, X.AnyPropertyType)
            if prop and prop.value[0] == pid and child.get_attributes().map_state == X.IsViewable:
                return child
        except Exception:
            continue
    return None


def painted(window):
    # The count label stands at (304, 16); text there means the labels are drawn.
    image = window.get_image(304, 16, 100, 20, X.ZPixmap, 0xFFFFFFFF)
    return len(set(image.data)) > 4


def run_once(x, program):
    start = time.perf_counter()
    process = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = None
    while window is None or not painted(window):
        if window is None:
            window = find_window(x, process.pid)
        time.sleep(0.0005)
    shown = time.perf_counter() - start
    event = protocol.event.ClientMessage(
        window=window, client_type=x.intern_atom("WM_PROTOCOLS"),
        data=(32, [x.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
    window.send_event(event, event_mask=X.NoEventMask)
    x.flush()
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = status
    ended = time.perf_counter() - start
    if status != 0:
        raise SystemExit(f"{program} exited with status {status}")
    return shown, ended, usage.ru_maxrss


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("game")
    parser.add_argument("minimal")
    parser.add_argument("--runs", type=int, default=15)
    args = parser.parse_args()

    server = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    os.environ["DISPLAY"] = ":" + server.stdout.readline().decode().strip()
    os.environ["QT_QPA_PLATFORM"] = "xcb"
    os.environ.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", None)
    x = display.Display()
    results = {"game": [], "minimal": []}
    try:
        for name, program in (("game", args.game), ("minimal", args.minimal)):
            run_once(x, program)  # warm the file cache once for each
        for _ in range(args.runs):
            for name, program in (("game", args.game), ("minimal", args.minimal)):
                results[name].append(run_once(x, program))
    finally:
        x.close()
        server.terminate()
        server.wait()

    def median(name, column):
        return statistics.median(r[column] for r in results[name])

    print(f"start-up over {args.runs} alternating runs each (median):")
    for name in ("game", "minimal"):
        print(f"  {name:8} first paint {median(name, 0) * 1000:7.1f} ms   exit {median(name, 1) * 1000:7.1f} ms"
              f"   peak memory {median(name, 2) / 1024:6.1f} MiB")
    print(f"  ratio    first paint {median('game', 0) / median('minimal', 0):.3f}"
          f"        exit {median('game', 1) / median('minimal', 1):.3f}"
          f"        memory +{(median('game', 2) - median('minimal', 2)) / 1024:.1f} MiB")


if __name__ == "__main__":
    main()
