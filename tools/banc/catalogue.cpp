// Names of the bench instruments.
#include "banc/catalogue.h"

#include "banc/balance.h"
#include "banc/phmetre.h"
#include "banc/phmetre_continu.h"
#include "banc/titrage.h"

std::unique_ptr<TInstrumentBanc> CreeInstrument(const std::string& nom) {
  if (nom == "pH-metre") return std::make_unique<TPhMetre>();
  if (nom == "pH-metre-continu") return std::make_unique<TPhMetreContinu>();
  if (nom == "balance") return std::make_unique<TBalance>();
  if (nom == "burette") return CreeBuretteTitrage();
  if (nom == "pH-metre-titrage") return CreePhMetreTitrage();
  if (nom == "burette-10mL") return CreeBuretteTitrage(true);
  if (nom == "pH-metre-titrage-5mL") return CreePhMetreTitrage(true);
  return nullptr;
}

std::vector<std::string> NomsInstruments() { return {"pH-metre", "pH-metre-continu", "balance", "burette", "pH-metre-titrage",
                                            "burette-10mL", "pH-metre-titrage-5mL"}; }
