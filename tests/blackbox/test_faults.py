"""Faults and bad input through the real program: signals, kills, write
failures, files that are not regular files, names Windows-1252 lacks."""
import fcntl
import glob
import os
import resource
import shutil
import signal
import subprocess
import time
import unittest
import wave

import pavsdi

START_UP = [
    "CUE\t\\\\orfeon\\\\lisez.wav",
    "INFO\tPavSdi\tla tablature courante est dans le presse papier",
    "RUN\t\\\\orfeon\\\\clipsend.exe\t3",
]
# A long piece for the WAV device: 300 notes of 4 s (20 minutes of music).
LONG_PIECE = b"t60\r\n" + b"o3 c1 d1 e1 " * 100 + b"\r\n"


def full_disk():
    """In the child: files cannot grow (a full disk, whoever runs the test)."""
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (0, resource.RLIM_INFINITY))


class FaultTest(pavsdi.RootTest):
    def read(self, name):
        with open(os.path.join(self.orfeon, name), "rb") as f:
            return f.read()

    def start(self, args=(), **extra):
        return subprocess.Popen([pavsdi.program_without_companions(), *args], stdin=subprocess.PIPE,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=self.env(**extra),
                                cwd=self.root)

    def wait_for(self, condition, timeout=20):
        deadline = time.monotonic() + timeout
        while not condition():
            self.assertLess(time.monotonic(), deadline, "timed out")
            time.sleep(0.05)

    def temporaries(self):
        return glob.glob(os.path.join(self.orfeon, "*.tmp*"))

    def assert_whole_recording(self, seconds=50):
        path = os.path.join(self.orfeon, "sortie.wav")
        with wave.open(path, "rb") as w:
            self.assertEqual((2, 2, 44100), (w.getnchannels(), w.getsampwidth(), w.getframerate()))
            self.assertGreater(w.getnframes(), 44100 * seconds)
            self.assertEqual(w.getnframes() * 4 + 44, os.path.getsize(path))
        self.assertEqual([], self.temporaries())


