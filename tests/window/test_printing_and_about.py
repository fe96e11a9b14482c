"""The about box, printing to a PDF file and the print preview of the real
window under a virtual display."""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(__file__))
import test_window  # noqa: E402
from test_window import pavsdi  # noqa: E402

PREVIEW_TOOLS = [24500, 24501, 0, 24502, 24503, 0, 24504, 0, 24337, 0, 24505]


class ShellPartsTest(pavsdi.RootTest):
    run_window = test_window.WindowTest.run_window
    host = test_window.WindowTest.host

    def fields(self, name):
        rows = {}
        with open(os.path.join(self.root, name), encoding="utf-8") as f:
            for line in f:
                key, *rest = line.rstrip("\n").split("\t")
                rows.setdefault(key, []).append(rest)
        return rows

    def open_steps(self, lines):
        piece = self.host("piece.tab", "".join("ligne %d\r\n" % n for n in range(1, lines + 1)))
        return ["file " + piece, "command 24332", "wait 300"]

    def preview(self, name):
        d = self.fields(name)
        tools = [(int(t[0]), int(t[1])) for t in d["TOOL"]]
        return {"label": d["LABEL"][0][0], "shown": [int(x) for x in d["SHOWN"][0]],
                "pages": int(d["PAGES"][0][0]), "tools": [t[0] for t in tools],
                "enabled": {t[0]: t[1] == 1 for t in tools if t[1] >= 0}, "title": d["TITLE"][0][0]}

    def test_about_box_shows_the_embedded_version(self):
        log = self.run_window(["command 2009", "wait 500", "dialogdump about", "dialogclose", "wait 300"])
        d = self.fields("about")
        self.assertEqual([["About PavSdi"]], d["CAPTION"])
        controls = {c[0]: c[1] for c in d["CONTROL"] if c[0] != "-1"}
        with open(os.path.join(pavsdi.SOURCE, "CMakeLists.txt")) as f:
            version = [l for l in f if l.startswith("project(")][0].split()[2]
        self.assertEqual("PavSdi Version %s" % version, controls["22001"])
        self.assertEqual("Copyright © Pavane", controls["22002"])
        self.assertEqual("", controls["22003"])
        self.assertIn(["-1", "Pavane SDI Example"], d["CONTROL"])
        self.assertNotIn("CUE\t\\\\orfeon\\\\edition.wav", log[log.index("CMD\t2009"):])

    def test_a_100_line_tablature_prints_on_3_pages_of_40_lines(self):
        if shutil.which("pdftotext") is None:
            self.skipTest("pdftotext missing")
        pdf = os.path.join(self.root, "out.pdf")
        home = os.path.join(self.root, "home")
        os.makedirs(os.path.join(home, ".cups"))
        with open(os.path.join(home, ".cups", "lpoptions"), "w") as f:
            f.write("Default premier\n")
        log = self.run_window(self.open_steps(100) + ["printpdf %s 40" % pdf], HOME=home, LPDEST="",
                              PRINTER="")
        printed = [l for l in log if l.startswith("PRINTED")]
        self.assertEqual("PRINTED\t3\tpremier", printed[0])
        pages = []
        for page in (1, 2, 3):
            text = subprocess.run(["pdftotext", "-layout", "-f", str(page), "-l", str(page), pdf, "-"],
                                  capture_output=True, text=True, check=True).stdout
            pages.append([l.strip() for l in text.splitlines() if l.strip()])
        self.assertEqual(["ligne %d" % n for n in range(1, 41)], pages[0])
        self.assertEqual(["ligne %d" % n for n in range(41, 81)], pages[1])
        self.assertEqual(["ligne %d" % n for n in range(81, 101)], pages[2])

    def test_the_next_print_goes_to_the_new_default_printer(self):
        home = os.path.join(self.root, "home")
        os.makedirs(os.path.join(home, ".cups"))
        options = os.path.join(home, ".cups", "lpoptions")
        with open(options, "w") as f:
            f.write("Default premier\n")
        steps = ["printpdf %s 0" % os.path.join(self.root, "a.pdf"), "wait 2000",
                 "printpdf %s 0" % os.path.join(self.root, "b.pdf")]
        # The script's wait leaves time to change the default from outside.
        import threading

        def change():
            import time
            log = os.path.join(self.root, "log")
            for _ in range(200):
                if os.path.exists(log):
                    with open(log) as f:
                        if "PRINTED" in f.read():
                            break
                time.sleep(0.05)
            with open(options, "w") as f:
                f.write("Default second/brouillon\n")
        threading.Thread(target=change).start()
        log = self.run_window(steps, HOME=home, LPDEST="", PRINTER="")
        self.assertEqual(["PRINTED\t1\tpremier", "PRINTED\t1\tsecond"],
                         [l for l in log if l.startswith("PRINTED")])

    def test_preview_of_three_pages(self):
        # 150 lines of the editor's font are three A4 pages.
        steps = self.open_steps(150) + [
            "command 24340", "wait 800", "previewdump p1",
            "previewcommand 24501", "wait 200", "previewdump p2",
            "previewcommand 24503", "wait 200", "previewdump p23",
            "previewcommand 24501", "wait 200", "previewdump p23b",
            "previewcommand 24502", "wait 200", "previewdump p3",
            "previewcommand 24501", "wait 200", "previewcommand 24503", "wait 200",
            "previewdump last2",
            "previewkey Escape", "wait 500", "dump after"]
        log = self.run_window(steps)
        p1 = self.preview("p1")
        self.assertEqual(PREVIEW_TOOLS, p1["tools"])
        self.assertEqual("Pavane environnement midi (Preview)", p1["title"])
        self.assertEqual(3, p1["pages"])
        self.assertEqual("Page 1", p1["label"])
        self.assertEqual((False, True, True), (p1["enabled"][24500], p1["enabled"][24501], p1["enabled"][24503]))
        self.assertEqual("Page 2", self.preview("p2")["label"])
        self.assertEqual("Page 2 - 3", self.preview("p23")["label"])
        after_next = self.preview("p23b")
        self.assertEqual("Page 2 - 3", after_next["label"])
        self.assertFalse(after_next["enabled"][24501])
        self.assertEqual([2, 2, 0, 2], self.preview("p3")["shown"])
        # Two pages from the last page show the last two.
        self.assertEqual([2, 3, 1, 3], self.preview("last2")["shown"])
        self.assertTrue(os.path.exists(os.path.join(self.root, "after")), "the main window is back")
        # Closed by its own command: no cue.
        self.assertNotIn("CUE\t\\\\orfeon\\\\edition.wav", log[log.index("CMD\t24340"):])

    def test_preview_of_one_page_and_closing_from_the_frame(self):
        steps = self.open_steps(5) + [
            "command 24340", "wait 800", "previewdump one",
            "previewcommand 24503", "wait 200", "previewdump two",
            "previewclose", "wait 500", "dump after"]
        log = self.run_window(steps)
        one = self.preview("one")
        self.assertEqual(1, one["pages"])
        self.assertEqual("Page 1", one["label"])
        self.assertFalse(one["enabled"][24500])
        self.assertFalse(one["enabled"][24501])
        two = self.preview("two")
        # Beside the only page, a blank page 0; the label stays.
        self.assertEqual([1, 1, 1, 0], two["shown"])
        self.assertEqual("Page 1", two["label"])
        self.assertFalse(two["enabled"][24501])
        self.assertIn("CUE\t\\\\orfeon\\\\edition.wav", log[log.index("CMD\t24340"):])
        self.assertTrue(os.path.exists(os.path.join(self.root, "after")))

    def test_landscape_paper_disables_two_pages_and_alt_c_closes(self):
        steps = self.open_steps(5) + [
            "paper landscape", "command 24340", "wait 800", "previewdump land",
            "previewkey alt+c", "wait 500", "dump after"]
        self.run_window(steps)
        self.assertFalse(self.preview("land")["enabled"][24503])
        self.assertTrue(os.path.exists(os.path.join(self.root, "after")))


if __name__ == "__main__":
    if not test_window.xvfb_available():
        print("xvfb-run is not installed: window tests skipped")
        sys.exit(77)
    pavsdi.main()
