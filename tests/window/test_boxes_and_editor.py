"""The window's boxes answered by single keys, and its editor, search,
printing items, preview and tool bar as a user meets them, under a virtual
display driven by the window's test mode."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import test_window  # noqa: E402
from test_window import pavsdi  # noqa: E402

TEMPO = "oui=saisie non=suivant annuler=quitter"
SAVE, NEW, OPEN, UNDO, REPLACE, PREVIEW, PRINT, PRINT_SETUP = 24333, 24331, 24332, 24321, 24352, 24340, 24337, 24338


class BoxesAndEditorTest(pavsdi.RootTest):
    run_window = test_window.WindowTest.run_window
    dump = test_window.WindowTest.dump
    host = test_window.WindowTest.host

    def menu_enabled(self, d, ident):
        return [m[3] == "1" for m in d["MENU"] if m[1] == str(ident)][0]

    def test_single_keys_answer_the_boxes_shown_for_real(self):
        piece = self.host("piece.tab", "c d\r\n")
        # Each key is pressed in a box on screen; the tempo question offers
        # largo, then andante after N.
        questions = [("n", "largo", 7), ("a", "andante", 2), ("o", "largo", 6), ("Escape", "largo", 2),
                     ("Return", "largo", 6), ("N", "largo", 7), ("A", "andante", 2)]
        steps = []
        for key, caption, _ in questions:
            if caption == "largo":
                steps += ["answer show"] * (2 if key in "nN" else 1) + ["command 402"]
            steps += ["waitbox", "wait 200"] + (["dialogdump box"] if not steps[3:] else []) + ["key " + key]
            if key not in "nN":
                steps.append("waitclosed")
        for key in ("Escape", "Return", " "):
            steps += ["file " + piece, "answer show", "command %d" % OPEN, "waitbox", "wait 200",
                      "key " + key, "waitclosed", "wait 200"]
        log = self.run_window(steps, timeout=120)
        boxes = [l.split("\t") for l in log if l.startswith("BOX\t")]
        asked = [(b[2], int(b[4])) for b in boxes if b[1] == "ASK"]
        self.assertEqual([(caption, answer) for _, caption, answer in questions], asked)
        self.assertEqual([["BOX", "INFO", piece, "tablature", "1"]] * 3, [b for b in boxes if b[2] == piece])
        with open(os.path.join(self.root, "box"), encoding="utf-8") as f:
            shown = [l.rstrip("\n").split("\t") for l in f]
        self.assertEqual(["CAPTION", "largo"], shown[0])
        self.assertEqual([TEMPO, "&Oui", "&Non", "&Annuler"], [c[2] for c in shown[1:]])
        self.assertNotIn("Gtk-CRITICAL", self.stderr)

    def test_new_and_open_leave_an_unchanged_text(self):
        piece = self.host("piece.tab", "c d\r\n")
        self.run_window(["type abc", "wait 300", "answer 7", "command %d" % NEW, "wait 300", "updateui",
                         "dump new", "type x", "wait 300", "answer 7", "file " + piece, "command %d" % OPEN,
                         "wait 300", "updateui", "dump opened"])
        for name in ("new", "opened"):
            d = self.dump(name)
            self.assertEqual("0", d["MODIFIED"], name)
            self.assertFalse(self.menu_enabled(d, SAVE), name)
            # Tablatures are aligned in columns.
            self.assertEqual("1", d["FIXEDFONT"])

    def test_undo_takes_back_the_last_edit_where_it_was(self):
        piece = self.host("piece.tab", "ligne une\r\n")
        self.run_window(["file " + piece, "command %d" % OPEN, "wait 300", "key End", "type xyz", "wait 300",
                         "command %d" % UNDO, "wait 300", "dump undone", "command %d" % UNDO, "wait 300",
                         "dump redone"])
        undone = self.dump("undone")
        self.assertEqual(("ligne une\\n", "9:9"), (undone["EDITOR"], undone["SELECTION"]))
        redone = self.dump("redone")
        self.assertEqual(("ligne unexyz\\n", "12:12"), (redone["EDITOR"], redone["SELECTION"]))

    def test_search_dialog_finds_whole_words_both_ways_and_replaces(self):
        piece = self.host("piece.tab", "ola la\r\nLa lac la\r\n")
        # o0 l1 a2 _3 l4 a5 \n6 L7 a8 _9 l10 a11 c12 _13 l14 a15
        searches = [("find - la", "1:3"), ("find - la", "4:6"), ("find w la", "7:9"),
                    ("find wc la", "14:16"), ("find wu la", "7:9"), ("find u la", "4:6"),
                    ("find - zz", "4:6")]
        steps = ["file " + piece, "command %d" % OPEN, "wait 300", "command %d" % REPLACE, "wait 500"]
        for n, (search, _) in enumerate(searches):
            steps += ["search " + search, "wait 100", "dump s%d" % n]
        steps += ["search all w la LA", "wait 100", "dump all"]
        self.run_window(steps)
        self.assertEqual([selection for _, selection in searches],
                         [self.dump("s%d" % n)["SELECTION"] for n in range(len(searches))])
        self.assertEqual("ola LA\\nLA lac LA\\n", self.dump("all")["EDITOR"])

    def test_print_items_are_grey_without_a_default_printer(self):
        home = os.path.join(self.root, "home")
        os.makedirs(home)
        for printer, enabled in (("", False), ("premier", True)):
            self.run_window(["updateui", "dump items"], HOME=home, LPDEST=printer, PRINTER="")
            d = self.dump("items")
            self.assertEqual([enabled] * 3, [self.menu_enabled(d, i) for i in (PREVIEW, PRINT, PRINT_SETUP)])
            self.assertEqual(enabled, [t[2] == "1" for t in d["TOOL"] if t[0] == str(PRINT)][0])

    def test_the_preview_has_the_keys_at_once(self):
        piece = self.host("piece.tab", "c d\r\n")
        for key in ("Escape", "alt+c"):
            self.run_window(["file " + piece, "command %d" % OPEN, "wait 300", "command %d" % PREVIEW,
                             "wait 800", "previewdump open", "rawkey " + key, "wait 500", "previewdump closed"])
            self.assertGreater(os.path.getsize(os.path.join(self.root, "open")), 0)
            self.assertEqual(0, os.path.getsize(os.path.join(self.root, "closed")), key)

    def test_disabled_tools_give_their_hint_too(self):
        d = self.dump_after(["hover %d" % SAVE, "wait 800", "dump save", "hover %d" % NEW, "wait 800",
                             "dump new"])
        hints = {int(m[1]): m[4] for m in d["MENU"] if m[1] != "0"}
        self.assertEqual(hints[SAVE], self.dump("save")["STATUS"])
        self.assertEqual(hints[NEW], self.dump("new")["STATUS"])

    def dump_after(self, steps):
        self.run_window(["dump start"] + steps)
        return self.dump("start")


if __name__ == "__main__":
    if not test_window.xvfb_available():
        print("xvfb-run is not installed: window tests skipped")
        sys.exit(77)
    pavsdi.main()