class Faults(FaultTest):
    def test_wrong_tablature_name_keeps_the_previous_recording(self):
        self.write("sortie.mid", b"previous recording")
        status, lines, _ = self.run_program("pavsdi", ["\\orfeon\\faute.tab"])
        self.assertEqual(1, status)
        self.assertEqual(["INFO\timpossible d'ouvrir en lecture\t\\\\orfeon\\\\faute.tab"
                          "\\nle fichier n'existe pas"], lines)
        self.assertEqual(b"previous recording", self.read("sortie.mid"))

    def test_full_disk_is_reported_and_old_files_stay(self):
        self.write("sortie.mid", b"previous recording")
        self.write("prv.tab", b"c d\r\n")
        self.write("piece.tab", b"e f\r\n")
        done = subprocess.run([os.path.join(pavsdi.BUILD, "pavsdi"), "\\orfeon\\piece.tab"], capture_output=True,
                              env=self.env(), cwd=self.root, timeout=30, preexec_fn=full_disk)
        lines = done.stdout.decode().splitlines()
        self.assertEqual(["INFO\timpossible d'écrire\t\\\\orfeon\\\\prv.tab\\nle fichier est trop grand",
                          "INFO\timpossible d'écrire\t\\\\orfeon\\\\sortie.mid\\nle fichier est trop grand"], lines)
        self.assertEqual(b"previous recording", self.read("sortie.mid"))
        self.assertEqual(b"c d\r\n", self.read("prv.tab"))
        self.assertEqual([], self.temporaries())

    def test_files_that_are_not_regular_answer_at_once(self):
        os.mkfifo(os.path.join(self.orfeon, "fifo.tab"))
        os.symlink("/dev/zero", os.path.join(self.orfeon, "zero.tab"))
        for name in ("fifo.tab", "zero.tab"):
            status, lines, _ = self.run_program("pavsdi", ["\\orfeon\\" + name], timeout=10)
            self.assertEqual(1, status)
            self.assertEqual(["INFO\timpossible d'ouvrir en lecture\t\\\\orfeon\\\\" + name
                              + "\\nce n'est pas un fichier ordinaire"], lines)
        # Settings and dictionary: the program goes on without them.
        os.remove(os.path.join(self.orfeon, "lexiton.ini"))
        os.mkfifo(os.path.join(self.orfeon, "lexiton.ini"))
        os.remove(os.path.join(self.orfeon, "lexiton.dic"))
        os.symlink("/dev/zero", os.path.join(self.orfeon, "lexiton.dic"))
        clipboard = os.path.join(self.root, "presse-papier")
        with open(clipboard, "wb") as f:
            f.write(b"[do]")
        status, lines, err = self.run_program("pavsdi", stdin="611\nescape\n24310\n", timeout=10,
                                              companions=False, PAVSDI_CLIPBOARD=clipboard)
        self.assertEqual(0, status, err)
        self.assertIn("INFO\timpossible d'ouvrir en lecture\t\\\\orfeon\\\\lexiton.ini", lines)
        self.assertIn("INFO\t\\\\orfeon\\\\lexiton.dic\tdictionnaire nontrouvé", lines)

    def test_planted_link_is_neither_followed_nor_replaced(self):
        outside = os.path.join(self.root, "outside.txt")
        with open(outside, "wb") as f:
            f.write(b"not ours")
        info = os.path.join(self.orfeon, "prvinfo.tab")
        if os.path.exists(info):
            os.remove(info)
        os.symlink(outside, info)
        status, lines, _ = self.run_program("pavsdi", stdin="24310\n")
        self.assertEqual(0, status)
        self.assertEqual("INFO\timpossible d'écrire\t\\\\orfeon\\\\prvinfo.tab\\naccès refusé", lines[1])
        self.assertNotIn(START_UP[1], lines)
        self.assertTrue(os.path.islink(info))
        with open(outside, "rb") as f:
            self.assertEqual(b"not ours", f.read())

    def test_clipboard_that_is_a_directory_or_a_device(self):
        for clipboard in (self.orfeon, "/dev/zero"):
            status, lines, err = self.run_program("pavsdi", stdin="611\n24310\n", companions=False,
                                                  PAVSDI_CLIPBOARD=clipboard)
            self.assertEqual(0, status, err)
            self.assertEqual(START_UP + ["INFO\t\timpossible de lire le presse papier",
                                         "CUE\t\\\\orfeon\\\\edition.wav"], lines)

    def test_device_number_with_no_device(self):
        for number in (b"99", b"-1"):
            self.write("midiinit.dev", number + b"\r\n")
            status, lines, _ = self.run_program("pavsdi", stdin="24310\n")
            self.assertEqual(0, status)
            self.assertEqual(["INFO\tvotre environnement ne supporte pas ce midi mapper\t"], lines)

    def test_name_that_would_open_another_file_is_refused(self):
        # (argument, the other file it would name, the name as shown)
        cases = [
            ("\\orfeon\\\u97f3.tab", "?.tab", "?.tab"),
            # Latin-1 bytes, not UTF-8: taken as Windows-1252 they would be
            # the UTF-8 file "été.tab".
            (b"\\orfeon\\\xe9t\xe9.tab", "été.tab", "été.tab"),
        ]
        for argument, other, shown in cases:
            self.write(other, b"c\r\n")
            before = self.read("prv.tab")
            status, lines, _ = self.run_program("pavsdi", [argument])
            self.assertEqual(0, status)
            self.assertEqual(["INFO\tce nom contient des caractères que le programme ne sait pas écrire"
                              "\t\\\\orfeon\\\\" + shown], lines)
            self.assertEqual(before, self.read("prv.tab"))
            self.assertFalse(os.path.exists(os.path.join(self.orfeon, "sortie.mid")))

    def test_planted_kept_copy_is_not_restored(self):
        outside = os.path.join(self.root, "outside.tab")
        with open(outside, "wb") as f:
            f.write(b"o5 c c c\r\n")
        self.write("prv.tab", b"o3 g a\r\n")
        kept = os.path.join(self.orfeon, "prvgarde.tab")
        os.symlink(outside, kept)
        status, _, _ = self.run_program("pavsdi", stdin="24310\n")
        self.assertEqual(0, status)
        self.assertEqual(b"o3 g a\r\n", self.read("prv.tab"))
        self.assertTrue(os.path.islink(kept))
        with open(outside, "rb") as f:
            self.assertEqual(b"o5 c c c\r\n", f.read())

    def test_write_protected_files_are_refused_by_name(self):
        self.write("piece.tab", b"e f\r\n")
        # (file, arguments, standard input, the line that names it)
        cases = [
            ("sortie.mid", ["\\orfeon\\piece.tab"], "",
             "INFO\timpossible d'écrire\t\\\\orfeon\\\\sortie.mid\\naccès refusé"),
            ("lexiton.ini", [], "703\no\n24310\n",
             "INFO\t\\\\orfeon\\\\lexiton.ini\tle fichier ne peut pas être écrit : "
             "le réglage decompte=1 n'est pas enregistré"),
            ("prv.tab", ["\\orfeon\\piece.tab"], "",
             "INFO\timpossible d'écrire\t\\\\orfeon\\\\prv.tab\\naccès refusé"),
        ]
        for name, args, stdin, line in cases:
            path = self.write(name, b"the user's own\r\n")
            os.chmod(path, 0o444)
            status, lines, err = self.run_program("pavsdi", args, stdin=stdin)
            self.assertEqual(0, status, err)
            self.assertIn(line, lines)
            self.assertEqual(b"the user's own\r\n", self.read(name))
            self.assertEqual(0o444, os.stat(path).st_mode & 0o777)
            os.chmod(path, 0o644)


