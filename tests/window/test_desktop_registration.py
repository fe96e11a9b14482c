"""Registration of the document type at each start of the window, in
temporary XDG directories, checked with the desktop's own tool (xdg-mime):
PavSdi becomes the default of its own .tab type and is only offered for text
files, whose editor stays their default."""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
import test_window  # noqa: E402
from test_window import pavsdi  # noqa: E402

OURS = "PavSdi.Document.1.desktop"
INSTALLED = "org.pavsdi.PavSdi.desktop"
TABLATURE = "text/x-pavsdi-tablature"


class RegistrationTest(pavsdi.RootTest):
    run_window = test_window.WindowTest.run_window

    def setUp(self):
        super().setUp()
        self.data = os.path.join(self.root, "xdg-data")
        self.config = os.path.join(self.root, "xdg-config")
        # An editor that was the default before us.
        os.makedirs(os.path.join(self.data, "applications"))
        os.makedirs(self.config)
        with open(os.path.join(self.data, "applications", "editor.desktop"), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=Editor\nExec=/bin/true %f\n")
        self.mimeapps = os.path.join(self.config, "mimeapps.list")
        with open(self.mimeapps, "w") as f:
            f.write("[Default Applications]\ntext/html=editor.desktop\ntext/plain=editor.desktop\n")

    def xdg_mime(self, *args, data_dirs=None):
        env = {k: v for k, v in os.environ.items()
               if k not in ("XDG_CURRENT_DESKTOP", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                            "DESKTOP_SESSION", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS")}
        env.update(XDG_DATA_HOME=self.data, XDG_CONFIG_HOME=self.config, HOME=self.root)
        if data_dirs:
            env["XDG_DATA_DIRS"] = data_dirs
        done = subprocess.run(["xdg-mime", "query", *args], env=env, cwd=self.root,
                              capture_output=True, text=True, timeout=30)
        return done.stdout.strip()

    def default(self, mime_type="text/plain", data_dirs=None):
        return self.xdg_mime("default", mime_type, data_dirs=data_dirs)

    def mimeapps_text(self):
        with open(self.mimeapps) as f:
            return f.read()

    def run_without_device_file(self, steps, args):
        """The entry reads the command line's options only when the device file
        is missing; it then opens the built-in synthesizer, which needs a sound
        output: a PulseAudio server with a null sink stands for one."""
        os.remove(os.path.join(self.orfeon, "midiinit.dev"))
        if not shutil.which("pulseaudio"):
            self.skipTest("pulseaudio is not installed: no sound output for the built-in synthesizer")
        runtime = os.path.join(self.root, "runtime")
        os.makedirs(runtime, mode=0o700)
        server = subprocess.Popen(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                   "--disallow-exit", "-L", "module-null-sink",
                                   "-L", "module-native-protocol-unix"],
                                  env=dict(os.environ, XDG_RUNTIME_DIR=runtime),
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            socket = os.path.join(runtime, "pulse", "native")
            for _ in range(100):
                if os.path.exists(socket):
                    break
                time.sleep(0.05)
            log = self.run_window(steps, args=args, XDG_RUNTIME_DIR=runtime, PAVSDI_AUDIO="pulseaudio")
        finally:
            server.terminate()
            server.wait(timeout=10)
        self.assertIn("READY", log, "the window opens on the built-in synthesizer")
        return log

    def entry(self, name):
        path = os.path.join(self.data, "applications", name)
        if not os.path.exists(path):
            return None
        with open(path) as f:
            return f.read()

    def test_start_registers(self):
        self.assertEqual("editor.desktop", self.default())
        log = self.run_window([])
        self.assertEqual("editor.desktop", self.default(), "the text editor stays the default")
        self.assertEqual(OURS, self.default(TABLATURE))
        self.assertIn("[Added Associations]\ntext/plain=%s;\n" % OURS, self.mimeapps_text())
        # What registers is the window program (pavsdi becomes it), which
        # the desktop then starts directly.
        program = os.path.realpath(os.path.join(pavsdi.BUILD, "pavsdi-window"))
        self.assertIn("Exec=%s %%f\n" % program, self.entry(OURS))
        self.assertIn("Exec=%s %%f\n" % program, self.entry("PavSdi.Application.desktop"))
        self.assertTrue(os.path.exists(os.path.join(
            self.data, "icons/hicolor/scalable/apps/PavSdi.Document.1.svg")))
        after_ready = log[log.index("READY") + 1:]
        self.assertEqual("CUE\t\\\\orfeon\\\\edition.wav", after_ready[0])

    def test_unreg_restores_the_earlier_default(self):
        self.run_window([])
        self.assertEqual(OURS, self.default(TABLATURE))

        log = self.run_without_device_file(["dump unreg"], ["/UNREG"])
        self.assertTrue(os.path.exists(os.path.join(self.root, "unreg")), "the window opened")
        self.assertNotIn("CUE\t\\\\orfeon\\\\edition.wav", log[log.index("READY") + 1:])
        self.assertEqual("editor.desktop", self.default())
        self.assertEqual("", self.default(TABLATURE))
        self.assertIsNone(self.entry(OURS))
        self.assertIsNone(self.entry("PavSdi.Application.desktop"))
        self.assertEqual("[Default Applications]\ntext/html=editor.desktop\n"
                         "text/plain=editor.desktop\n", self.mimeapps_text())

    def test_other_tokens_only_register(self):
        self.run_without_device_file([], ["-verbose", "unregister", "/unregistered"])
        self.assertEqual(OURS, self.default(TABLATURE))

    def test_an_installed_program_uses_its_installed_entry(self):
        """Installed under a prefix whose MIME database knows the type (what
        the package's triggers do): .tab files are ours, the installed entry
        opens them, and nothing is written in its place."""
        prefix = os.path.join(self.root, "prefix")
        subprocess.run(["cmake", "--install", pavsdi.BUILD, "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL)
        share = os.path.join(prefix, "share")
        subprocess.run(["update-mime-database", os.path.join(share, "mime")], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        data_dirs = share + ":/usr/share"
        with open(os.path.join(self.root, "x.tab"), "w") as f:
            f.write("do re mi\n")
        self.assertEqual(TABLATURE, self.xdg_mime("filetype", "x.tab", data_dirs=data_dirs))
        before = self.mimeapps_text()
        # The window's script runs the installed program in place of the build's.
        build, pavsdi.BUILD = pavsdi.BUILD, os.path.join(prefix, "bin")
        try:
            self.run_window([], XDG_DATA_DIRS=data_dirs)
            self.assertEqual(INSTALLED, self.default(TABLATURE, data_dirs))
            self.assertEqual("editor.desktop", self.default(data_dirs=data_dirs))
            self.assertIn("[Added Associations]\ntext/plain=%s;\n" % INSTALLED, self.mimeapps_text())
            self.assertEqual(["editor.desktop"], os.listdir(os.path.join(self.data, "applications")))
            self.assertFalse(os.path.exists(os.path.join(self.data, "icons")))
            self.run_without_device_file([], ["-unregister"])
        finally:
            pavsdi.BUILD = build
        self.assertEqual("", self.default(TABLATURE))
        self.assertEqual(before, self.mimeapps_text())


if __name__ == "__main__":
    if not test_window.xvfb_available() or shutil.which("xdg-mime") is None:
        print("xvfb-run or xdg-mime missing: registration tests skipped")
        sys.exit(77)
    pavsdi.main()
