// The bench instruments by name, for banc-virtuel and the tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "banc/instrument.h"

// "pH-metre", "pH-metre-continu", "balance", "burette", "pH-metre-titrage" (a
// burette and a titration pH meter created in turn share one beaker); null for any
// other name.
std::unique_ptr<TInstrumentBanc> CreeInstrument(const std::string& nom);
std::vector<std::string> NomsInstruments();
