// The running text copy of the table: rewritten with its heading at the start of an
// acquisition, then appended three points at a time, so that the points survive a
// crash of the program.
#include "core/cinetique.h"
#include "instruments/base_appareils.h"
#include "util/cp1252.h"
#include "util/fichiers.h"
#include "util/nombres.h"

namespace {
const char* const FinLigne = "\r\n";
}

std::string TCinetiqueMain::EnteteTexte() const {
  std::string t = "Appareils RS232 3.20 10/01/2024";
  t += FinLigne;
  t += Graphe->mondeX.Nom;
  for (int v = 0; v < NbreVoies(); ++v) t += "\t" + (Voie(v) ? Voie(v)->SymboleGrandeur : std::string());
  t += FinLigne;
  t += Graphe->mondeX.Unite;
  for (int v = 0; v < NbreVoies(); ++v) t += "\t" + (Voie(v) ? Voie(v)->UniteGrandeur : std::string());
  t += FinLigne;
  return t;
}

std::string TCinetiqueMain::LignePoint(int k) const {
  const auto i = static_cast<std::size_t>(k);
  std::string t = FormatNombrePoint(Graphe->mondeX.valeur[i]);
  for (int v = 0; v < NbreVoies(); ++v) t += "\t" + FormatNombrePoint(Graphe->mondeY[static_cast<std::size_t>(v)].valeur[i]);
  return t + FinLigne;
}

void TCinetiqueMain::MajCopieTexte() {
  const int N = Graphe->NbrePoints;
  if (N <= NbrePointsSauves + 2) return;
  const std::string& nom = base_.NomFichierTexte();
  bool ok = true;
  if (NbrePointsSauves == 0) ok = EcritFichierSur(nom, Utf8VersCp1252(EnteteTexte()));
  if (ok) {
    std::string lignes;
    for (int k = NbrePointsSauves; k < N; ++k) lignes += LignePoint(k);
    ok = AjouteAuFichier(nom, lignes);
  }
  if (ok) {
    NbrePointsSauves = N;
    erreurCopieSignalee_ = false;
  } else if (!erreurCopieSignalee_) {
    // Said once: the copy is tried again at each recording, silently.
    erreurCopieSignalee_ = true;
    plateforme_.dialogue.Information("Erreur d'écriture de " + nom);
  }
}
