"""The Windows programs under wine, where they meet Windows itself: file
names and arguments with blanks and accents, a companion started from a
folder whose name has them too."""
import io
import os
import re
import shutil
import subprocess
import sys
import time
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "blackbox"))
import pavsdi  # noqa: E402


class WindowsPrograms(pavsdi.RootTest):
    def test_arguments_with_blanks_and_accents_name_the_files(self):
        folder = os.path.join(self.root, "mes pièces à jouer")
        os.makedirs(folder)
        checked = os.path.join(folder, "pièce été.tab")
        with open(checked, "wb") as f:
            f.write("o4 4c d e f | g a zz b\r\n".encode("cp1252"))
        status, lines, _ = self.run_program("pavsdi", ["--verifier", pavsdi.windows_path(checked)])
        self.assertEqual(1, status, lines)
        self.assertIn("« zz » ignoré — mesure 2, ligne 1, colonne 19", lines)

        played = os.path.join(folder, "mon morceau é.tab")
        with open(played, "wb") as f:
            f.write(b"o4 4c d e\r\n")
        status, lines, err = self.run_program("pavsdi", [pavsdi.windows_path(played)])
        self.assertEqual(0, status, err)
        messages, _ = pavsdi.midi_messages(os.path.join(self.orfeon, "sortie.mid"))
        self.assertEqual([48, 50, 52], [m.note for _, m in messages if m.type == "note_on" and m.velocity])
        # The working copy is the piece, whole, under its own name.
        with open(os.path.join(self.orfeon, "prv.tab"), "rb") as f:
            self.assertEqual(b"o4 4c d e\r\n", f.read())

    def test_companion_starts_from_a_folder_with_blanks_and_accents(self):
        folder = os.path.join(self.root, "logiciels à l'essai", "PavSdi été")
        os.makedirs(os.path.join(folder, "tools"))
        shutil.copy2(os.path.join(pavsdi.BUILD, "pavsdi.exe"), folder)
        shutil.copy2(os.path.join(pavsdi.BUILD, "tools", "clipsend.exe"), os.path.join(folder, "tools"))
        self.write("prv.tab", "o3 c d e été\r\n".encode("cp1252"))
        clipboard = os.path.join(self.root, "presse-papier é.txt")
        # Every start hands the working copy to clipsend, which is not waited
        # for; only clipsend writes the clipboard.
        status, lines, err = self.run_program(os.path.join(folder, "pavsdi"), stdin="24310\n",
                                              PAVSDI_CLIPBOARD=pavsdi.windows_path(clipboard))
        self.assertEqual(0, status, err)
        self.assertIn("RUN\t\\\\orfeon\\\\clipsend.exe\t3", lines)
        expected = "o3 c d e été\n".encode("cp1252")
        text = b""
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline and text != expected:
            time.sleep(0.2)
            if os.path.exists(clipboard):
                with open(clipboard, "rb") as f:
                    text = f.read().replace(b"\r\n", b"\n")
        self.assertEqual(expected, text)

    def test_scores_come_in_from_mxl_and_go_out_as_musicxml(self):
        xml = ('<?xml version="1.0"?><score-partwise version="4.0"><part-list><score-part id="P1">'
               "<part-name>p</part-name></score-part></part-list><part id=\"P1\"><measure number=\"1\">"
               "<attributes><divisions>1</divisions></attributes>"
               + "".join("<note><pitch><step>%s</step><octave>4</octave></pitch><duration>1</duration>"
                         "<type>quarter</type></note>" % step for step in "CDEF")
               + "</measure></part></score-partwise>")
        archive = io.BytesIO()
        with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
            z.writestr("META-INF/container.xml", '<container><rootfiles><rootfile full-path="p.musicxml"/>'
                                                 "</rootfiles></container>")
            z.writestr("p.musicxml", xml)
        folder = os.path.join(self.root, "partitions été")
        os.makedirs(folder)
        compressed = os.path.join(folder, "pièce.mxl")
        with open(compressed, "wb") as f:
            f.write(archive.getvalue())
        status, lines, err = self.run_program("pavsdi", ["--importer", pavsdi.windows_path(compressed)])
        self.assertEqual(0, status, err)
        tab = os.path.join(folder, "pièce.tab")
        with open(tab, "wb") as f:
            f.write("\r\n".join(lines).encode("cp1252") + b"\r\n")
        exported = os.path.join(folder, "sortie é.musicxml")
        status, _, err = self.run_program("pavsdi", ["--exporter", pavsdi.windows_path(tab), "-o",
                                                     pavsdi.windows_path(exported)])
        self.assertEqual(0, status, err)
        with open(exported, encoding="utf-8") as f:
            written = f.read()
        self.assertEqual(["C", "D", "E", "F"], re.findall(r"<step>([A-G])</step>", written))

    def test_first_start_lays_the_data_directory_in_appdata(self):
        prefix = os.path.join(os.environ["PAVSDI_WINE_DIR"], "prefix", "drive_c", "users")
        roaming = [os.path.join(prefix, user, "AppData", "Roaming") for user in os.listdir(prefix)
                   if os.path.isdir(os.path.join(prefix, user, "AppData", "Roaming"))]
        self.assertEqual(1, len(roaming), roaming)
        data = os.path.join(roaming[0], "PavSdi")
        shutil.rmtree(data, ignore_errors=True)
        env = self.env()
        del env["PAVSDI_ROOT"]
        done = subprocess.run([pavsdi.WINE, os.path.join(pavsdi.BUILD, "pavsdi.exe")], input=b"", env=env,
                              capture_output=True, timeout=180, cwd=self.root)
        try:
            self.assertEqual(0, done.returncode, done.stderr)
            template = os.path.join(pavsdi.BUILD, "share", "pavsdi", "orfeon")
            for name in os.listdir(template):
                self.assertTrue(os.path.exists(os.path.join(data, "orfeon", name)), name)
        finally:
            shutil.rmtree(data, ignore_errors=True)


if __name__ == "__main__":
    pavsdi.main()
