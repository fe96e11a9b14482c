// The ids of pavsdiw.rc's resources, shared by the code and the script.
#pragma once

#define PAVSDI_ICON 1001           // the program's icon, also index 0 of the file
#define PAVSDI_DOCUMENT_ICON 1002  // the tablature's, index 1
#define PAVSDI_ABOUT_DIALOG 22000
#define PAVSDI_ABOUT_VERSION 22001
#define PAVSDI_ABOUT_COPYRIGHT 22002
#define PAVSDI_ABOUT_SPECIAL 22003

#ifdef __cplusplus
constexpr int kIconId = PAVSDI_ICON;
#endif
