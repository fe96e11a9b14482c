#!/usr/bin/python3
"""make bench: the timing benchmark, then start-up, rendering and memory
figures of the real programs on a demo data root.

usage: run_bench.py BUILD_DIR      (BENCH_TIMING=0 leaves out the timing benchmark)
       run_bench.py --rss COMMAND...   (runs COMMAND, prints its peak RSS in KB)"""
import glob
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(HERE)


def peak_rss(command, env, cwd=None):
    """Runs the command; returns (seconds, peak RSS in KB, stderr)."""
    seconds, usage, err = run_measured(command, env, cwd)
    return seconds, usage.ru_maxrss, err


def run_measured(command, env, cwd=None):
    """Runs the command; returns (seconds, resource usage, stderr)."""
    start = time.monotonic()
    child = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE, cwd=cwd)
    err = child.stderr.read().decode("utf-8", "replace")
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        raise SystemExit("%s failed (%d): %s" % (command[0], child.returncode, err))
    return time.monotonic() - start, usage, err


def cpu_ms(command, env, runs):
    """Median CPU time (user + system) of the command, in ms."""
    figures = []
    for _ in range(runs):
        _, usage, _ = run_measured(command, env)
        figures.append((usage.ru_utime + usage.ru_stime) * 1000)
    return statistics.median(figures)


def one_note_against_true(root, runs):
    """CPU of playing one note into the MIDI file (device 2) from the
    command line, next to /bin/true's; and its peak RSS."""
    with open(os.path.join(root.path, "orfeon/une.tab"), "wb") as f:
        f.write(b"c\r\n")
    env = root.env(2)
    command = [os.path.join(root.build, "pavsdi"), "\\orfeon\\une.tab"]
    true_ms = cpu_ms(["/bin/true"], env, runs)
    note_ms = cpu_ms(command, env, runs)
    return true_ms, note_ms, peak_rss(command, env)[1]


def long_render(root, notes):
    """Rendering `notes` whole notes at the slowest tempo through device 1:
    (seconds taken, seconds of music written, peak RSS in KB)."""
    with open(os.path.join(root.path, "orfeon/longue.tab"), "wb") as f:
        f.write(b"t31 o3 c1 " + b"d " * (notes - 1) + b"\r\n")
    seconds, rss, _ = peak_rss([os.path.join(root.build, "pavsdi"), "\\orfeon\\longue.tab"], root.env(1))
    with wave.open(os.path.join(root.path, "orfeon/sortie.wav"), "rb") as w:
        music = w.getnframes() / w.getframerate()
    return seconds, music, rss


def machine():
    cpu = "?"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    load = os.getloadavg()[0]
    return "%s, %d cores, %s %s, load average %.1f at start" % (cpu, os.cpu_count(), platform.system(),
                                                                 platform.release(), load)


class Root:
    def __init__(self, build):
        self.build = build
        self.path = tempfile.mkdtemp(prefix="pavsdi-bench-")
        subprocess.run([os.path.join(SOURCE, "scripts/install-data"), self.path, build],
                       check=True, env=dict(os.environ, FORCE="1"))

    def env(self, device, **extra):
        with open(os.path.join(self.path, "orfeon/midiinit.dev"), "w") as f:
            f.write("%d\r\n" % device)
        env = dict(os.environ, PAVSDI_ROOT=self.path, PAVSDI_UI="console", PAVSDI_AUDIO="none")
        env.update(extra)
        return env

    def close(self):
        shutil.rmtree(self.path, ignore_errors=True)


