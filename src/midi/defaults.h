// Puts every parameter of the working state back to its default, sends the
// default program change and leaves the default scale and chord ready.
#pragma once

int ApplyDefaults();
