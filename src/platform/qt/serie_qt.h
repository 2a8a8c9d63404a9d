// Real serial devices through QSerialPort. A device that goes away while open
// (adapter pulled out, pseudo-terminal closed) is detected here, from what the port
// reports and, where it reports nothing, by the check of Verifie, and turned into one
// loss notification and a clean close.
#pragma once

#include <string>
#include <vector>

#include "platform/serie.h"

class TSerieQt final : public TSeriePlateforme {
public:
  // `dossierPeripheriques`: where the device nodes are listed ("/dev").
  explicit TSerieQt(std::string dossierPeripheriques = "/dev");

  // The /dev entries ttyS*, ttyUSB* and ttyACM*, sorted.
  std::vector<std::string> Peripheriques() const override;
  TPresence Sonde(const std::string& chemin) override;
  TOuvertureSerie Ouvre(const std::string& chemin, const TReglageLigne& reglage) override;

private:
  std::string dossier_;
};
