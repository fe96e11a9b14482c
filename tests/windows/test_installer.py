"""The installer under wine, as a user's silent install and uninstall: the
installed program runs, the registry holds the association and the
uninstall entry, and the uninstaller takes away them and the program's
files, puts back the tablatures' default it replaced, and leaves the text
files' default and the user's data. In a prefix of its own: the window's
tests register the document type in theirs at every start."""
import os
import re
import subprocess
import sys
import time
import unittest

BUILD = os.environ["PAVSDI_BUILD"]
SOURCE = os.environ["PAVSDI_SOURCE"]
VERSION = os.environ["PAVSDI_VERSION"]
ENV = dict(os.environ, PAVSDI_WINE_DIR=os.path.join(BUILD, "wine-installer"))
CLASSES = "HKCU\\Software\\Classes\\"
UNINSTALL = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PavSdi"
# What an earlier run may have left, and what a user had before: a default
# of their own for text files and another program's for tablatures.
BEFORE = ["reg delete %s /f" % key for key in
          [UNINSTALL, CLASSES + "PavSdi.Application", CLASSES + "PavSdi.Document.1", CLASSES + ".tab",
           CLASSES + ".txt"]] + [
    "reg add %s.txt /ve /d txtfile /f" % CLASSES,
    "reg add %s.tab /ve /d Ancien.Tab /f" % CLASSES]


def wine(*args, timeout=600):
    done = subprocess.run([os.path.join(SOURCE, "scripts/wine-run"), *args], capture_output=True, env=ENV,
                          timeout=timeout)
    return done.returncode, done.stdout.decode("utf-8", "replace").replace("\r", "")


def registry():
    """Our keys and the ones we touch, key -> {value name -> data} ("" names
    the default), read at once: each start of wine costs seconds."""
    _, out = wine("cmd", "/c", "reg query %s & reg query %s /s" % (UNINSTALL, CLASSES[:-1]))
    keys = {}
    for line in out.split("\n"):
        if line.startswith("HKEY_CURRENT_USER\\"):
            current = keys.setdefault("HKCU" + line[len("HKEY_CURRENT_USER"):], {})
        elif line.startswith("    "):
            fields = re.split(r" {4}", line.strip())
            current["" if fields[0] == "(Default)" else fields[0]] = fields[2] if len(fields) > 2 else ""
    return keys


def unix(windows_path):
    """A path of the prefix's drive C: as this machine names it."""
    drive, rest = windows_path.split(":", 1)
    assert drive.upper() == "C", windows_path
    return os.path.join(ENV["PAVSDI_WINE_DIR"], "prefix", "drive_c", *rest.strip("\\").split("\\"))


class Installer(unittest.TestCase):
    def test_silent_install_and_uninstall(self):
        status, out = wine("cmd", "/c", " & ".join(BEFORE + ["echo %APPDATA%"]))
        self.assertEqual(0, status, out)
        appdata = unix(out.strip().split("\n")[-1])
        data = os.path.join(appdata, "PavSdi", "orfeon", "prv.tab")
        os.makedirs(os.path.dirname(data), exist_ok=True)
        with open(data, "wb") as f:
            f.write(b"o4 c d e\r\n")
        shortcuts = os.path.join(appdata, "Microsoft", "Windows", "Start Menu", "Programs")
        window = os.path.exists(os.path.join(BUILD, "pavsdiw.exe"))
        opener = "pavsdiw.exe" if window else "pavsdi.exe"

        status, out = wine(os.path.join(BUILD, "PavSdi-%s-setup.exe" % VERSION), "/S")
        self.assertEqual(0, status, out)
        keys = registry()
        self.assertIn(UNINSTALL, keys)
        entry = keys[UNINSTALL]
        folder = entry["InstallLocation"]
        # One user's own programs: no administrator asked.
        self.assertRegex(folder, r"\\AppData\\Local\\Programs\\PavSdi$")
        self.assertEqual({"DisplayName": "PavSdi", "DisplayVersion": VERSION,
                          "UninstallString": '"%s\\uninstall.exe"' % folder,
                          "QuietUninstallString": '"%s\\uninstall.exe" /S' % folder},
                         {k: entry[k] for k in ("DisplayName", "DisplayVersion", "UninstallString",
                                                "QuietUninstallString")})
        installed = unix(folder)
        programs = ["pavsdi.exe", "devprobe.exe", "sonplay.exe", "clipsend.exe"] + (["pavsdiw.exe"] if window else [])
        for name in programs + ["share/pavsdi/orfeon/edition.wav", "share/pavsdi/orfeon/lexiton.ini"]:
            self.assertTrue(os.path.isfile(os.path.join(installed, name)), name)
        status, out = wine(os.path.join(installed, "pavsdi.exe"), "--version")
        self.assertEqual(0, status)
        self.assertIn(VERSION, out)
        self.assertTrue(os.path.isfile(os.path.join(shortcuts, "PavSdi (console).lnk")))
        self.assertEqual(window, os.path.isfile(os.path.join(shortcuts, "PavSdi.lnk")))

        # Tablatures open with us; text files offer us and keep their default.
        command = '"%s\\%s" "%%1"' % (folder, opener)
        self.assertEqual("PavSdi.Document.1", keys[CLASSES + ".tab"][""])
        self.assertEqual(command, keys[CLASSES + "PavSdi.Document.1\\shell\\open\\command"][""])
        self.assertEqual("%s\\%s,1" % (folder, opener), keys[CLASSES + "PavSdi.Document.1\\DefaultIcon"][""])
        self.assertEqual("txtfile", keys[CLASSES + ".txt"][""])
        self.assertIn("PavSdi.Document.1", keys[CLASSES + ".txt\\OpenWithProgids"])

        # The uninstaller goes on from a copy of itself: its end is the
        # install folder's going.
        program, switch = re.match(r'"([^"]+)" (/S)$', entry["QuietUninstallString"]).groups()
        status, out = wine(program, switch)
        self.assertEqual(0, status, out)
        deadline = time.monotonic() + 300
        while os.path.exists(installed) and time.monotonic() < deadline:
            time.sleep(0.5)
        self.assertFalse(os.path.exists(installed))
        keys = registry()
        ours = [k for k in keys if "PavSdi" in k or k.startswith(CLASSES + ".t")]
        self.assertEqual([CLASSES + ".tab", CLASSES + ".txt"], sorted(ours))
        self.assertEqual({"": "Ancien.Tab"}, keys[CLASSES + ".tab"])
        self.assertEqual({"": "txtfile"}, keys[CLASSES + ".txt"])
        self.assertFalse(os.path.exists(os.path.join(shortcuts, "PavSdi (console).lnk")))
        self.assertFalse(os.path.exists(os.path.join(shortcuts, "PavSdi.lnk")))
        with open(data, "rb") as f:
            self.assertEqual(b"o4 c d e\r\n", f.read())


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
