// The exchange on the simulated platform: an engine, its link with the analysis
// program, and a stand-in analysis program on the same loop that records the commands
// it gets and the clipboard text it then reads. Time is virtual; questions scripted.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "banc/phmetre.h"
#include "core/banc_moteur.h"
#include "core/cinetique.h"
#include "exchange/form_dde.h"
#include "instruments/base_appareils.h"
#include "links/table_ports.h"
#include "platform/simule/ipc_simulee.h"
#include "platform/simule/plateforme_simulee.h"
#include "util/regional_courant.h"

// What the stand-in analysis program received: the command and the clipboard then.
struct TRecuTracoria {
  std::string commande;
  std::string pressePapiers;
};

class TBancEchange : public TBancMoteur {
protected:
  static constexpr const char* CheminProgramme = "/opt/pelitrax/Pelitrax.exe";

  TBancEchange() {
    Demarre();
    dde = std::make_unique<TFormDDE>(*moteur, CheminProgramme);
    dde->LitConfiguration = [this](const std::string& nom) {
      charges.push_back(nom);
      return true;
    };
    dde->SauveConfiguration = [this](const std::string& nom) {
      sauves.push_back(nom);
      return true;
    };
    dde->PrendFocus = [this] { ++focus; };
  }
  ~TBancEchange() override {
    dde.reset();
    moteur.reset();
  }

  // The stand-in analysis program runs: its running lock is held and its server
  // answers `accepte` to every command.
  void TracoriaDemarre(bool accepte = true) {
    verrouTracoria_ = p.verrous.Prend(TFormDDE::VerrouTracoria);
    ASSERT_TRUE(tracoria.Ecoute("TRACORIA", "ServeurDDE", [this, accepte](const std::string& commande) {
      recus.push_back({commande, p.pressePapiers.Texte()});
      return accepte;
    }));
  }
  void TracoriaArrete() {
    tracoria.ArreteEcoute();
    verrouTracoria_.reset();
  }

  // Two channels, pH and T, abscissa t in s, three points.
  void Tableau() {
    ph.SymboleGrandeur = "pH";
    ph.UniteGrandeur = "";
    ph.nomGrandeur = "pH";
    temp.SymboleGrandeur = "T";
    temp.UniteGrandeur = "°C";
    temp.nomGrandeur = "Température";
    moteur->SetNbreVoies(2);
    moteur->AppareilAcq[0] = &ph;
    moteur->AppareilAcq[1] = &temp;
    Tmonde& X = moteur->Graphe->mondeX;
    X.Nom = "t";
    X.Unite = "s";
    X.Signif = "temps";
    const double x[] = {0, 1, 2}, y0[] = {7.02, 7.1, 7.25}, y1[] = {25, 25.5, 26};
    for (std::size_t k = 0; k < 3; ++k) {
      X.valeur[k] = x[k];
      moteur->Graphe->mondeY[0].valeur[k] = y0[k];
      moteur->Graphe->mondeY[1].valeur[k] = y1[k];
    }
    moteur->Graphe->NbrePoints = 3;
  }

  // A polled pH meter of the bench on COM3, on channel 0 (model "pH bench").
  void PhMetreSurCom3() {
    Branche(3, std::make_unique<TPhMetre>());
    modelePh.NomAppareil = "pH bench";
    modelePh.ComNumber = 3;
    modelePh.Baud = 2400;
    modelePh.Demande = "PH?\r";
    modelePh.SymboleGrandeur = "pH";
    modelePh.UniteGrandeur = "";
    modelePh.ValMini = 0;
    modelePh.ValMaxi = 14;
    modelePh.Precision = 3;
    modelePh.Delai = 100;
    moteur->SetNbreVoies(1);
    moteur->AppareilAcq[0] = &modelePh;
  }

  // Runs the loop for `ms` of virtual time.
  void Avance(std::int64_t ms) { p.boucle.Avance(ms); }
  std::vector<std::string> Commandes() const {
    std::vector<std::string> c;
    for (const auto& r : recus) c.push_back(r.commande);
    return c;
  }

  std::unique_ptr<TFormDDE> dde;
  Tappareil ph, temp, modelePh;

  // The stand-in analysis program's side of the link.
  TLiaisonIPCSimulee tracoria{p.boucle};
  std::vector<TRecuTracoria> recus;
  std::vector<std::string> charges, sauves;
  int focus = 0;

private:
  std::unique_ptr<TVerrou> verrouTracoria_;
};
