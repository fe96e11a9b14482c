// The commands that set the musical parameters of the run (menus Init and
// Harm), each a chain of Yes/No/Cancel questions.
#pragma once

void RestoreDefaults();      // Défaut
void ReloadSettings();       // MidiInit
void ChooseTempo();          // Tempo
void ChooseInstrument();     // Instrument
void ChooseVolume();         // Volume
void ChooseVoice();          // Voix
void StepTranspose();        // Transpo
void StepBank();             // Banque
void StepKey();              // Ton
void StepDegree();           // Degré
void StepRepetitions();      // Répétition
