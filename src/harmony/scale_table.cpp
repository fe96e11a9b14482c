#include "harmony/scale_table.h"

#include "core/working_state.h"

// The rows are kept character for character, trailing blanks included: the
// drills cut windows out of them by character position.
const char* const ScaleTable[kScaleKinds][kKeys] = {
    {  // major
        "o3 c d e f g a b >cd e f g a b >cde f g a b >c",
        "o3 d-e-f g-a-b->cd-e-f g-a-b->cd-e-f g-a-b->cd-",
        "o3 d e f+g a b>c+d e f+g a b>c+d e f+ g a b>c+d",
        "o3 e-f g a-b->cd e-f g a-b->cd e-f g a-b->cd e-",
        "o3 e f+g+a b>c+d+e f+g+a b>c+d+e f+g+a b>c+d+e ",
        "o3 f g a b->cd e f g a b->cd e f g a b->cd e f ",
        "o3 f+g+a+b>c+d+e+f+g+a+b>c+d+e+f+g+a+b>c+d+e+a+f+",
        "o3 g a b>c d e f+g a b>c d e f+g a b>c d e f+g ",
        "o3 a-b->cd-e-f g a-b->cd-e-f g a-b->cd-e-f g a-",
        "o3 a b>c+d e f+g+a b>c+d e f+g+a b>c+ d e f+g+a ",
        "o3 b->cd e-f g a b->cd e-f g a b->cd e-f g a b-",
        "o3 b>c+d+e f+g+a+b>c+d+e f+g+a+b>c+d+e f+g+a+b ",
    },
    {  // natural minor
        "o3 c d e-f g a-b->cd e-f g a-b->cde-f g a-b->c",
        "o3 c+d+e f+g+a b>c+d+e f+g+a b>c+d+e f+g+a b>c+",
        "o3 d e f g a b->cd e f g a b->cd e f g a b->cd ",
        "o3 d+e+f+g+a+b>c+d+e+f+g+a+b>c+d+e+f+g+a+b>c+d+",
        "o3 e f+g a b>c d e f+g a b>c d e f+g a b>c d e ",
        "o3 f g a-b->cd-e-f g a-b->cd-e-f g a-b->cd-e-f ",
        "o3 f+g+a b>c+d e f+g+a b>c+d e f+g+a b>c+d e f+",
        "o3 g a b->cd e-f g a b->cd e-f g a b->cd e-f g ",
        "o3 a-b-b>d-e-f-g-a-b-b>d-e-f-g-a-b-b>d-e-f-g-a-",
        "o3 a b>c d e f g a b>c d e f g a ",
        "o3 b->cd-e-f g-a-b->cd-e-f g-a-b-",
        "o3 b>c+d e f+g a b>c+d e f+g a b>c+d e f+g a b ",
    },
    {  // harmonic minor
        "o3 c d e-f g a-b0>cd e-f g a-b0>cde-f g a-b0>c",
        "o3 c+d+e f+g+a >cc+d+e f+g+a >cc+d+e f+g+a >cc+",
        "o3 d e f g a b-> c+d e f g a b-> c+d e f g a b-> c+d ",
        "o3 d+e+f+g+a+b>c*d+e+f+g+a+b>c*d+e+f+g+a+b>c*d+",
        "o3 e f+g a b>c d+e f+g a b>c d+e f+g a b>c d+e ",
        "o3 f g a-b->cd-e0f g a-b->cd-e0f g a-b->cd-e0f ",
        "o3 f+g+a b>c+d e+f+g+a b>c+d e+f+g+a b>c+d e+f+",
        "o3 g a b->cd e-f+g a b->cd e-f+g a b->cd e-f+g ",
        "o3 a-b-b>d-e-f-g0a-b-b>d-e-f-g0a-b-b>d-e-f-g0a-",
        "o3 a b>c d e f g+a b>c d e f g+a ",
        "o3 b->cd-e-f g-a0b->cd-e-f g-a0b-",
        "o3 b>c+d e f+g a+b>c+d e f+g a+b>c+d e f+g a+b ",
    },
    {  // melodic minor
        "o3 c d e-f g a0b0>cd e-f g a0b0>cde-f g a0b0>c",
        "o3 c+d+e f+g+a+>cc+d+e f+g+a+>cc+d+e f+g+a+>cc+",
        "o3 d e f g a b>c+d e f g a b>c+d e f g a b>c+d ",
        "o3 d+e+f+g+a+>cc*d+e+f+g+a+>cc*d+e+f+g+a+>cc*d+",
        "o3 e f+g a b>c+d+e f+g a b>c+d+e f+g a b>c+d+e ",
        "o3 f g a-b->cd0e0f g a-b->cd0e0f g a-b->cd0e0f ",
        "o3 f+g+a b>c+d+e+f+g+a b>c+d+e+f+g+a b>c+d+e+f+",
        "o3 g a b->cd e0f+g a b->cd e0f+g a b->cd e0f+g ",
        "o3 a-b-b>d-e-f0g0a-b-b>d-e-f0g0a-b-b>d-e-f0g0a-",
        "o3 a b>c d e f+g+a b>c d e f+g+a ",
        "o3 b->cd-e-f g0a0b->cd-e-f g0a0b-",
        "o3 b>c+d e f+g+a+b>c+d e f+g+a+b>c+d e f+g+a+b ",
    },
    {  // whole-tone
        "o3 c d e f+g+a+>cd e f+g+a+>cd e f+g+a+>c",
        "o3 d-e-f g a b>d-e-f g a b>d-e-f g a b>d-",
        "o3 d e f+g+a+>cd e f+g+a+>cd e f+g+a+>cd ",
        "o3 e-f g a b>d-e-f g a b>d-e-f g a b>d-e-",
        "o3 e f+g+a+>cd e f+g+a+>cd e f+g+a+>c d e ",
        "o3 f g a b>d-e-f g a b>d-e-f g a b>d-e-f ",
        "o3 f+g+a+>cd e f+g+a+>cd e f+g+a+>cd e f+",
        "o3 g a b>c+d+f g a b>c+d+f g a b>c+d+f g ",
        "o3 a-b->cd e g-a-b->cd e g-a-b->cd e g-a-",
        "o3 a b>c+d+f g a b>c+d+f g a b>c+d+f g a ",
        "o3 b->cd e g-a-b->cd e g-a-b->c d e g-a-b-",
        "o3 b>c+d+f g a b>c+d+f g a b>c+d+f g a b ",
    },
    {  // minor blues
        "o3 c e-f f+g b->ce-f f+g b->ce-f f+g b->c",
        "o3 d-e g-g a-b>d-e g-g a-b>d-e g-g a-b>d-",
        "o3 d f g g+a >cd f g g+a >cd f g g+a >cd ",
        "o3 e-g-a-a b->d-e-g-g a->d-e-g-g a->d-e-",
        "o3 e g a a+b >de g a a+b >de g a a+b >de ",
        "o3 f a-b-b >ce-f a-b-b >ce-f a-b-b >ce-f ",
        "o3 f+a b >cc+e f+a b >cc+e f+a b >cc+e f+",
        "o3 g b->cd-d f g b->cd-d f g b->cd-d f g ",
        "o3 a-b>d-d e-g-a-b>d-d e-g-a-b>d-d e-g-a-",
        "o3 a >cd d+e g a >cd d+e g a >cd d+e g a ",
        "o3 b->d-e-e f a-b->d-e-e f a-b->d-e-e f a-b-",
        "o3 b >de f f+a b >de f f+a b >de f f+a b ",
    },
    {  // major blues
        "o3 c e-e g a >ce-e g a >ce-e g a >c",
        "o3 d-e f a->d-efa->d-e f a->d-",
        "o3 d f f+a b >df f+a b >df f+a b >d",
        "o3 e-g-g b->ce-g-g b->ce-g-g b->ce-",
        "o3 e g g+b>c+e g g+b>c+e g g+b>c+e ",
        "o3 f a-a >cd f a-a >cd f a-a >cd f ",
        "o3 f+a a+>c+d+f+aa+>c+d+f+aa+>c+d+f+",
        "o3 g b-b >de g b-b >cd g b-b >cd g b-b >cd g ",
        "o3 a-b >ce-f a-b >ce-f a-b >ce-f a-",
        "o3 a >cc+e f+a >cc+e f+a >cc+e f+a ",
        "o3 b->d-dfgb->d-df g b->d-dfg b-",
        "o3 b >dd+f+g+b >dd+f+g+b >dd+f+g+b ",
    },
};

const char ChromaticScale[] = "o3 c c+d d+e f f+g g+a a+b >cc+d d+e f f+g g+a a+b >c";

const int ScaleNoteCounts[kScaleKinds][kKeys] = {
    {22, 22, 22, 22, 22, 22, 23, 22, 22, 22, 22, 22},
    {22, 22, 22, 22, 22, 22, 22, 22, 22, 15, 15, 22},
    {22, 22, 22, 22, 22, 22, 22, 22, 22, 15, 15, 22},
    {22, 22, 22, 22, 22, 22, 22, 22, 22, 15, 15, 22},
    {19, 19, 19, 19, 19, 19, 19, 19, 19, 19, 19, 19},
    {19, 19, 19, 17, 19, 19, 19, 19, 19, 19, 19, 19},
    {16, 13, 16, 16, 16, 16, 16, 21, 16, 16, 16, 16},
};

void ScalePlayString(int kind, int key, char* destination) {
  if (kind < 0 || kind >= kScaleKinds || key < 0 || key >= kKeys) return;
  CopyText(destination, kLongText, ScaleTable[kind][key]);
}
