"""Tabla > Importer... and Exporter en MusicXML... in the real window: the
part asked by its name, the imported text shown as a new unsaved document
that is also the current tablature, and the export written beside it."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import test_window  # noqa: E402
from test_window import pavsdi  # noqa: E402

IMPORT, EXPORT = 24345, 24346
SCORE = ('<?xml version="1.0"?><score-partwise version="4.0"><part-list>'
         '<score-part id="P1"><part-name>Flûte</part-name></score-part>'
         '<score-part id="P2"><part-name>Basson</part-name></score-part></part-list>'
         '<part id="P1"><measure number="1"><attributes><divisions>1</divisions></attributes>'
         '<note><pitch><step>A</step><octave>5</octave></pitch><duration>4</duration></note></measure></part>'
         '<part id="P2"><measure number="1"><attributes><divisions>1</divisions></attributes>'
         '<note><pitch><step>E</step><octave>3</octave></pitch><duration>4</duration></note></measure></part>'
         '</score-partwise>')


class ScoresWindowTest(pavsdi.RootTest):
    run_window = test_window.WindowTest.run_window
    dump = test_window.WindowTest.dump
    host = test_window.WindowTest.host

    def test_import_asks_the_part_and_opens_a_new_document_then_exports(self):
        score = self.host("duo.musicxml", SCORE, encoding="utf-8")
        exported = os.path.join(self.root, "duo-export.musicxml")
        log = self.run_window(["file " + score, "answer 7", "answer 6", "command %d" % IMPORT, "wait 300",
                               "updateui", "dump imported", "file " + exported, "command %d" % EXPORT, "wait 300"],
                              timeout=120)
        asked = [line.split("\t")[2] for line in log if line.startswith("BOX\tASK")]
        self.assertEqual(["Flûte", "Basson"], asked[:2])
        d = self.dump("imported")
        self.assertIn("o4 1e", d["EDITOR"])
        self.assertEqual("1", d["MODIFIED"])
        self.assertEqual("", d["FILENAME"])
        self.assertIn("o4 1e", d["TABTEXT"])
        with open(exported, encoding="utf-8") as f:
            written = f.read()
        self.assertIn("<step>E</step>", written)
        self.assertIn('<score-partwise version="4.0">', written)


if __name__ == "__main__":
    if not test_window.xvfb_available():
        print("xvfb-run is not installed: window tests skipped")
        sys.exit(77)
    pavsdi.main()
