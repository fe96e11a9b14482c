"""pavsdi.exe in a console, as a person meets it: wine gives the program a
console on a terminal in tmux; keys are typed with send-keys and the screen
is read with capture-pane."""
import os
import shlex
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "blackbox"))
import pavsdi  # noqa: E402
import test_terminal  # noqa: E402

# wine's console leaves the blank after a prompt unwritten.
PROMPT = test_terminal.PROMPT.rstrip()
ANSWER = test_terminal.ANSWER.rstrip()


class WindowsConsole(test_terminal.TerminalTest):
    def start(self):
        mark = len(self.screen().rstrip())
        self.shell("env -u DISPLAY -u WAYLAND_DISPLAY PAVSDI_UI=terminal PAVSDI_AUDIO=none PAVSDI_ROOT=%s"
                   " PAVSDI_WINE_DIR=%s %s %s; echo statut=$?"
                   % (shlex.quote(pavsdi.windows_path(self.root)), shlex.quote(os.environ["PAVSDI_WINE_DIR"]),
                      shlex.quote(pavsdi.WINE), shlex.quote(os.path.join(pavsdi.BUILD, "pavsdi.exe"))))
        return self.wait_for(PROMPT, after=mark)[mark:]

    def test_accents_and_single_key_answers(self):
        screen = self.start()
        # Written as Unicode: the accents and the dash show on the terminal.
        self.assertIn("PavSdi — tapez aide pour la liste des commandes", screen)
        # A question is answered with one key, without Enter.
        self.command("gamme", ANSWER)
        out = self.answer("o", PROMPT)
        self.assertTrue(out.startswith("oui\n"), out)
        # (wine's console on a terminal gives no Ctrl+C to a line being
        # read: that one needs a real Windows.)
        self.command("quitter", "statut=0")


if __name__ == "__main__":
    pavsdi.main()
