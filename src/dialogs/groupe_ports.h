// A port list as the dialogs show it: the radio group filled by the engine's
// SetRS232RG, whose item k stands for the COM number NumeroCom(k).
#pragma once

#include <string>
#include <vector>

struct TGroupePorts {
  std::vector<std::string> items;  // "COM3", ...
  int itemIndex = -1;              // -1: none chosen
  std::string caption;             // "Voie série", or the warning when no port exists
  bool visible = true;

  bool Choisi() const { return itemIndex >= 0 && itemIndex < static_cast<int>(items.size()); }
};
