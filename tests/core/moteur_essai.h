// An engine on the simulated platform for the file and configuration tests: a small
// device database of its own, no serial port, every question scripted.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "core/cinetique.h"
#include "instruments/base_appareils.h"
#include "links/table_ports.h"
#include "platform/simule/plateforme_simulee.h"
#include "util/cp1252.h"
#include "util/fichiers.h"
#include "util/regional_courant.h"
#include "util/faux_util.h"

// Three models; the file is written in Windows-1252 as the program's own would be.
inline const char* const BaseEssai =
    "[Index]\r\n"
    "0=pH-mètre Essai\r\n"
    "1=Thermomètre Essai\r\n"
    "2=Conductimètre Essai\r\n"
    "\r\n"
    "[pH-mètre Essai]\r\n"
    "Nom=pH\r\nSymbole=pH\r\nUnité=\r\nPrecision=3\r\nMini=0\r\nMaxi=14\r\nDelai=300\r\nCom=3\r\n"
    "\r\n"
    "[Thermomètre Essai]\r\n"
    "Nom=température\r\nSymbole=T\r\nUnité=°C\r\nPrecision=4\r\nMini=-10\r\nMaxi=110\r\nDelai=1500\r\nCom=4\r\n"
    "\r\n"
    "[Conductimètre Essai]\r\n"
    "Nom=conductivité\r\nSymbole=G\r\nUnité=mS/cm\r\nPrecision=4\r\nMini=0\r\nMaxi=20\r\nDelai=200\r\nCom=5\r\n";

inline const std::string PH = "pH-mètre Essai";
inline const std::string THERMO = "Thermomètre Essai";
inline const std::string CONDUCTI = "Conductimètre Essai";

inline std::string LitOctets(const std::filesystem::path& chemin) { return LitFichier(chemin.string()).value_or(""); }

inline void EcritUtf8En1252(const std::filesystem::path& chemin, const std::string& texte) {
  std::ofstream f(chemin, std::ios::binary);
  f << Utf8VersCp1252(texte);
}

class TMoteurEssai {
public:
  // `dossier`: the test's scratch folder; the program folder is made inside it
  // unless `sansDossierProgramme` (a program folder that does not exist).
  explicit TMoteurEssai(const std::filesystem::path& dossier, char separateur = ',', bool sansDossierProgramme = false)
      : p(dossier.string(), separateur),
        dossierProgramme(dossier / "programme"),
        base(p.boucle, dossierProgramme.string()),
        table(p.serie, &p.reglages, [](const std::string&) { return std::optional<std::string>(""); }) {
    InstalleRegional(&p.regional);
    p.dialogue.SetEchec([](const std::string& question) { ADD_FAILURE() << "question inattendue : " << question; });
    base.SetBaseParDefaut(Utf8VersCp1252(BaseEssai));
    std::string message;
    EXPECT_TRUE(base.ChargeAppareils(message)) << message;
    if (!sansDossierProgramme) std::filesystem::create_directories(dossierProgramme);
    moteur = std::make_unique<TCinetiqueMain>(p.Plateforme(), base, table);
    moteur->FormCreate();
  }
  ~TMoteurEssai() { InstalleRegional(nullptr); }
  TMoteurEssai(const TMoteurEssai&) = delete;
  TMoteurEssai& operator=(const TMoteurEssai&) = delete;

  TCinetiqueMain& M() { return *moteur; }
  Tappareil* App(const std::string& nom) { return base.ChercheAppareil(nom); }

  // Puts models on the channels and prepares the acquisition (no port answers).
  void Voies(std::initializer_list<std::string> noms, TModeAcq mode = maTemps) {
    moteur->SetNbreVoies(static_cast<int>(noms.size()));
    int i = 0;
    for (const auto& nom : noms) {
      Tappareil* a = App(nom);
      EXPECT_NE(a, nullptr) << nom;
      moteur->AppareilAcq[static_cast<std::size_t>(i++)] = a;
    }
    moteur->ModeAcq = mode;
    moteur->InitAttente();
  }

  // Writes point k of the table directly (channel values in order).
  void Point(int k, double x, std::initializer_list<double> y) {
    Tgraphe& G = *moteur->Graphe;
    G.mondeX.valeur[static_cast<std::size_t>(k)] = x;
    int v = 0;
    for (double valeur : y) G.mondeY[static_cast<std::size_t>(v++)].valeur[static_cast<std::size_t>(k)] = valeur;
    if (G.NbrePoints < k + 1) G.NbrePoints = static_cast<indiceVecteur>(k + 1);
  }

  TPlateformeSimulee p;
  std::filesystem::path dossierProgramme;
  TBaseAppareils base;
  TTablePorts table;
  std::unique_ptr<TCinetiqueMain> moteur;
};