class SignalsAtStartUp(FaultTest):
    """A signal a few milliseconds after the start, while the program may
    still be starting or already waiting on standard input (a FIFO that
    nothing is written to): it ends at once either way."""

    def test_signal_during_the_start_ends_the_program(self):
        fifo = os.path.join(self.root, "entree")
        os.mkfifo(fifo)
        template = os.path.join(self.root, "modele")
        shutil.copytree(self.orfeon, template)
        for ui in ("console", "terminal"):
            for first_run in (False, True):
                for delay_ms in (2, 10, 25, 50, 100):
                    shutil.rmtree(self.orfeon, ignore_errors=True)
                    if not first_run:
                        shutil.copytree(template, self.orfeon)
                    case = (ui, first_run, delay_ms)
                    reader = os.open(fifo, os.O_RDONLY | os.O_NONBLOCK)
                    writer = os.open(fifo, os.O_WRONLY)
                    os.set_blocking(reader, True)
                    try:
                        program = subprocess.Popen([pavsdi.program_without_companions()], stdin=reader,
                                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                                   env=self.env(PAVSDI_UI=ui), cwd=self.root)
                        time.sleep(delay_ms / 1000)
                        program.send_signal(signal.SIGTERM)
                        sent = time.monotonic()
                        try:
                            status = program.wait(timeout=10)
                        except subprocess.TimeoutExpired:
                            program.kill()
                            program.wait()
                            self.fail("still waiting 10 s after the signal: %s" % (case,))
                    finally:
                        os.close(reader)
                        os.close(writer)
                    self.assertLess(time.monotonic() - sent, 1.0, case)
                    # Before its handlers are in place the signal ends it as well.
                    self.assertIn(status, (128 + signal.SIGTERM, -signal.SIGTERM), case)


