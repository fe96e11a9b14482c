// The icons of the program file, by index as the registry names them
// ("pavsdi,1"): 0 the application, 1 its document type. SVG pictures.
#pragma once

namespace drivers {

// The picture of icon `index`; the application's for an unknown index.
const char* ProgramIconSvg(int index);

}  // namespace drivers
