"""The installed program: `cmake --install` into a temporary prefix, each
installed file checked with the desktop's own validators, a first run on a
fresh account, the standard options, and the Debian package built, checked
with lintian, unpacked into a scratch root and run from there."""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "../blackbox"))
import pavsdi  # noqa: E402

VERSION = os.environ["PAVSDI_VERSION"]
INSTALLED = [
    "bin/pavsdi", "bin/pavsdi-window", "bin/devprobe", "lib/pavsdi/sonplay", "lib/pavsdi/clipsend",
    "lib/pavsdi/modules/pavsdi-sound.so",
    "share/pavsdi/orfeon/demo.tab", "share/pavsdi/orfeon/lexiton.dic", "share/pavsdi/orfeon/tutoriel.html",
    "share/pavsdi/orfeon/edition.wav", "share/pavsdi/lm4/wav/lisez.wav",
    "share/applications/org.pavsdi.PavSdi.desktop", "share/mime/packages/pavsdi.xml",
    "share/metainfo/org.pavsdi.PavSdi.metainfo.xml", "share/man/man1/pavsdi.1.gz",
    "share/man/man1/devprobe.1.gz", "share/icons/hicolor/scalable/apps/pavsdi.svg",
    "share/icons/hicolor/48x48/apps/pavsdi.png", "share/icons/hicolor/256x256/apps/pavsdi.png",
    "share/icons/hicolor/scalable/mimetypes/text-x-pavsdi-tablature.svg",
    "share/icons/hicolor/32x32/mimetypes/text-x-pavsdi-tablature.png",
]


def install(prefix):
    subprocess.run(["cmake", "--install", pavsdi.BUILD, "--prefix", prefix], check=True,
                   stdout=subprocess.DEVNULL)


def fresh_env(home, **extra):
    """An account with nothing set up: no data root, no display."""
    env = {"PATH": "/usr/bin:/bin", "HOME": home, "LANG": "C.UTF-8", "PAVSDI_UI": "console",
           "PAVSDI_AUDIO": "none"}
    env.update(extra)
    return env


def run(args, env, cwd=None):
    done = subprocess.run(args, env=env, cwd=cwd, capture_output=True, text=True, timeout=120)
    return done.returncode, done.stdout, done.stderr


