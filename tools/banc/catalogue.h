// The bench instruments by name, for banc-virtuel and the tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "banc/instrument.h"

// "pH-metre", "pH-metre-continu", "balance", "burette", "pH-metre-titrage" (a
// burette and a titration pH meter created in turn share one beaker), "burette-10mL"
// and "pH-metre-titrage-5mL" (the same for a short titration: 5 mL of acid, a 10 mL
// burette); null for any other name.
std::unique_ptr<TInstrumentBanc> CreeInstrument(const std::string& nom);
std::vector<std::string> NomsInstruments();
