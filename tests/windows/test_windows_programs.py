"""The Windows programs under wine, where they meet Windows itself: file
names and arguments with blanks and accents, a companion started from a
folder whose name has them too."""
import os
import shutil
import sys
import time

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
        self.assertIn("mesure 2, ligne 1, colonne 19 : « zz » ignoré", lines)

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


if __name__ == "__main__":
    pavsdi.main()
