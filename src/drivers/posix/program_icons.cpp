#include "drivers/program_icons.h"

namespace drivers {
namespace {

// A lute-like body with a note: the application.
const char kApplicationIcon[] =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 48 48\" width=\"48\" height=\"48\">\n"
    "<rect x=\"2\" y=\"2\" width=\"44\" height=\"44\" rx=\"8\" fill=\"#3a5f8f\"/>\n"
    "<ellipse cx=\"20\" cy=\"30\" rx=\"11\" ry=\"12\" fill=\"#e8c27a\"/>\n"
    "<rect x=\"28\" y=\"8\" width=\"4\" height=\"22\" transform=\"rotate(35 30 19)\" fill=\"#e8c27a\"/>\n"
    "<circle cx=\"20\" cy=\"30\" r=\"3\" fill=\"#5a3a1a\"/>\n"
    "</svg>\n";

// A page with staff lines: a tablature document.
const char kDocumentIcon[] =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 48 48\" width=\"48\" height=\"48\">\n"
    "<path d=\"M10 3h20l10 10v32H10z\" fill=\"#ffffff\" stroke=\"#3a5f8f\" stroke-width=\"2\"/>\n"
    "<path d=\"M14 20h22M14 25h22M14 30h22M14 35h22\" stroke=\"#3a5f8f\" stroke-width=\"1.5\"/>\n"
    "<ellipse cx=\"22\" cy=\"32.5\" rx=\"3\" ry=\"2.2\" fill=\"#3a5f8f\"/>\n"
    "<path d=\"M25 32V18\" stroke=\"#3a5f8f\" stroke-width=\"1.5\"/>\n"
    "</svg>\n";

}  // namespace

const char* ProgramIconSvg(int index) { return index == 1 ? kDocumentIcon : kApplicationIcon; }

}  // namespace drivers