def first_note_ms(root, device, runs):
    figures = []
    for _ in range(runs):
        env = root.env(device, BENCH_SPAWN_US=str(time.clock_gettime_ns(time.CLOCK_MONOTONIC) // 1000))
        _, _, err = peak_rss([os.path.join(root.build, "bench/bench_first_note"), "\\orfeon\\demo.tab"], env)
        line = [l for l in err.splitlines() if l.startswith("first-note-on-us ")]
        if not line:
            raise SystemExit("no note-on reached device %d: %s" % (device, err))
        figures.append(int(line[0].split()[1]) / 1000)
    return statistics.median(figures)


def render(root, device, runs):
    seconds, rss = [], []
    for _ in range(runs):
        s, r, _ = peak_rss([os.path.join(root.build, "pavsdi"), "\\orfeon\\demo.tab"], root.env(device))
        seconds.append(s)
        rss.append(r)
    return statistics.median(seconds) * 1000, max(rss)


def window_rss(root):
    if not shutil.which("xvfb-run"):
        return None
    script = os.path.join(root.path, "bench-script")
    with open(script, "w") as f:
        f.write("wait 2000\nquit\n")
    env = root.env(2, PAVSDI_TEST_SCRIPT=script, PAVSDI_TEST_LOG=os.path.join(root.path, "bench-log"),
                   NO_AT_BRIDGE="1")
    del env["PAVSDI_UI"]
    done = subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1024x768x24", sys.executable, __file__, "--rss",
                           os.path.join(root.build, "pavsdi")], env=env, capture_output=True, timeout=120)
    if done.returncode != 0:
        raise SystemExit("window: " + done.stderr.decode("utf-8", "replace"))
    return int(done.stdout.split()[-1])


def import_against_xmllint(root, runs):
    """The four-part fugue of musescore3's demos, exported to MusicXML by
    musescore3 (about 350 KB): pavsdi's import of its first part against
    xmllint's parse of the same file, CPU time, runs interleaved."""
    demo = sorted(glob.glob("/usr/share/mscore3-*/demos/Fugue_1.mscx"))[-1]
    score = os.path.join(root.path, "Fugue_1.musicxml")
    subprocess.run(["mscore3", "-o", score, demo], check=True, capture_output=True,
                   env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    env = root.env(2)
    command = [os.path.join(root.build, "pavsdi"), "--importer", score, "--partie", "1", "-o",
               os.path.join(root.path, "fugue.tab")]
    importing, parsing = [], []
    for _ in range(runs):
        importing.append(cpu_ms(command, env, 1))
        parsing.append(cpu_ms(["xmllint", "--noout", score], env, 1))
    return os.path.getsize(score), statistics.median(importing), statistics.median(parsing)


def main():
    if sys.argv[1] == "--rss":
        print(peak_rss(sys.argv[2:], dict(os.environ))[1])
        return
    build = os.path.abspath(sys.argv[1])
    print("Machine: " + machine())
    sys.stdout.flush()
    if os.environ.get("BENCH_TIMING", "1") != "0":
        subprocess.run([os.path.join(build, "bench/bench_timing")], check=True)
    root = Root(build)
    try:
        runs = 5
        print("\nStart to first note-on, command line, demo.tab (median of %d)" % runs)
        for device, name in ((2, "MIDI file"), (1, "WAV file")):
            print("  device %d (%s): %.1f ms" % (device, name, first_note_ms(root, device, runs)))
        print("\nRendering demo.tab, whole program run (median of 3), and peak memory")
        for device, name in ((2, "MIDI"), (1, "WAV")):
            ms, rss = render(root, device, 3)
            print("  to %s (device %d): %.0f ms, peak RSS %.1f MB" % (name, device, ms, rss / 1024))
        true_ms, note_ms, note_rss = one_note_against_true(root, 21)
        print("\nOne note into the MIDI file (device 2), command line, CPU (median of 21)")
        print("  /bin/true %.2f ms, pavsdi %.2f ms (%.1f x), peak RSS %.1f MB" %
              (true_ms, note_ms, note_ms / true_ms if true_ms else 0, note_rss / 1024))
        # A page holds about a thousand notes, the most one run plays.
        seconds, music, rss = long_render(root, 100 if os.environ.get("BENCH_QUICK") else 1015)
        print("  render of %.0f s of music through device 1: %.0f s, peak RSS %.1f MB" %
              (music, seconds, rss / 1024))
        size, importing, parsing = import_against_xmllint(root, 21)
        print("\nImport of a %d KB MusicXML score (Fugue_1, part 1) against xmllint --noout, CPU (median of 21)"
              % (size // 1024))
        print("  pavsdi --importer %.1f ms, xmllint --noout %.1f ms (%.2f x)" %
              (importing, parsing, importing / parsing if parsing else 0))
        rss = window_rss(root)
        print("  window under xvfb (started, 2 s, closed): peak RSS %s" %
              ("%.1f MB" % (rss / 1024) if rss else "not measured (no xvfb-run)"))
    finally:
        root.close()


if __name__ == "__main__":
    main()