class WriteFailures(FaultTest):
    """Real file-system errors name the file and the true reason, and leave
    the old files as they were."""

    def on_small_disk(self, setup):
        """Runs `pavsdi piece.tab` with the data directory on a small
        file system of its own, prepared by the shell commands `setup`;
        returns its lines and the data directory as it was left (copied to
        "apres")."""
        template = os.path.join(self.root, "modele")
        shutil.copytree(self.orfeon, template)
        script = "\n".join([
            "set -e",
            "mount -t tmpfs -o size=256k,nr_inodes=64 pavsdi-test orfeon",
            "cp -a modele/. orfeon/",
            setup,
            "set +e",
            '"$@"',
            "mkdir apres; cp -a orfeon/. apres/ 2>/dev/null",
            "exit 0",
        ])
        # A mount namespace of its own: the mount goes with it.
        unshare = ["unshare", "--mount"] + ([] if os.geteuid() == 0 else ["--map-root-user"])
        done = subprocess.run(unshare + ["sh", "-c", script, "sh", pavsdi.program_without_companions(),
                                         "\\orfeon\\piece.tab"],
                              capture_output=True, env=self.env(), cwd=self.root, timeout=60)
        self.assertEqual(0, done.returncode, done.stderr.decode())
        return done.stdout.decode().splitlines(), os.path.join(self.root, "apres")

    def test_each_error_gives_its_reason(self):
        self.write("piece.tab", b"e f\r\n")
        self.write("prv.tab", b"c d\r\n")
        self.write("sortie.mid", b"previous recording")
        cases = [
            ("no free inodes", "i=0; while touch orfeon/plein$i 2>/dev/null; do i=$((i+1)); done",
             "le disque est plein"),
            ("no free space", "cat /dev/zero > orfeon/plein 2>/dev/null || true", "le disque est plein"),
            ("read-only", "mount -o remount,ro orfeon", "le disque est en lecture seule"),
        ]
        for case, setup, reason in cases:
            lines, after = self.on_small_disk(setup)
            self.assertEqual(["INFO\timpossible d'écrire\t\\\\orfeon\\\\prv.tab\\n" + reason,
                              "INFO\timpossible d'écrire\t\\\\orfeon\\\\sortie.mid\\n" + reason], lines, case)
            for name, data in (("prv.tab", b"c d\r\n"), ("sortie.mid", b"previous recording")):
                with open(os.path.join(after, name), "rb") as f:
                    self.assertEqual(data, f.read(), case)
            self.assertEqual([], glob.glob(os.path.join(after, "*.tmp*")), case)
            shutil.rmtree(after)
            shutil.rmtree(os.path.join(self.root, "modele"))

    def test_directory_the_user_cannot_write_to(self):
        self.write("piece.tab", b"e f\r\n")
        self.write("prv.tab", b"c d\r\n")
        os.chmod(self.root, 0o755)
        os.chmod(self.orfeon, 0o555)
        # As another user than the owner where the test runs as root.
        user = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] if os.geteuid() == 0 else []
        done = subprocess.run(user + [pavsdi.program_without_companions(), "\\orfeon\\piece.tab"],
                              capture_output=True, env=self.env(HOME=self.root), cwd=self.root, timeout=60)
        os.chmod(self.orfeon, 0o755)
        self.assertEqual(["INFO\timpossible d'écrire\t\\\\orfeon\\\\prv.tab\\naccès refusé",
                          "INFO\timpossible d'écrire\t\\\\orfeon\\\\sortie.mid\\naccès refusé"],
                         done.stdout.decode().splitlines(), done.stderr.decode())
        self.assertEqual(b"c d\r\n", self.read("prv.tab"))


