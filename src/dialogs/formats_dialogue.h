// How the settings dialogs write reals into their fields.
#pragma once

#include <string>

// The shortest form of x with at most 15 significant digits and the user's decimal
// separator; empty for no value (NaN).
std::string TexteReelDialogue(double x);
