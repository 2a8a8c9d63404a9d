// The engine on the real platform for the pseudo-terminal tests: the shipped device
// database, the given ports, and a bench-style polled model.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commun/attente.h"
#include "core/cinetique.h"
#include "instruments/base_appareils.h"
#include "links/table_ports.h"
#include "platform/qt/graphique/plateforme_qt.h"
#include "util/regional_courant.h"

inline void ModelePh(Tappareil& a, int com, const std::string& demande, const std::string& symbole) {
  a.ComNumber = static_cast<std::uint16_t>(com);
  a.Baud = 2400;
  a.Demande = demande;
  a.SymboleGrandeur = symbole;
  a.UniteGrandeur = "";
  a.ValMaxi = 2000;
  a.ValMini = -2000;
  a.Precision = 4;
  a.Delai = 100;
}

// Its COM numbers are given by `ports` ("COM3=/dev/pts/4;..."); its regional settings
// are in force for its lifetime.
struct TMoteurReel {
  explicit TMoteurReel(std::string ports_)
      : ports(std::move(ports_)),
        base(plateforme.boucle, (std::filesystem::current_path() / "programme").string()),
        table(plateforme.serie, nullptr, [this](const std::string& nom) -> std::optional<std::string> {
          if (nom == TTablePorts::Variable) return ports;
          return std::nullopt;
        }) {
    InstalleRegional(&plateforme.regional);
    std::filesystem::create_directories("programme");
    std::string message;
    EXPECT_TRUE(base.ChargeAppareils(message)) << message;
    moteur = std::make_unique<TCinetiqueMain>(plateforme.Plateforme(), base, table);
    moteur->FormCreate();
    moteur->TraceCB = false;
  }
  ~TMoteurReel() {
    moteur->FormDestroy();
    moteur.reset();
    InstalleRegional(nullptr);
  }
  Tappareil& Ajoute(const std::string& nom, int com, const std::string& demande, const std::string& symbole) {
    base.ListeAppareils.push_back(std::make_unique<Tappareil>());
    Tappareil& a = *base.ListeAppareils.back();
    a.NomAppareil = nom;
    ModelePh(a, com, demande, symbole);
    return a;
  }
  void Voies(const std::vector<Tappareil*>& voies) {
    moteur->SetNbreVoies(static_cast<int>(voies.size()));
    for (std::size_t i = 0; i < voies.size(); ++i) moteur->AppareilAcq[i] = voies[i];
    moteur->InitAttente();
  }
  // Runs the loop until `fini` or the delay has passed.
  bool Attend(const std::function<bool()>& fini, int ms) { return AttendQue(plateforme.boucle, fini, ms); }

  std::string ports;
  TPlateformeQt plateforme;
  TBaseAppareils base;
  TTablePorts table;
  std::unique_ptr<TCinetiqueMain> moteur;
};