class InstalledTree(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="pavsdi-install-")
        cls.prefix = os.path.join(cls.work, "prefix")
        install(cls.prefix)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def setUp(self):
        self.home = tempfile.mkdtemp(prefix="home-", dir=self.work)

    def path(self, relative):
        return os.path.join(self.prefix, relative)

    def check(self, args):
        status, out, err = run(args, dict(os.environ, LANG="C.UTF-8"))
        self.assertEqual(0, status, out + err)
        return out + err

    def test_every_file_is_there_and_valid(self):
        for relative in INSTALLED:
            self.assertTrue(os.path.isfile(self.path(relative)), relative)
        for program in ["bin/pavsdi", "bin/pavsdi-window", "bin/devprobe", "lib/pavsdi/sonplay",
                        "lib/pavsdi/clipsend"]:
            self.assertTrue(os.access(self.path(program), os.X_OK), program)
        entry = self.path("share/applications/org.pavsdi.PavSdi.desktop")
        self.assertNotIn("error", self.check(["desktop-file-validate", entry]))
        with open(entry, encoding="utf-8") as f:
            text = f.read()
        for line in ["Exec=pavsdi %f", "Categories=AudioVideo;Audio;Music;Education;",
                     "MimeType=text/x-pavsdi-tablature;text/plain;"]:
            self.assertIn(line + "\n", text)
        metainfo = self.path("share/metainfo/org.pavsdi.PavSdi.metainfo.xml")
        self.check(["appstreamcli", "validate", "--no-net", metainfo])
        self.check(["xmllint", "--noout", self.path("share/mime/packages/pavsdi.xml"), metainfo])
        with open(metainfo, encoding="utf-8") as f:
            text = f.read()
        self.assertIn('<release version="%s"' % VERSION, text)
        self.assertIn("<project_license>GPL-3.0-or-later</project_license>", text)
        # The MIME package as the desktop's database reads it.
        shutil.copytree(self.path("share/mime"), os.path.join(self.home, "mime"))
        self.check(["update-mime-database", os.path.join(self.home, "mime")])
        with open(os.path.join(self.home, "mime/globs2")) as f:
            self.assertIn(":text/x-pavsdi-tablature:*.tab", f.read())
        with open(os.path.join(self.home, "mime/subclasses")) as f:
            self.assertIn("text/x-pavsdi-tablature text/plain", f.read())
        for page, words in [("pavsdi", ["RÉPERTOIRE DE DONNÉES", "PAVSDI_ROOT", "XDG_DATA_HOME",
                                        "~/.local/share/pavsdi/orfeon", "midiinit.dev"]),
                            ("devprobe", ["--play"])]:
            status, out, err = run(["man", "--warnings", "-l", self.path("share/man/man1/%s.1.gz" % page)],
                                   dict(os.environ, LANG="C.UTF-8", MANWIDTH="80", MAN_KEEP_FORMATTING=""))
            self.assertEqual((0, ""), (status, err), page)
            for word in words:
                self.assertIn(word, out.replace("‐\n", "").replace("\u2010", "-"), page)

    def test_a_fresh_account_plays_with_no_set_up(self):
        status, out, err = run([self.path("bin/pavsdi"), "\\orfeon\\demo.tab"], fresh_env(self.home))
        self.assertEqual(0, status, err)
        data = os.path.join(self.home, ".local/share/pavsdi/orfeon")
        lines = out.splitlines()
        self.assertEqual("INFO\tpremier lancement\tRépertoire de données créé : %s\\n"
                         "Pas de sortie son : les tablatures sont enregistrées dans le fichier MIDI "
                         "%s/sortie.mid (périphérique 2)." % (data, data), lines[0].split("\\ndevprobe")[0])
        self.assertEqual(1, len(lines), "said once, and nothing else: " + out)
        with open(os.path.join(data, "midiinit.dev"), "rb") as f:
            self.assertEqual(b"2\r\n", f.read())
        notes = [m for _, m in pavsdi.midi_messages(os.path.join(data, "sortie.mid"))[0] if m.type == "note_on"]
        self.assertGreater(len(notes), 5)
        self.assertTrue(os.path.isfile(os.path.join(self.home, ".local/share/pavsdi/lm4/wav/lisez.wav")))
        # The second run finds it and says nothing more.
        status, out, _ = run([self.path("bin/pavsdi"), "\\orfeon\\demo.tab"], fresh_env(self.home))
        self.assertEqual((0, ""), (status, out))

    def test_the_root_follows_the_environment(self):
        cases = [({"XDG_DATA_HOME": os.path.join(self.home, "xdg")}, "xdg/pavsdi"),
                 ({"XDG_DATA_HOME": "relative"}, ".local/share/pavsdi"),
                 ({"PAVSDI_ROOT": os.path.join(self.home, "racine"),
                   "XDG_DATA_HOME": os.path.join(self.home, "xdg2")}, "racine")]
        for extra, root in cases:
            status, _, err = run([self.path("bin/pavsdi"), "\\orfeon\\demo.tab"], fresh_env(self.home, **extra),
                                 cwd=self.home)
            self.assertEqual(0, status, err)
            self.assertTrue(os.path.isfile(os.path.join(self.home, root, "orfeon/sortie.mid")), extra)
            shutil.rmtree(os.path.join(self.home, root.split("/")[0]))

    def test_an_existing_data_directory_is_never_changed(self):
        data = os.path.join(self.home, ".local/share/pavsdi/orfeon")
        os.makedirs(data)
        with open(os.path.join(data, "prv.tab"), "wb") as f:
            f.write(b"mine\r\n")
        status, out, _ = run([self.path("bin/pavsdi"), "\\orfeon\\demo.tab"], fresh_env(self.home))
        self.assertEqual(0, status)
        # Today's message for a missing device file; nothing added or replaced.
        lines = out.splitlines()
        self.assertEqual("INFO\timpossible d'ouvrir en lecture\t\\\\orfeon\\\\midiinit.dev", lines[0])
        self.assertTrue(lines[1].startswith("INFO\tmelvane\tL'environnement melvane a besoin"), out)
        self.assertEqual(["prv.tab"], os.listdir(data))
        with open(os.path.join(data, "prv.tab"), "rb") as f:
            self.assertEqual(b"mine\r\n", f.read())

    def test_the_companions_start_from_where_they_are_installed(self):
        clip = os.path.join(self.work, "clip-" + os.path.basename(self.home))
        # 509 has clipsend put the current information on the clipboard.
        done = subprocess.run([self.path("bin/pavsdi")], input="509\no\n", capture_output=True, text=True,
                              env=fresh_env(self.home, PAVSDI_CLIPBOARD=clip), timeout=60)
        self.assertIn("RUN\t\\\\orfeon\\\\clipsend.exe\t3", done.stdout)
        deadline = time.monotonic() + 10
        while not (os.path.exists(clip) and os.path.getsize(clip)) and time.monotonic() < deadline:
            time.sleep(0.05)
        self.assertTrue(os.path.exists(clip) and os.path.getsize(clip), "clipsend ran: " + done.stderr)
        data = os.path.join(self.home, ".local/share/pavsdi/orfeon")
        self.assertFalse([f for f in os.listdir(data) if f.startswith(("clipsend", "sonplay"))])

    def test_the_synthesizer_loads_from_where_it_is_installed(self):
        status, out, err = run([self.path("bin/devprobe")], fresh_env(self.home))
        self.assertEqual(0, status, err)
        self.assertEqual("256", out.split("\n")[1].split("\t")[1], out)

    def test_standard_options(self):
        for program in ["bin/pavsdi", "bin/devprobe", "lib/pavsdi/sonplay", "lib/pavsdi/clipsend"]:
            name = os.path.basename(program)
            for option in ["--help", "-h"]:
                status, out, err = run([self.path(program), option], fresh_env(self.home))
                self.assertEqual((0, ""), (status, err), program)
                self.assertTrue(out.startswith("Usage : " + name), out)
            self.assertEqual((0, "%s %s\n" % (name, VERSION), ""),
                             run([self.path(program), "--version"], fresh_env(self.home)))
            status, out, err = run([self.path(program), "--nimporte"], fresh_env(self.home))
            self.assertEqual((2, ""), (status, out))
            self.assertIn("option inconnue « --nimporte »", err)
        # None of them touched the account.
        self.assertEqual([], os.listdir(self.home))


