# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The installed program: its layout, its desktop files, its manual page and documents, its Debian
package (which lintian must take without a word), and that the command finds the animal file
beside the program's real location."""

import gzip
import os
import re
import shutil
import struct
import subprocess
import sys
import tarfile
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import Program, wait_for  # noqa: E402

BUILD = os.environ.get("BARGELING_BUILD_DIR", "build")
SOURCE = os.environ.get("BARGELING_SOURCE_DIR",
                        os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
CMAKE = os.environ.get("CMAKE_COMMAND", "cmake")
CPACK = os.environ.get("CPACK_COMMAND", "cpack")
APP_ID = "org.example.Bargeling"
PROGRAM_DIR = ("lib", "games", "bargeling")
COMMAND = ("games", "bargeling")


def run(*command, **kwargs):
    return subprocess.run(command, check=True, capture_output=True, text=True, **kwargs)


def project_version():
    with open(os.path.join(BUILD, "CMakeCache.txt"), encoding="utf-8") as f:
        return re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.*)$", f.read(), re.M).group(1)


def assert_gzip_without_name_or_time(test, path):
    """gzip -n: no file name in the header and a time stamp of zero, so the bytes depend on the
    text alone."""
    with open(path, "rb") as f:
        magic, method, flags, mtime = struct.unpack("<HBBI", f.read(8))
    test.assertEqual((magic, method), (0x8B1F, 8), path)
    test.assertFalse(flags & 0x08, f"{path} carries a file name")
    test.assertEqual(mtime, 0, f"{path} carries a time stamp")


def desktop_exec(path):
    with open(path, encoding="utf-8") as f:
        return re.search(r"^Exec=(\S+)", f.read(), re.M).group(1)


def metainfo_binary(path):
    with open(path, encoding="utf-8") as f:
        return re.search(r"<binary>([^<]+)</binary>", f.read()).group(1)


