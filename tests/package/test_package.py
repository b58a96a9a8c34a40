# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The project as a distribution checks it: the tree is REUSE-compliant, and two builds of one
commit, from two folders and at two times, give the same program and the same .deb byte for byte,
and the same Windows program, zip file and installer, and the same site of the browser build.

Run one class at a time: `test_package.py Licensing`, `test_package.py Reproducible`,
`test_package.py ReproducibleWindows` or `test_package.py ReproducibleWeb`. A check whose tool is missing is skipped, and says so,
and fails under CI; scripts/setup installs the tools.
"""

import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))
import harness  # noqa: E402

SOURCE = os.environ.get("BARGELING_SOURCE_DIR",
                        os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
CMAKE = os.environ.get("CMAKE_COMMAND", "cmake")
CPACK = os.environ.get("CPACK_COMMAND", "cpack")
GENERATOR = os.environ.get("CMAKE_GENERATOR", "Ninja")


def run(*command, **kwargs):
    result = subprocess.run(command, capture_output=True, text=True, **kwargs)
    if result.returncode != 0:
        raise AssertionError(f"{' '.join(command)} failed ({result.returncode}):\n"
                             f"{result.stdout[-4000:]}\n{result.stderr[-4000:]}")
    return result


def git(*arguments):
    """The output of git in the source tree, or None outside a git checkout."""
    if shutil.which("git") is None:
        return None
    result = subprocess.run(["git", "-C", SOURCE, *arguments], capture_output=True)
    return result.stdout if result.returncode == 0 else None


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


class Licensing(unittest.TestCase):
    def test_licence_texts_are_there_and_copying_is_the_gpl(self):
        with open(os.path.join(SOURCE, "COPYING"), encoding="utf-8") as f:
            copying = f.read()
        self.assertIn("GNU GENERAL PUBLIC LICENSE\n                       Version 3", copying)
        with open(os.path.join(SOURCE, "LICENSES", "GPL-3.0-or-later.txt"), encoding="utf-8") as f:
            self.assertEqual(f.read(), copying)
        with open(os.path.join(SOURCE, "LICENSES", "CC0-1.0.txt"), encoding="utf-8") as f:
            self.assertIn("CC0 1.0 Universal", f.read())

    def test_reuse_lint_says_the_tree_is_compliant(self):
        if shutil.which("reuse") is None:
            harness.skip("missing tool: reuse (Debian's package reuse; scripts/setup installs it)", self)
        # In a git checkout reuse leaves out what git ignores, such as build/.
        result = subprocess.run(["reuse", "--root", SOURCE, "lint"], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn("compliant", result.stdout)


class Reproducible(unittest.TestCase):
    second_umask = 0o002

    def source_files(self):
        """The files of a clean clone: the tracked ones, as they are in the working tree (so that
        the test sees the changes it is run on), and new ones that git does not ignore."""
        listed = git("ls-files", "-z", "--cached", "--others", "--exclude-standard")
        if listed is None:
            harness.skip("the source is not a git checkout, so its files cannot be told from others", self)
        names = sorted({name for name in listed.decode().split("\0") if name})
        return [name for name in names if os.path.isfile(os.path.join(SOURCE, name))]

    def build(self, source, umask):
        """Copies the tree to source, then builds the program and the package there."""
        build = os.path.join(source, "build")
        # The program is built as a developer builds it, with no SOURCE_DATE_EPOCH: the fresh file
        # times of the copies must not reach it. Only cpack is given the commit's time.
        plain = {k: v for k, v in os.environ.items() if k != "SOURCE_DATE_EPOCH"}
        env = dict(os.environ, SOURCE_DATE_EPOCH=self.epoch)
        previous = os.umask(umask)
        try:
            self.copy_tree(source)
            run(CMAKE, "-S", source, "-B", build, "-G", GENERATOR,
                "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DBUILD_TESTING=OFF", env=plain)
            run(CMAKE, "--build", build, env=plain)
        finally:
            os.umask(previous)
        # Packaging runs under umask 022, as dpkg-buildpackage sets it: CPack gives the archives
        # inside the .deb the modes that the umask leaves them.
        previous = os.umask(0o022)
        try:
            run(CPACK, "--config", os.path.join(build, "CPackConfig.cmake"), env=env)
        finally:
            os.umask(previous)
        debs = [name for name in os.listdir(os.path.join(build, "package")) if name.endswith(".deb")]
        self.assertEqual(len(debs), 1, debs)
        return {"program": os.path.join(build, "bargeling"), ".deb": os.path.join(build, "package", debs[0])}

    def copy_tree(self, source):
        for name in self.files:
            target = os.path.join(source, name)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copy(os.path.join(SOURCE, name), target)  # fresh time stamps, same modes

    def differences(self, first, second):
        if shutil.which("diffoscope") is None:
            return "(diffoscope is missing, so no details; scripts/setup installs it)"
        result = subprocess.run(["diffoscope", "--no-progress", "--text", "-", first, second],
                                capture_output=True, text=True)
        return result.stdout[:20000] + result.stderr[-2000:]

    def test_two_builds_give_the_same_files(self):
        self.files = self.source_files()
        # The copies have no history, so both take the time stamp from here: from the last
        # commit, as cpack does in a checkout.
        self.epoch = os.environ.get("SOURCE_DATE_EPOCH") or git("log", "-1", "--format=%ct").decode().strip()
        with tempfile.TemporaryDirectory(prefix="bargeling-repro-") as tmp:
            # Two folders of different depth and name, built a while apart under different umasks.
            first = self.build(os.path.join(tmp, "one", "bargeling"), 0o022)
            time.sleep(1.5)
            second = self.build(os.path.join(tmp, "second build", "deeper", "bargeling-copy"), self.second_umask)
            self.assertEqual(sorted(first), sorted(second))
            for what, a, b in ((what, first[what], second[what]) for what in first):
                print(f"{what}: {sha256(a)} {os.path.basename(a)}")
                if sha256(a) != sha256(b):
                    self.fail(f"the two builds give different {what}s:\n{self.differences(a, b)}")


class ReproducibleWindows(Reproducible):
    """The same for the cross-compiled program and its packages, as scripts/build-windows makes
    them; the second build wholly under umask 077, which the packing must not let reach them."""
    second_umask = 0o077

    def setUp(self):
        missing = [tool for tool in ("x86_64-w64-mingw32-g++-posix", "x86_64-w64-mingw32-windres",
                                     "rsvg-convert", "icotool", "zip", "wixl", "msiinfo") if not shutil.which(tool)]
        if missing:
            harness.skip(f"missing tools: {', '.join(missing)} (scripts/build-windows installs them)", self)

    def build(self, source, umask):
        build = os.path.join(source, "build-windows")
        plain = {k: v for k, v in os.environ.items() if k != "SOURCE_DATE_EPOCH"}
        previous = os.umask(umask)
        try:
            self.copy_tree(source)
            run(CMAKE, "-S", source, "-B", build, "-G", GENERATOR, "-DCMAKE_BUILD_TYPE=Release", "-DBUILD_TESTING=OFF",
                f"-DCMAKE_TOOLCHAIN_FILE={os.path.join(source, 'cmake', 'mingw-w64.cmake')}", env=plain)
            run(CMAKE, "--build", build, env=plain)
            run(CMAKE, "--build", build, "--target", "package", env=dict(plain, SOURCE_DATE_EPOCH=self.epoch))
        finally:
            os.umask(previous)
        packages = {os.path.splitext(name)[1]: os.path.join(build, "package", name)
                    for name in os.listdir(os.path.join(build, "package")) if name.endswith((".zip", ".msi"))}
        self.assertEqual(sorted(packages), [".msi", ".zip"])
        return {"program": os.path.join(build, "bargeling.exe"), **packages}


class ReproducibleWeb(Reproducible):
    """The same for the browser build's site, every file of it, as scripts/build-web makes it."""

    def setUp(self):
        if shutil.which("emcc") is None:
            harness.skip("missing tool: emcc (Debian's package emscripten; scripts/setup installs it)", self)

    def build(self, source, umask):
        previous = os.umask(umask)
        try:
            self.copy_tree(source)
            run(os.path.join(source, "scripts", "build-web"), cwd=source,
                env=dict(os.environ, SOURCE_DATE_EPOCH=self.epoch))
        finally:
            os.umask(previous)
        site = os.path.join(source, "build-web", "site")
        files = {os.path.relpath(os.path.join(folder, name), site): os.path.join(folder, name)
                 for folder, _, names in os.walk(site) for name in names}
        self.assertIn("index.html", files)
        return files


if __name__ == "__main__":
    unittest.main(verbosity=2)
