// An engine on the simulated platform with bench instruments on its lines: the
// fixture of the engine tests. Time is virtual; questions are scripted.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "banc/instrument.h"
#include "banc/jonction_simulee.h"
#include "core/cinetique.h"
#include "core/noms_controles.h"
#include "instruments/base_appareils.h"
#include "links/table_ports.h"
#include "platform/simule/plateforme_simulee.h"
#include "util/regional_courant.h"

class TBancMoteur : public ::testing::Test {
protected:
  TBancMoteur()
      : p(std::filesystem::current_path().string()),
        base(p.boucle, (std::filesystem::current_path() / "programme").string()),
        table(p.serie, &p.reglages, [this](const std::string& nom) -> std::optional<std::string> {
          if (nom == TTablePorts::Variable) return ports_;
          return std::nullopt;
        }) {
    std::filesystem::create_directories("programme");
    InstalleRegional(&p.regional);
    p.dialogue.SetEchec([](const std::string& m) { ADD_FAILURE() << m; });
    std::string message;
    EXPECT_TRUE(base.ChargeAppareils(message)) << message;
  }
  ~TBancMoteur() override {
    moteur.reset();
    InstalleRegional(nullptr);
  }

  // Joins a bench instrument to COM `com` (a simulated line "/sim/comN").
  template <class T> T& Branche(int com, std::unique_ptr<T> instrument) {
    const std::string chemin = "/sim/com" + std::to_string(com);
    TLigneSimulee& ligne = p.serie.AjouteLigne(chemin);
    T& ref = *instrument;
    jonctions_.push_back(std::make_unique<TJonctionSimulee>(p.boucle, ligne, ref));
    instruments_.push_back(std::move(instrument));
    AjoutePort(com, chemin);
    return ref;
  }
  // A line with nothing at its far end: a port that opens, an instrument that never answers.
  void PortMuet(int com) {
    const std::string chemin = "/sim/com" + std::to_string(com);
    p.serie.AjouteLigne(chemin);
    AjoutePort(com, chemin);
  }
  void AjoutePort(int com, const std::string& chemin) {
    if (!ports_.empty()) ports_ += ";";
    ports_ += "COM" + std::to_string(com) + "=" + chemin;
    table.Actualise();
  }

  // A model of the database (created when missing) with the given request and port.
  Tappareil& Modele(const std::string& nom) {
    if (Tappareil* a = base.ChercheAppareil(nom)) return *a;
    base.ListeAppareils.push_back(std::make_unique<Tappareil>());
    Tappareil& a = *base.ListeAppareils.back();
    a.NomAppareil = nom;
    return a;
  }

  // A model polled like the bench pH meter (2400 bauds, "PH?" CR, pH 0..14).
  Tappareil& ModelePh(const std::string& nom, int com, const std::string& demande = "PH?\r",
                      std::uint16_t delai = 100) {
    Tappareil& a = Modele(nom);
    a.ComNumber = static_cast<std::uint16_t>(com);
    a.Baud = 2400;
    a.Demande = demande;
    a.SymboleGrandeur = "pH";
    a.UniteGrandeur = "";
    a.nomGrandeur = "pH";
    a.ValMini = 0;
    a.ValMaxi = 14;
    a.Precision = 3;
    a.Delai = delai;
    a.Derive = 0.1;
    return a;
  }

  TCinetiqueMain& Demarre() {
    moteur = std::make_unique<TCinetiqueMain>(p.Plateforme(), base, table);
    moteur->FormCreate();
    return *moteur;
  }
  // Puts the models on channels 0.. and prepares the acquisition.
  void Voies(const std::vector<std::string>& noms) {
    moteur->SetNbreVoies(static_cast<int>(noms.size()));
    for (std::size_t i = 0; i < noms.size(); ++i) {
      Tappareil* a = base.ChercheAppareil(noms[i]);
      ASSERT_NE(a, nullptr) << noms[i];
      moteur->AppareilAcq[i] = a;
    }
    moteur->InitAttente();
  }
  const std::string& Libelle(int voie) const { return moteur->Vue().Controle(ctl::Label(voie)).caption; }
  bool Actif(const char* controle) const { return moteur->Vue().Controle(controle).enabled; }
  int N() const { return moteur->Graphe->NbrePoints; }
  double X(int k) const { return moteur->Graphe->mondeX.valeur[static_cast<std::size_t>(k)]; }
  double Y(int v, int k) const {
    return moteur->Graphe->mondeY[static_cast<std::size_t>(v)].valeur[static_cast<std::size_t>(k)];
  }

  // Before the table, which reads it as soon as it is built.
  std::string ports_;
  TPlateformeSimulee p;
  TBaseAppareils base;
  TTablePorts table;
  std::unique_ptr<TCinetiqueMain> moteur;

private:
  std::vector<std::unique_ptr<TInstrumentBanc>> instruments_;
  std::vector<std::unique_ptr<TJonctionSimulee>> jonctions_;
};