class DebianPackage(unittest.TestCase):
    def test_the_package_is_clean_and_runs(self):
        work = tempfile.mkdtemp(prefix="pavsdi-deb-")
        try:
            done = subprocess.run(["cpack", "-G", "DEB", "-B", work], cwd=pavsdi.BUILD, capture_output=True,
                                  text=True, timeout=600)
            self.assertEqual(0, done.returncode, done.stdout + done.stderr)
            deb, = glob.glob(os.path.join(work, "pavsdi_%s_*.deb" % VERSION))
            control = subprocess.run(["dpkg-deb", "-f", deb, "Depends"], capture_output=True, text=True).stdout
            self.assertIn("libfluidsynth3", control, "dependencies computed from the binaries")
            self.assertEqual("", subprocess.run(["dpkg-deb", "--ctrl-tarfile", deb], capture_output=True,
                                                check=True).stderr.decode())
            members = subprocess.run(["dpkg-deb", "-I", deb], capture_output=True, text=True).stdout
            for script in ["postinst", "prerm", "postrm", "preinst"]:
                self.assertNotIn(" " + script, members)
            lint = subprocess.run(["lintian", "--tag-display-limit", "0", deb], capture_output=True, text=True)
            errors = [l for l in lint.stdout.splitlines() if l.startswith("E:")]
            self.assertEqual([], errors, lint.stdout)
            scratch = os.path.join(work, "root")
            subprocess.run(["dpkg", "-x", deb, scratch], check=True)
            home = os.path.join(work, "home")
            os.makedirs(home)
            status, out, err = run([os.path.join(scratch, "usr/bin/pavsdi"), "\\orfeon\\demo.tab"], fresh_env(home))
            self.assertEqual(0, status, err)
            self.assertIn("premier lancement", out)
            self.assertTrue(os.path.isfile(os.path.join(home, ".local/share/pavsdi/orfeon/sortie.mid")))
        finally:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    pavsdi.main()
