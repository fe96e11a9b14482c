#include <cstring>

#include "core/command_table.h"
#include "harmony/harmony_commands.h"
#include "harmony/parameter_commands.h"
#include "harmony_fixture.h"

namespace {

using Parameters = HarmonyTest;

// Each choice list at each answer: the field after it, the cue, and the
// program change the instrument command sends.
TEST_F(Parameters, ChoiceListsTakeSkipAndLeave) {
  struct Case {
    void (*command)();
    std::vector<int> answers;
    int32_t expected;  // the field afterwards; it starts at 77
    bool cue;
  } cases[] = {
      {ChooseTempo, {Y}, 32, true},           {ChooseTempo, {N, Y}, 60, true},
      {ChooseTempo, {N, N, Y}, 120, true},    {ChooseTempo, {N, N, N, Y}, 240, true},
      {ChooseTempo, {C}, 77, false},          {ChooseTempo, {N, N, C}, 77, false},
      {ChooseTempo, {N, N, N, N}, 77, true},  {ChooseTempo, {N, N, N, C}, 77, true},
      {ChooseVolume, {Y}, 95, true},          {ChooseVolume, {N, Y}, 111, true},
      {ChooseVolume, {N, N, Y}, 126, true},   {ChooseVolume, {N, C}, 77, false},
      {ChooseVolume, {N, N, N}, 77, true},    {ChooseVolume, {N, N, C}, 77, true},
      {ChooseInstrument, {N, N, Y}, 16, true}, {ChooseInstrument, {N, N, N, Y}, 32, true},
      {ChooseInstrument, {N, Y}, 1, true},    {ChooseInstrument, {N, C}, 77, false},
      {ChooseInstrument, {N, N, N, N}, 77, true},
  };
  for (const Case& c : cases) {
    WorkingState.Tempo = 77;
    WorkingState.Velocity = 77;
    WorkingState.Instrument = 77;
    Forget();
    Answer(c.answers);
    c.command();
    int32_t field = c.command == ChooseTempo    ? static_cast<int32_t>(WorkingState.Tempo)
                    : c.command == ChooseVolume ? static_cast<int32_t>(WorkingState.Velocity)
                                                : WorkingState.Instrument;
    std::string what = std::to_string(c.answers.size()) + " answers, last " + std::to_string(c.answers.back());
    EXPECT_EQ(c.expected, field) << what;
    EXPECT_EQ(c.cue ? 1 : 0, Cues()) << what;
    EXPECT_EQ(c.answers.size(), dialogs.boxes.size()) << what;
    if (c.command == ChooseInstrument) {
      std::vector<std::string> sent;
      if (c.cue) sent.push_back("t=0 program " + std::to_string(c.expected));
      EXPECT_EQ(sent, Log()) << what;
    }
  }
  EXPECT_EQ("pizzicatto", dialogs.boxes.back().caption);
  EXPECT_EQ("oui=saisie non=suivant annuler=quitter", dialogs.boxes.back().text);
}

TEST_F(Parameters, VoiceSetsRegisterAndChannelTogether) {
  struct Case {
    std::vector<int> answers;
    int voice;
    bool cue;
  } cases[] = {{{Y}, 0, true},       {{N, N, Y}, 2, true},     {{N, N, N, Y}, 3, true},
               {{N, N, C}, 9, false}, {{N, N, N, N}, 9, false}, {{N, N, N, C}, 9, false}};
  for (const Case& c : cases) {
    WorkingState.Voice = 9;
    WorkingState.Channel = 9;
    Forget();
    Answer(c.answers);
    ChooseVoice();
    EXPECT_EQ(c.voice, WorkingState.Voice);
    EXPECT_EQ(c.voice, WorkingState.Channel);
    EXPECT_EQ(c.cue ? 1 : 0, Cues());
  }
  EXPECT_EQ((std::vector<std::string>{"voix 1 basse", "voix 2 ténor", "voix 3 alto", "voix 4 soprano"}),
            Captions());
  EXPECT_EQ("oui=saisie non=annuler=quitter", dialogs.boxes[3].text);
}

// The counters: wrap and stop rules, and values from the settings file
// brought into range by the first step.
TEST_F(Parameters, SteppersWrapOrStop) {
  struct Case {
    void (*command)();
    int start;
    std::vector<int> answers;
    int expected;
  } cases[] = {
      {StepTranspose, 11, {Y}, 0},  {StepTranspose, 0, {N}, 11},  {StepTranspose, 15, {Y}, 0},
      {StepTranspose, 15, {N}, 0},  {StepTranspose, -3, {Y}, 11}, {StepTranspose, -3, {N}, 11},
      {StepTranspose, 127, {Y}, 11}, {StepTranspose, 4, {Y, Y, N}, 5},
      {StepDegree, 7, {Y}, 1},      {StepDegree, 1, {N}, 7},      {StepDegree, 3, {}, 3},
      {StepRepetitions, 11, {Y}, 0}, {StepRepetitions, 0, {N}, 0}, {StepRepetitions, 5, {Y, Y}, 7},
  };
  for (const Case& c : cases) {
    WorkingState.Transpose = static_cast<int8_t>(c.start);
    WorkingState.Degree = static_cast<int8_t>(c.start);
    WorkingState.Repetitions = c.start;
    Forget();
    Answer(c.answers);
    c.command();
    int value = c.command == StepTranspose ? WorkingState.Transpose
                : c.command == StepDegree  ? WorkingState.Degree
                                           : WorkingState.Repetitions;
    EXPECT_EQ(c.expected, value) << c.start;
    EXPECT_EQ(1, Cues());
    EXPECT_EQ(c.answers.size() + 1, dialogs.boxes.size());
    EXPECT_EQ("oui=augmenter non=diminuer escape=saisie", dialogs.boxes[0].text);
  }
  EXPECT_EQ((std::vector<std::string>{"répétition courante 5", "répétition courante 6", "répétition courante 7"}),
            Captions());
}

TEST_F(Parameters, BankPlaysEachProgramAndStopsAtZero) {
  WorkingState.Instrument = 0;
  Answer({N});
  StepBank();
  EXPECT_EQ(0, WorkingState.Instrument);
  EXPECT_EQ((std::vector<std::string>{"t=0 program 0", "t=0 on 36 127", "t=1000 off 36", "t=1000 program 0",
                                      "t=1000 on 36 127", "t=2000 off 36"}),
            Log());
  EXPECT_EQ(1, Cues());

  // 128 goes out as its low 8 bits, a data byte the device refuses.
  WorkingState.Instrument = 127;
  WorkingState.Voice = 1;
  WorkingState.Transpose = 2;
  Forget();
  Answer({Y});
  StepBank();
  EXPECT_EQ(128, WorkingState.Instrument);
  EXPECT_EQ((std::vector<int>{52, 52}), Played());  // c written with Transpose, then shifted again
  EXPECT_EQ("instrument courant 127", dialogs.boxes[0].caption);
  EXPECT_EQ("instrument courant 128", dialogs.boxes[1].caption);
}

TEST_F(Parameters, KeyRunsIntoTheScaleAndChordChoices) {
  std::strcpy(WorkingState.KeySignature, "f+");
  WorkingState.Key = 11;
  Answer({Y, C, C});
  StepKey();
  EXPECT_EQ(0, WorkingState.Key);
  EXPECT_STREQ("", WorkingState.KeySignature);
  EXPECT_EQ((std::vector<std::string>{"ton courant 11", "ton courant 0", "gamme majeure", "triade"}), Captions());
  EXPECT_EQ(0, Cues());
}

TEST_F(Parameters, DefaultsAndSettings) {
  WorkingState.Tempo = 200;
  RestoreDefaults();
  EXPECT_EQ(60u, WorkingState.Tempo);
  EXPECT_EQ(1, Cues());

  Forget();
  WorkingState.Tempo = 200;
  ReloadSettings();
  EXPECT_EQ(60u, WorkingState.Tempo);
  EXPECT_EQ(0, Cues());
  EXPECT_EQ("paramètres par défaut", dialogs.boxes.back().caption);

  WriteHostFile("\\orfeon\\lexiton.ini", "tempo=90\r\n");
  Forget();
  ReloadSettings();
  EXPECT_EQ("paramètres courants", dialogs.boxes.back().caption);
  EXPECT_EQ("tempo=90\n", dialogs.boxes.back().text);
  EXPECT_EQ(1, Cues());
}

TEST_F(Parameters, EveryCommandIsRegistered) {
  RegisterHarmonyCommands();
  for (int id : {400, 401, 402, 403, 404, 405, 406, 407, 500, 501, 502, 503, 504, 506, 507, 508, 510})
    EXPECT_NE(nullptr, FindCommand(id)) << id;
  EXPECT_EQ(nullptr, FindCommand(505));
}

}  // namespace
