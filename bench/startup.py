# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Start-up of the game against a bare program with the same three controls: a Qt Widgets
program, or with --wine the Windows program against a bare Windows API program, both under Wine.

Each run starts the program under one Xvfb server, waits until its main window is mapped and
its labels are painted, closes it as a window manager would (WM_DELETE_WINDOW), and waits for it
to exit. The two programs alternate, so that a slow moment of the machine falls on both.
Reports the median times, their ratio, the peak resident memory of each, and the processor time
the program itself took until its first paint, and its page faults until then, which hardly vary
from run to run where the times, on a shared machine, wander widely.

Under Wine the X server has a window manager (openbox), as a desktop has, so the programs' windows
are managed and framed; the Wine prefix is made afresh for each run of this script, and its
wineserver and desktop are kept running between the programs, so that each start is the
program's own.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, Xatom, display, protocol

TITLE = "Bargeling 2000"


def find_window(x, pid):
    """The program's main window once it is viewable: a child of the root, or of the frame that
    the window manager put around it."""
    pid_atom = x.intern_atom("_NET_WM_PID")
    for top in x.screen().root.query_tree().children:
        try:
            candidates = [top] + (list(top.query_tree().children) if top.get_wm_name() is None else [])
        except Exception:
            continue
        for child in candidates:
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
    try:
        image = window.get_image(304, 16, 100, 20, X.ZPixmap, 0xFFFFFFFF)
    except Exception:
        return False  # reparented or resized while read
    return len(set(image.data)) > 4


def cpu_time(pid):
    """The time the process's threads have run on a processor, in seconds: unlike the wall time,
    it hardly grows when other work on the machine keeps the program waiting."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except OSError:
            continue  # a thread that has just ended
    return total / 1e9


def page_faults(pid):
    """The page faults of the process so far, minor and major: the memory it has touched, which
    other work on the machine does not change, where the wall time wanders."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[7]) + int(fields[9])


def run_once(x, program, launcher):
    start = time.perf_counter()
    program = os.path.abspath(program)
    process = subprocess.Popen([*launcher, program], cwd=os.path.dirname(program),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = None
    while window is None or not painted(window):
        if window is None:
            window = find_window(x, process.pid)
        if process.poll() is not None:
            raise SystemExit(f"{program} ended before it showed its window (status {process.returncode})")
        time.sleep(0.0005)
    shown = time.perf_counter() - start
    shown_cpu = cpu_time(process.pid)
    shown_faults = page_faults(process.pid)
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
    return shown, ended, usage.ru_maxrss, shown_cpu, shown_faults


def start_window_manager():
    manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    x = display.Display()
    check = x.intern_atom("_NET_SUPPORTING_WM_CHECK")
    deadline = time.monotonic() + 10
    while not x.screen().root.get_full_property(check, Xatom.WINDOW):
        if time.monotonic() > deadline:
            raise SystemExit("openbox did not start")
        time.sleep(0.05)
    x.close()
    return manager


def start_wine(prefix):
    """A fresh prefix made by the tests' own helper, a wineserver that outlives each program, and
    the desktop process kept running by a minimized Notepad: as on Windows, where the desktop is
    always there, a program's start does not include starting the desktop."""
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
    import harness
    harness.wine_prefix(prefix)
    subprocess.run(["wineserver", "-p"], check=True)
    subprocess.run([harness.WINE, "start", "/min", "notepad.exe"], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return [harness.WINE]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("game")
    parser.add_argument("minimal")
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--wine", action="store_true", help="the programs are Windows programs, run under Wine")
    args = parser.parse_args()

    server = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    os.environ["DISPLAY"] = ":" + server.stdout.readline().decode().strip()
    os.environ["QT_QPA_PLATFORM"] = "xcb"
    os.environ.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", None)
    manager, prefix, launcher = None, None, []
    results = {"game": [], "minimal": []}
    try:
        if args.wine:
            manager = start_window_manager()
            prefix = tempfile.mkdtemp(prefix="bargeling-bench-wine-")
            launcher = start_wine(prefix)
        x = display.Display()
        try:
            for name, program in (("game", args.game), ("minimal", args.minimal)):
                run_once(x, program, launcher)  # warm the file cache once for each
            for _ in range(args.runs):
                for name, program in (("game", args.game), ("minimal", args.minimal)):
                    results[name].append(run_once(x, program, launcher))
        finally:
            x.close()
    finally:
        if prefix:
            subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
            shutil.rmtree(prefix, ignore_errors=True)
        for process in (manager, server):
            if process:
                process.terminate()
                process.wait()

    def median(name, column):
        return statistics.median(r[column] for r in results[name])

    print(f"start-up over {args.runs} alternating runs each (median):")
    for name in ("game", "minimal"):
        print(f"  {name:8} first paint {median(name, 0) * 1000:7.1f} ms   exit {median(name, 1) * 1000:7.1f} ms"
              f"   peak memory {median(name, 2) / 1024:6.1f} MiB   processor time to first paint"
              f" {median(name, 3) * 1000:6.1f} ms   page faults to first paint {median(name, 4):6.0f}")
    print(f"  ratio    first paint {median('game', 0) / median('minimal', 0):.3f}"
          f"        exit {median('game', 1) / median('minimal', 1):.3f}"
          f"        memory +{(median('game', 2) - median('minimal', 2)) / 1024:.1f} MiB"
          f"       processor time {median('game', 3) / median('minimal', 3):.3f}"
          f"       page faults {median('game', 4) / median('minimal', 4):.3f}")


if __name__ == "__main__":
    main()
