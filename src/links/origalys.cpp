#include "links/origalys.h"

#include <charconv>
#include <stdexcept>

#include "links/point_entree.h"
#include "links/texte16.h"
#include "util/cp1252.h"
#include "util/nombres.h"

namespace {
bool Parmi(char c, std::string_view ensemble) { return ensemble.find(c) != std::string_view::npos; }

// "600 ; /dev/hidraw0" with the library's 8-bit path made readable.
std::string IdentChemin(std::int32_t ident, const std::string& chemin) {
  return std::to_string(ident) + " ; " + Cp1252VersUtf8(chemin);
}
}  // namespace

std::string NomMetreUSB(std::int32_t ident) {
  return ident == IdentOPH218 ? "OPH218" : ident == IdentOCD218 ? "OCD218" : "USB";
}

bool TEntreesOrigalys::Cherche(TBibliotheque& b) {
  // Every one is looked up, so that a caller never keeps a partial set.
  bool tous = true;
  tous &= ChercheEntree(b, "OpenFirstComDll", OpenFirstComDll);
  tous &= ChercheEntree(b, "EnumeHIDDll", EnumeHIDDll);
  tous &= ChercheEntree(b, "GetNumberDeviceDll", GetNumberDeviceDll);
  tous &= ChercheEntree(b, "GetDeviceProdIdDll", GetDeviceProdIdDll);
  tous &= ChercheEntree(b, "GetDevicePathDll", GetDevicePathDll);
  tous &= ChercheEntree(b, "OpenComDll", OpenComDll);
  tous &= ChercheEntree(b, "FindTheHIDDll", FindTheHIDDll);
  tous &= ChercheEntree(b, "SendCmdDll", SendCmdDll);
  tous &= ChercheEntree(b, "GetResponseDll", GetResponseDll);
  tous &= ChercheEntree(b, "CloseComDll", CloseComDll);
  return tous;
}

double ValeurReponseOrigalys(const std::string& r, const char* debutsUnite) {
  if (r.find("nan") != std::string::npos || r.empty()) return PasDeValeur;
  // Positions counted from 1: r[k] is at(k).
  const std::size_t L = r.size();
  auto at = [&](std::size_t k) { return r[k - 1]; };
  std::size_t p = 1;
  while (p < L && !Parmi(at(p), "+-0123456789")) ++p;
  std::size_t q = p + 1;
  while (q <= L && Parmi(at(q), "+-.0123456789Ee")) ++q;
  std::string N = r.substr(p - 1, q - p);
  // The character right after the number is passed over.
  std::size_t u = q + 1;
  while (u < L && !Parmi(at(u), debutsUnite)) ++u;
  std::size_t v = u + 1;
  while (v <= L && Parmi(at(v), "./CHOScghlms")) ++v;
  // A response that ends right after its number has no unit: factor 1.
  const char prefixe = u <= L ? at(u) : '\0';

  if (N.empty() || !Parmi(N[0], "+-0123456789")) return PasDeValeur;
  if (N.back() == '.') N += '0';
  double facteur = 1;
  switch (prefixe) {
    case 'm': facteur = 0.001; break;
    case '\xB5': facteur = 0.000001; break;
    case 'k': facteur = 1000; break;
    case 'M': facteur = 1000000; break;
    default: break;
  }
  std::string_view n = N;
  if (n.front() == '+') n.remove_prefix(1);
  double x = 0;
  const auto [fin, erreur] = std::from_chars(n.data(), n.data() + n.size(), x);
  if (erreur != std::errc() || fin != n.data() + n.size()) return PasDeValeur;
  return x * facteur;
}

TAppareilOrigalys::TAppareilOrigalys(const TEntreesOrigalys& dll, TDialogueUtilisateur& dialogue,
                                     std::int32_t identifiant, std::string chemin)
    : ident(identifiant), path(std::move(chemin)), dll_(dll) {
  const TBloc16 bloc = BlocVersBibliotheque(path);
  PointerApp = dll_.OpenComDll(ident, bloc.data());
  connecte = dll_.FindTheHIDDll(PointerApp) != 0;
  if (!connecte) dialogue.Erreur(IdentChemin(ident, path) + " non connecté");
}

TAppareilOrigalys::~TAppareilOrigalys() {
  if (connecte) dll_.CloseComDll(PointerApp);
}

std::string TAppareilOrigalys::GetStr(const std::string& commande) {
  if (!connecte) return {};
  const TBloc16 bloc = BlocVersBibliotheque(commande);
  dll_.SendCmdDll(PointerApp, bloc.data());
  return TexteDeBibliotheque(dll_.GetResponseDll(PointerApp));
}

double TAppareilOrigalys::GetValeur(const std::string& commande) {
  if (!connecte) return PasDeValeur;
  return ValeurReponseOrigalys(GetStr(commande));
}

TOrigalys::TOrigalys(std::unique_ptr<TBibliotheque> bibliotheque, TDialogueUtilisateur& dialogue)
    : bibliotheque_(std::move(bibliotheque)), dialogue_(dialogue) {
  charge_ = bibliotheque_ && dll_.Cherche(*bibliotheque_);
}

TOrigalys::~TOrigalys() { Libere(); }

void TOrigalys::Libere() {
  for (auto& a : Appareil) a.reset();
  NombreApp = 0;
}

void TOrigalys::Init() {
  if (!charge_) return;
  Libere();
  void* h = nullptr;
  try {
    h = dll_.OpenFirstComDll();
    dll_.EnumeHIDDll(h);
    const std::int32_t n = dll_.GetNumberDeviceDll(h);
    for (std::int32_t j = 0; j < n && j < NbreMaxi; ++j) {
      const std::int32_t ident = dll_.GetDeviceProdIdDll(h, j);
      const std::uint16_t* chemin = dll_.GetDevicePathDll(h, j);
      if (!chemin) throw std::runtime_error("Chemin de l'appareil " + std::to_string(j) + " absent");
      Appareil[static_cast<std::size_t>(j)] = std::make_unique<TAppareilOrigalys>(dll_, dialogue_, ident, TexteDeBibliotheque(chemin));
      NombreApp = j + 1;
    }
  } catch (const std::exception& e) {
    dialogue_.Erreur(std::string(e.what()) + " dans Origalys.Init");
  }
  // Closed also when the enumeration failed halfway.
  if (h) dll_.CloseComDll(h);
}

TAppareilOrigalys* TOrigalys::getAppareilIdent(std::int32_t identifiant) const {
  TAppareilOrigalys* trouve = nullptr;
  for (int j = 0; j < NombreApp; ++j)
    if (Appareil[static_cast<std::size_t>(j)]->ident == identifiant) trouve = Appareil[static_cast<std::size_t>(j)].get();
  return trouve;
}

TAppareilOrigalys* TOrigalys::Cherche(std::int32_t identifiant, const std::string& chemin) const {
  TAppareilOrigalys* trouve = nullptr;
  for (int j = 0; j < NombreApp; ++j) {
    TAppareilOrigalys* a = Appareil[static_cast<std::size_t>(j)].get();
    if (a->ident == identifiant && a->path == chemin) trouve = a;
  }
  return trouve;
}

TAppareilOrigalys* TOrigalys::getAppareilIdentPath(std::int32_t identifiant, const std::string& chemin) const {
  TAppareilOrigalys* a = Cherche(identifiant, chemin);
  if (!a) dialogue_.Erreur("Appareil " + IdentChemin(identifiant, chemin) + " non trouvé");
  return a;
}