class SignalsWhileRendering(FaultTest):
    device = "1"

    def test_sigterm_during_a_render_writes_a_whole_file_at_once(self):
        self.write("piece.tab", LONG_PIECE)
        program = self.start(["\\orfeon\\piece.tab"])
        self.wait_for(lambda: any(os.path.getsize(t) > 10_000_000 for t in self.temporaries()))
        program.send_signal(signal.SIGTERM)
        sent = time.monotonic()
        self.assertEqual(128 + signal.SIGTERM, program.wait(timeout=5))
        self.assertLess(time.monotonic() - sent, 1.0)
        program.communicate()
        self.assert_whole_recording()

    def test_repeated_hangup_does_not_cut_the_recording_short(self):
        # A closed terminal: the terminal and the kernel each send SIGHUP.
        # Two sent at once often arrive as one; these come while the
        # recording is being closed.
        self.write("piece.tab", LONG_PIECE)
        program = self.start(["\\orfeon\\piece.tab"])
        self.wait_for(lambda: any(os.path.getsize(t) > 10_000_000 for t in self.temporaries()))
        deadline = time.monotonic() + 2
        while program.poll() is None and time.monotonic() < deadline:
            program.send_signal(signal.SIGHUP)
            time.sleep(0.001)
        self.assertEqual(128 + signal.SIGHUP, program.wait(timeout=5))
        program.communicate()
        self.assert_whole_recording()

    def test_closing_the_terminal_during_a_render_keeps_the_recording(self):
        self.write("piece.tab", LONG_PIECE)
        socket = "pavsdi-faults-%d" % os.getpid()
        env = self.env(TERM="xterm", LANG="C.UTF-8", PAVSDI_UI="terminal")
        env.pop("TMUX", None)
        command = "exec %s '\\orfeon\\piece.tab'" % pavsdi.program_without_companions()
        subprocess.run(["tmux", "-L", socket, "-f", "/dev/null", "new-session", "-d", "-s", "t", command],
                       check=True, env=env, cwd=self.root)
        try:
            pid = int(subprocess.run(["tmux", "-L", socket, "display-message", "-p", "-t", "t", "#{pane_pid}"],
                                     check=True, capture_output=True).stdout)
            self.wait_for(lambda: any(os.path.getsize(t) > 10_000_000 for t in self.temporaries()))
            subprocess.run(["tmux", "-L", socket, "kill-pane", "-t", "t"], check=True)
            self.wait_for(lambda: not os.path.exists("/proc/%d" % pid), timeout=5)
        finally:
            subprocess.run(["tmux", "-L", socket, "kill-server"], capture_output=True)
        self.assert_whole_recording()

    def test_kill_during_play_clipboard_keeps_the_working_copy(self):
        self.write("prv.tab", b"o3 g a\r\n")
        self.write("sortie.wav", b"previous recording")
        clipboard = os.path.join(self.root, "presse-papier")
        with open(clipboard, "wb") as f:
            # Long enough that the render is still going when the poll sees it.
            f.write(LONG_PIECE[5:1205])
        program = self.start(PAVSDI_CLIPBOARD=clipboard)
        program.stdin.write(b"611\no\n")
        program.stdin.flush()
        self.wait_for(lambda: any(os.path.getsize(t) > 1_000_000 for t in self.temporaries()))
        self.assertNotEqual(b"o3 g a\r\n", self.read("prv.tab"), "the clipboard plays as the working copy")
        program.kill()
        program.communicate()
        self.assertEqual(b"previous recording", self.read("sortie.wav"))
        self.assertTrue(self.temporaries())
        # A settings save killed as well; and a render that another program
        # is still writing (it holds the lock).
        self.write("lexiton.ini.tmpQrS456", b"half")
        held = self.write("sortie.wav.tmpHeld01", b"being written")
        # The next start puts the tablature back and clears what the killed run left.
        with open(held, "rb") as writer:
            fcntl.flock(writer, fcntl.LOCK_EX)
            status, lines, _ = self.run_program("pavsdi", stdin="24310\n")
        self.assertEqual(0, status)
        self.assertEqual(b"o3 g a\r\n", self.read("prv.tab"))
        self.assertFalse(os.path.exists(os.path.join(self.orfeon, "prvgarde.tab")))
        self.assertEqual([held], self.temporaries())
        self.assertEqual(b"previous recording", self.read("sortie.wav"))


if __name__ == "__main__":
    pavsdi.main()
