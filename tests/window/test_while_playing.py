"""The keyboard while music plays in the real window, heard as a user hears
it: the built-in synthesizer plays into a PulseAudio null sink whose monitor
is recorded, keys are pressed with xdotool, and the window's test log says
which boxes were answered and how."""
import math
import os
import shutil
import struct
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
import test_window  # noqa: E402
from test_window import pavsdi  # noqa: E402

RATE = 44100
WINDOW = RATE // 20  # frames in 50 ms
STEPPING = "oui=suivant non=précédent annuler=fin"


class WhilePlayingTest(pavsdi.RootTest):
    device = "0"

    def setUp(self):
        super().setUp()
        runtime = os.path.join(self.root, "runtime")
        os.makedirs(runtime, mode=0o700)
        self.extra = dict(XDG_RUNTIME_DIR=runtime, PAVSDI_AUDIO="pulseaudio")
        self.children = []
        self.sink = self.spawn(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                                "-L", "module-null-sink sink_name=null", "-L", "module-native-protocol-unix"])
        socket = os.path.join(runtime, "pulse", "native")
        for _ in range(200):
            if os.path.exists(socket):
                break
            time.sleep(0.05)
        self.spawn(["openbox"])
        self.recording = os.path.join(self.root, "sink.raw")
        with open(self.recording, "wb") as out:
            self.spawn(["parec", "-d", "null.monitor", "--raw", "--format=s16le", "--channels=2",
                        "--rate=%d" % RATE], stdout=out)
        self.log = os.path.join(self.root, "log")

    def tearDown(self):
        for child in reversed(self.children):
            if child.poll() is None:
                child.terminate()
                try:
                    child.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    child.kill()
                    child.wait()
        super().tearDown()

    def spawn(self, command, stdout=subprocess.DEVNULL):
        env = self.env(**self.extra)
        env.pop("PAVSDI_UI")
        child = subprocess.Popen(command, env=env, stdout=stdout, stderr=subprocess.DEVNULL,
                                 cwd=self.root)
        self.children.append(child)
        return child

    def start(self, steps):
        script = os.path.join(self.root, "script")
        with open(script, "w") as f:
            f.write("\n".join(steps) + "\n")
        self.extra.update(PAVSDI_TEST_SCRIPT=script, PAVSDI_TEST_LOG=self.log)
        self.spawn([os.path.join(pavsdi.BUILD, "pavsdi")])

    def logged(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="utf-8") as f:
            return f.read().splitlines()

    def loudness(self):
        """The sink's loudness (RMS of the left channel) by 50 ms, from the
        start of the recording."""
        with open(self.recording, "rb") as f:
            data = f.read()
        frames = len(data) // 4
        samples = struct.unpack("<%dh" % (frames * 2), data[:frames * 4])
        return [int(math.sqrt(sum(x * x for x in samples[2 * i:2 * (i + WINDOW):2]) / WINDOW))
                for i in range(0, frames - WINDOW + 1, WINDOW)]

    def now(self):
        """Where the recording is, in 50 ms windows."""
        return os.path.getsize(self.recording) // 4 // WINDOW

    def wait_for(self, what, condition, timeout=60):
        deadline = time.time() + timeout
        while not condition():
            if time.time() > deadline:
                self.fail("waited in vain for %s; the window logged %r" % (what, self.logged()))
            time.sleep(0.1)

    def wait_for_sound(self):
        self.wait_for("the music", lambda: any(v > 100 for v in self.loudness()[-4:]))

    def box_shows(self, caption):
        return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", caption], stdout=subprocess.DEVNULL).returncode == 0

    def tap_escape(self):
        subprocess.run(["xdotool", "keydown", "Escape"], check=True)
        time.sleep(0.1)
        subprocess.run(["xdotool", "keyup", "Escape"], check=True)

    def assert_silent_after(self, at, what):
        # 0.2 s for the stop, then a second and a half of silence.
        self.wait_for("the recording", lambda: self.now() > at + 4 + 30)
        after = self.loudness()[at + 4:at + 4 + 30]
        self.assertEqual([0] * len(after), [0 if v < 20 else v for v in after], what)

    def test_a_tap_of_escape_stops_a_long_note_at_once(self):
        # Whole notes of four seconds, played again and again by the loop.
        self.write("prv.tab", b"t40 1c 1e 1g 1>c\r\n")
        self.start(["wait 1000", "command 701", "wait 60000"])
        self.wait_for_sound()
        time.sleep(1)  # into the note
        at = self.now()
        self.tap_escape()
        self.assert_silent_after(at, "sound after the tap")
        after = self.logged()[self.logged().index("CMD\t701") + 1:]
        self.assertEqual([], [l for l in after if l.startswith("CUE")], "a stopped command ends in silence")

    def test_keys_typed_while_music_plays_answer_no_box(self):
        self.write("prv.tab", b"t60 2c 2d | 2e 2f |\r\n")
        self.start(["answer show", "answer show", "command 601", "wait 60000"])
        self.wait_for("the first measure's question", lambda: self.box_shows(STEPPING))
        time.sleep(1)
        subprocess.run(["xdotool", "key", "o"], check=True)
        self.wait_for_sound()
        # Typed while the measure plays: each would answer the next question.
        subprocess.run(["xdotool", "key", "a", "n", "Return"], check=True)
        self.wait_for("the second measure's question", lambda: len(self.asked()) == 1 and self.box_shows(STEPPING))
        time.sleep(2)
        self.assertEqual([("mesure 1 : jouer depuis la note 1 jusqu'a la note 2", "6")], self.asked())
        subprocess.run(["xdotool", "key", "a"], check=True)
        self.wait_for("the answer", lambda: len(self.asked()) == 2)
        self.assertEqual(("mesure 2 : jouer depuis la note 3 jusqu'a la note 4", "2"), self.asked()[1])

    def asked(self):
        return [tuple(l.split("\t")[3:5]) for l in self.logged() if l.startswith("BOX\tASK\t")]

    def test_closing_the_companions_box_ends_its_playing(self):
        self.write("prv.tab", b"t40 1c 1e 1g 1>c 1c 1e 1g 1>c\r\n")
        self.start(["answer show", "command 600", "wait 60000"])
        self.wait_for("the companion's box", lambda: self.box_shows("midimapper"))
        self.wait_for_sound()
        time.sleep(1)
        at = self.now()
        subprocess.run(["xdotool", "key", "Escape"], check=True)
        self.assert_silent_after(at, "the companion still plays")
        self.assertIn("END\t\\\\orfeon\\\\sonplay.exe", self.logged())


if __name__ == "__main__":
    if not test_window.xvfb_available() or not shutil.which("pulseaudio"):
        print("xvfb-run or pulseaudio is not installed: window tests skipped")
        sys.exit(77)
    if not os.environ.get("DISPLAY_FOR_PAVSDI_TESTS"):
        done = subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1024x768x24",
                               sys.executable, os.path.abspath(__file__)] + sys.argv[1:],
                              env=dict(os.environ, DISPLAY_FOR_PAVSDI_TESTS="1"))
        sys.exit(done.returncode)
    pavsdi.main()
