// pavsdi: the program. It talks in a window, or on the terminal when asked
// to (PAVSDI_UI=console) or when no display is there.
#include "core/program_main.h"

int main(int argc, char** argv) { return ProgramMain(argc, argv, nullptr); }