class Installed(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.root = os.path.join(cls.tmp.name, "usr")
        run(CMAKE, "--install", BUILD, "--prefix", cls.root)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def test_command_in_games_links_to_the_program_beside_its_animals(self):
        program = self.path(*PROGRAM_DIR, "bargeling")
        self.assertTrue(os.access(program, os.X_OK))
        self.assertTrue(os.path.isfile(self.path(*PROGRAM_DIR, "tips.txt")))
        link = self.path(*COMMAND)
        self.assertTrue(os.path.islink(link))
        self.assertFalse(os.path.isabs(os.readlink(link)), "the link must survive a DESTDIR")
        self.assertEqual(os.path.realpath(link), os.path.realpath(program))
        self.assertFalse(os.path.exists(self.path("bin")), "nothing belongs in bin any more")

    def test_desktop_entry_and_metainfo_start_the_installed_command(self):
        command = os.path.basename(self.path(*COMMAND))
        self.assertEqual(desktop_exec(self.path("share", "applications", f"{APP_ID}.desktop")), command)
        self.assertEqual(metainfo_binary(self.path("share", "metainfo", f"{APP_ID}.metainfo.xml")), command)

    def test_desktop_entry_icon_and_metainfo_validate(self):
        run("desktop-file-validate", self.path("share", "applications", f"{APP_ID}.desktop"))
        metainfo = self.path("share", "metainfo", f"{APP_ID}.metainfo.xml")
        result = subprocess.run(["appstreamcli", "validate", "--no-net", "--pedantic", metainfo],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertNotRegex(result.stdout, r"(?m)^[EW]:", "appstreamcli warns")
        with open(metainfo, encoding="utf-8") as f:
            text = f.read()
        self.assertIn(f'<release version="{project_version()}"', text)
        self.assertIn("<project_license>GPL-3.0-or-later</project_license>", text)
        self.assertRegex(text, r'<developer id="org\.example">\s*<name>The Bargeling developers</name>')
        self.assertIn('<url type="homepage">https://example.org/', text)
        self.assertRegex(text, r'<screenshot type="default">[\s\S]*<image[^>]*>https://example\.org/\S*/docs/screenshot\.png</image>')
        self.assertTrue(os.path.isfile(os.path.join(SOURCE, "docs", "screenshot.png")))
        with open(self.path("share", "icons", "hicolor", "scalable", "apps", f"{APP_ID}.svg"), encoding="utf-8") as f:
            self.assertIn("<svg", f.read())

    def test_manual_page_in_section_6_names_the_options_and_the_animal_file(self):
        page = self.path("share", "man", "man6", "bargeling.6.gz")
        assert_gzip_without_name_or_time(self, page)
        with gzip.open(page, "rt", encoding="utf-8") as f:
            text = f.read()
        self.assertRegex(text, rf'(?m)^\.TH BARGELING 6 \S+ "bargeling {re.escape(project_version())}"')
        self.assertNotRegex(text, r"@[A-Z_]+@", "a variable was left unconfigured")
        for section in ("NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "FILES"):
            self.assertRegex(text, rf"(?m)^\.SH {section}$")
        for option in (r"\-\-help", r"\-\-version", r"\-platform", r"\-style"):
            self.assertIn(option, text)
        self.assertIn("/".join(("", "usr") + PROGRAM_DIR + ("tips.txt",)), text)
        if shutil.which("man"):
            # Rendered as man does it, with groff's warnings on.
            result = subprocess.run(["man", "--warnings", "-E", "UTF-8", "-l", page],
                                    capture_output=True, text=True,
                                    env=dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8", MAN_KEEP_FORMATTING="0"))
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertEqual(result.stderr, "", "groff warns about the manual page")
            shown = re.sub(".\b", "", result.stdout)  # no overstrike for bold and underline
            self.assertIn("/usr/lib/games/bargeling/tips.txt", shown)
            self.assertNotRegex(shown, "/usr/lo\u2010?\\s", "a folder split by hyphenation")

    def test_copyright_and_changelog_in_the_documents(self):
        docs = self.path("share", "doc", "bargeling")
        with open(os.path.join(docs, "copyright"), encoding="utf-8") as f:
            copyright_text = f.read()
        self.assertTrue(copyright_text.startswith(
            "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"))
        self.assertIn("Copyright: 2026 The Bargeling developers", copyright_text)
        for licence in ("GPL-3.0-or-later", "CC0-1.0"):
            self.assertRegex(copyright_text, rf"(?m)^License: {licence}$")
        changelog = os.path.join(docs, "changelog.gz")
        assert_gzip_without_name_or_time(self, changelog)
        with gzip.open(changelog, "rt", encoding="utf-8") as f:
            first = f.readline()
        # The newest entry is the version being built: a new version needs a new entry.
        self.assertEqual(first.split()[:2], ["bargeling", f"({project_version()})"])

    @unittest.skipIf(os.environ.get("BARGELING_SANITIZE") == "ON",
                     "AddressSanitizer writes each source file's path into the program it instruments")
    def test_program_carries_no_path_of_the_source_or_build_folder(self):
        with open(os.path.join(BUILD, "bargeling"), "rb") as f:
            program = f.read()
        for folder in (os.path.realpath(BUILD), os.path.realpath(SOURCE)):
            self.assertFalse(folder.encode() in program, f"{folder} is compiled into the program")

    def test_command_on_the_path_reads_the_animals_beside_the_program(self):
        with open(self.path(*PROGRAM_DIR, "tips.txt"), "w", encoding="utf-8") as f:
            f.write("Installert elg\n")
        harness.start_desktop()
        try:
            # Started through the link, from another directory: the animal still comes from
            # the program's own directory.
            program = Program(self.path(*COMMAND), cwd=self.tmp.name)
            try:
                program.click(program.add_label())
                wait_for("an animal", lambda: program.animals() == ["Installert elg"])
            finally:
                program.stop()
        finally:
            harness.stop_desktop()


def last_commit_time():
    """SOURCE_DATE_EPOCH as cpack takes it: from the environment, else from the last commit."""
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    if shutil.which("git") is None:
        return None
    result = subprocess.run(["git", "-C", SOURCE, "log", "-1", "--format=%ct", "--", "."],
                            capture_output=True, text=True)
    return int(result.stdout) if result.returncode == 0 and result.stdout.strip() else None


def ar_members(path):
    """(name, mtime, mode) of each member of an ar archive such as a .deb."""
    members = []
    with open(path, "rb") as f:
        assert f.read(8) == b"!<arch>\n"
        while header := f.read(60):
            name, mtime, size, mode = header[:16], header[16:28], header[48:58], header[40:48]
            members.append((name.decode().strip().rstrip("/"), int(mtime), int(mode, 8)))
            f.seek(int(size) + int(size) % 2, os.SEEK_CUR)
    return members


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        run(CPACK, "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", cls.tmp.name)
        debs = [name for name in os.listdir(cls.tmp.name) if name.endswith(".deb")]
        assert len(debs) == 1, os.listdir(cls.tmp.name)
        cls.deb = os.path.join(cls.tmp.name, debs[0])

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_package_carries_version_files_and_dependencies(self):
        self.assertEqual(run("dpkg-deb", "-f", self.deb, "Version").stdout.strip(), project_version())
        self.assertEqual(run("dpkg-deb", "-f", self.deb, "Section").stdout.strip(), "games")
        depends = run("dpkg-deb", "-f", self.deb, "Depends").stdout
        self.assertIn("libqt6widgets6", depends)
        self.assertIn("libqt6svg6", depends)  # draws the window icon
        self.assertEqual(run("dpkg-deb", "-f", self.deb, "Recommends").stdout.strip(), "qt6-wayland")
        self.assertIn("qt6-qpa-plugins", depends)
        contents = run("dpkg-deb", "-c", self.deb).stdout
        for path in ("./usr/lib/games/bargeling/bargeling", "./usr/lib/games/bargeling/tips.txt",
                     "./usr/games/bargeling -> ../lib/games/bargeling/bargeling",
                     "./usr/share/man/man6/bargeling.6.gz",
                     "./usr/share/doc/bargeling/copyright", "./usr/share/doc/bargeling/changelog.gz",
                     f"./usr/share/applications/{APP_ID}.desktop",
                     f"./usr/share/metainfo/{APP_ID}.metainfo.xml"):
            self.assertIn(path, contents)
        self.assertNotIn("./usr/bin/", contents)

    def test_lintian_says_nothing(self):
        if shutil.which("lintian") is None:
            harness.skip("missing tool: lintian (scripts/setup installs it)", self)
        command = ["lintian"] + (["--allow-root"] if os.geteuid() == 0 else []) + [self.deb]
        result = subprocess.run(command, capture_output=True, text=True)
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0, "", ""))

    def test_every_time_stamp_is_the_source_date_epoch(self):
        epoch = last_commit_time()
        if epoch is None:
            harness.skip("neither SOURCE_DATE_EPOCH nor a git checkout to take it from", self)
        members = ar_members(self.deb)
        self.assertEqual([name for name, _, _ in members], ["debian-binary", "control.tar.gz", "data.tar.gz"])
        self.assertEqual({mtime for _, mtime, _ in members}, {epoch})
        data = subprocess.run(["dpkg-deb", "--fsys-tarfile", self.deb], check=True, capture_output=True).stdout
        with tempfile.TemporaryFile() as f:
            f.write(data)
            f.seek(0)
            with tarfile.open(fileobj=f) as tar:
                stamps = {member.name: member.mtime for member in tar.getmembers()}
                modes = {member.name: member.mode for member in tar.getmembers() if member.isdir()}
        self.assertEqual({name for name, mtime in stamps.items() if mtime != epoch}, set())
        self.assertEqual({name for name, mode in modes.items() if mode != 0o755}, set())


if __name__ == "__main__":
    unittest.main(verbosity=2)
