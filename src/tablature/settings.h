// The settings file.
#pragma once

int LoadSettings(char* settingsText, char* scratch);
