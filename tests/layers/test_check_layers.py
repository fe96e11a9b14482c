#!/usr/bin/python3
"""The layering check: the real tree passes, and each kind of fault in a
small tree of its own is found."""
import os
import subprocess
import sys
import tempfile
import unittest

SOURCE = os.environ.get("PAVSDI_SOURCE", os.path.join(os.path.dirname(__file__), "..", ".."))
CHECK = os.path.join(SOURCE, "tools", "check_layers.py")


def check(files):
    with tempfile.TemporaryDirectory() as src:
        for path, text in files.items():
            os.makedirs(os.path.dirname(os.path.join(src, path)), exist_ok=True)
            with open(os.path.join(src, path), "w") as f:
                f.write(text)
        run = subprocess.run([sys.executable, CHECK, src], capture_output=True, text=True)
        return run.returncode, run.stdout


class CheckLayers(unittest.TestCase):
    def test_the_program_keeps_its_layers(self):
        run = subprocess.run([sys.executable, CHECK, os.path.join(SOURCE, "src")],
                             capture_output=True, text=True)
        self.assertEqual(0, run.returncode, run.stdout)

    def test_faults_are_found(self):
        cases = [
            ("downward and own layer", {"app/a.cpp": '#include "core/b.h"\n#include "app/a.h"\n',
                                        "main.cpp": '#include "shell/w.h"\n#include "app/a.h"\n'}, None),
            ("upward", {"core/a.cpp": '#include "midi/b.h"\n'}, "core/a.cpp: includes midi/b.h"),
            ("seam to back end", {"platform/a.cpp": '#include "drivers/b.h"\n'}, "includes drivers/b.h"),
            ("back end to the terminal", {"drivers/posix/a.cpp": '#include "terminal/b.h"\n'},
             "drivers/posix/a.cpp: includes terminal/b.h"),
            ("toolkit below the window", {"app/a.cpp": "#include <wx/frame.h>\n"}, "<wx/frame.h>"),
            ("sound library below the drivers", {"midi/a.cpp": "#include <fluidsynth.h>\n"}, "<fluidsynth.h>"),
            ("toolkit in the window", {"shell/a.cpp": "#include <wx/frame.h>\n"}, None),
            ("Windows in its halves", {"formats/a_win.cpp": "#include <windows.h>\n",
                                       "drivers/windows/b.cpp": "#include <mmsystem.h>\n"}, None),
            ("the native window over the application", {"win32/a.cpp": '#include "app/b.h"\n#include <commctrl.h>\n'},
             None),
            ("one window in the other", {"win32/a.cpp": '#include "shell/b.h"\n'},
             "win32/a.cpp: includes shell/b.h, the other window"),
            ("Windows in shared code", {"core/a.cpp": "#include <windows.h>\n"},
             "core/a.cpp: includes <windows.h> outside the Windows halves"),
            ("circle", {"core/a.h": '#include "core/b.h"\n', "core/b.h": '#include "core/a.h"\n'},
             "circle of includes"),
        ]
        for name, files, fault in cases:
            status, out = check(files)
            if fault is None:
                self.assertEqual(0, status, name + ": " + out)
            else:
                self.assertEqual(1, status, name)
                self.assertIn(fault, out, name)


if __name__ == "__main__":
    unittest.main()
