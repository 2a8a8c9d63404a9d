// A private folder with a short path for local sockets: a socket's path is bounded
// (107 bytes), which the per-case scratch folders of the tests overstep.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

class TDossierCourt {
public:
  TDossierCourt() {
    std::string modele = "/tmp/pelitrax-XXXXXX";
    if (::mkdtemp(modele.data())) chemin_ = modele;
  }
  ~TDossierCourt() {
    std::error_code erreur;
    if (!chemin_.empty()) std::filesystem::remove_all(chemin_, erreur);
  }
  TDossierCourt(const TDossierCourt&) = delete;
  TDossierCourt& operator=(const TDossierCourt&) = delete;
  const std::string& Chemin() const { return chemin_; }

private:
  std::string chemin_;
};
