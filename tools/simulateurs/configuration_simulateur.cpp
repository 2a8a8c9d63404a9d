#include "configuration_simulateur.h"

#include <dlfcn.h>

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
std::string LitFichier(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  if (!f) return {};
  std::ostringstream t;
  t << f.rdbuf();
  return t.str();
}
}  // namespace

std::string TexteConfiguration(const char* variable, const char* nomFichier, const void* adresse) {
  if (const char* chemin = std::getenv(variable); chemin && *chemin) return LitFichier(chemin);
  Dl_info info{};
  if (dladdr(adresse, &info) && info.dli_fname) {
    std::string dossier = info.dli_fname;
    const auto barre = dossier.rfind('/');
    dossier = barre == std::string::npos ? "." : dossier.substr(0, barre);
    return LitFichier(dossier + "/" + nomFichier);
  }
  return {};
}

std::vector<std::vector<std::string>> LignesConfiguration(const std::string& texte) {
  std::vector<std::vector<std::string>> lignes;
  std::istringstream flux(texte);
  for (std::string ligne; std::getline(flux, ligne);) {
    std::vector<std::string> mots;
    std::string mot;
    bool dansMot = false, guillemets = false;
    for (const char c : ligne) {
      if (guillemets) {
        if (c == '"') guillemets = false;
        else mot += c;
      } else if (c == '"') {
        guillemets = dansMot = true;
      } else if (c == '#') {
        break;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        if (dansMot) mots.push_back(mot);
        mot.clear();
        dansMot = false;
      } else {
        mot += c;
        dansMot = true;
      }
    }
    if (dansMot) mots.push_back(mot);
    if (!mots.empty()) lignes.push_back(std::move(mots));
  }
  return lignes;
}

double SecondesDepuisChargement() {
  static const auto debut = std::chrono::steady_clock::now();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
}

double Reel(const std::string& texte, double defaut) {
  // Never the C library's locale: the program may have set a decimal comma.
  std::string_view t = texte;
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  double x = 0;
  const auto [fin, erreur] = std::from_chars(t.data(), t.data() + t.size(), x);
  return erreur == std::errc() && fin == t.data() + t.size() && !t.empty() ? x : defaut;
}

std::string Fixe(double x, int decimales) {
  char tampon[64];
  const auto r = std::to_chars(tampon, tampon + sizeof tampon, x, std::chars_format::fixed, decimales);
  return std::string(tampon, r.ptr);
}
