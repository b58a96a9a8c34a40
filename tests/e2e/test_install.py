"""The installed program: its layout, its desktop files, its Debian package, and that the
command on the PATH finds the animal file beside the program's real location."""

import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import Program, wait_for  # noqa: E402

BUILD = os.environ.get("BARGELING_BUILD_DIR", "build")
CMAKE = os.environ.get("CMAKE_COMMAND", "cmake")
CPACK = os.environ.get("CPACK_COMMAND", "cpack")
APP_ID = "org.example.Bargeling"


def run(*command, **kwargs):
    return subprocess.run(command, check=True, capture_output=True, text=True, **kwargs)


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

    def test_program_and_animals_share_a_directory(self):
        self.assertTrue(os.access(self.path("lib", "bargeling", "bargeling"), os.X_OK))
        self.assertTrue(os.path.isfile(self.path("lib", "bargeling", "tips.txt")))
        link = self.path("bin", "bargeling")
        self.assertTrue(os.path.islink(link))
        self.assertEqual(os.path.realpath(link), os.path.realpath(self.path("lib", "bargeling", "bargeling")))

    def test_desktop_entry_icon_and_metainfo_validate(self):
        run("desktop-file-validate", self.path("share", "applications", f"{APP_ID}.desktop"))
        run("appstreamcli", "validate", "--no-net", self.path("share", "metainfo", f"{APP_ID}.metainfo.xml"))
        with open(self.path("share", "metainfo", f"{APP_ID}.metainfo.xml"), encoding="utf-8") as f:
            self.assertIn('<release version="1.0.0"', f.read())
        with open(self.path("share", "icons", "hicolor", "scalable", "apps", f"{APP_ID}.svg"), encoding="utf-8") as f:
            self.assertIn("<svg", f.read())

    def test_command_on_the_path_reads_the_animals_beside_the_program(self):
        with open(self.path("lib", "bargeling", "tips.txt"), "w", encoding="utf-8") as f:
            f.write("Installert elg\n")
        harness.start_desktop()
        try:
            # Started through the link, from another directory: the animal still comes from
            # the program's own directory.
            program = Program(self.path("bin", "bargeling"), cwd=self.tmp.name)
            try:
                program.click(program.add_label())
                wait_for("an animal", lambda: program.animals() == ["Installert elg"])
            finally:
                program.stop()
        finally:
            harness.stop_desktop()


class DebianPackage(unittest.TestCase):
    def test_package_carries_version_files_and_dependencies(self):
        with tempfile.TemporaryDirectory() as out:
            run(CPACK, "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", out)
            debs = [name for name in os.listdir(out) if name.endswith(".deb")]
            self.assertEqual(len(debs), 1, os.listdir(out))
            deb = os.path.join(out, debs[0])
            self.assertEqual(run("dpkg-deb", "-f", deb, "Version").stdout.strip(), "1.0.0")
            depends = run("dpkg-deb", "-f", deb, "Depends").stdout
            self.assertIn("libqt6widgets6", depends)
            self.assertIn("qt6-qpa-plugins", depends)
            contents = run("dpkg-deb", "-c", deb).stdout
            for path in ("./usr/lib/bargeling/bargeling", "./usr/lib/bargeling/tips.txt",
                         "./usr/bin/bargeling -> ../lib/bargeling/bargeling",
                         f"./usr/share/applications/{APP_ID}.desktop",
                         f"./usr/share/metainfo/{APP_ID}.metainfo.xml"):
                self.assertIn(path, contents)


if __name__ == "__main__":
    unittest.main(verbosity=2)
