// Simulator of the USB meters' library: meters that the enumeration finds, each
// answering "?measure pH", "?measure mV", "?measure t", "?measure Cd" with a reading
// that settles like a probe put in a solution. Configured by the file that
// PELITRAX_SIMULATEUR_USB names, or simulateur-usb.txt beside the library:
//   appareil IDENT CHEMIN [connecte|deconnecte]    a meter (the first line drops the defaults)
//   mesure CHEMIN GRANDEUR VALEUR [ECART [CONSTANTE_S]]   pH, mV, t or Cd (mS/cm)
//   reponse CHEMIN "COMMANDE" "TEXTE"              a fixed answer to a command
// Without configuration: one OPH218 (600, /dev/hidraw0) and one OCD218 (601,
// /dev/hidraw1), both connected.
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <type_traits>
#include <string>
#include <vector>

#include "configuration_simulateur.h"
#include "links/entrees_bibliotheques.h"
#include "links/texte16.h"

namespace {
struct TGrandeur {
  double valeur, ecart, constante;
  int decimales;
  std::string unite;  // 8-bit: '°' is B0
  std::string Texte(double t) const {
    return Fixe(valeur + ecart * std::exp(-t / constante), decimales) + " " + unite;
  }
};

TGrandeur GrandeurParDefaut(const std::string& nom) {
  if (nom == "pH") return {7.02, 0.40, 20, 2, "pH"};
  if (nom == "mV") return {-123.4, 25, 20, 1, "mV"};
  if (nom == "t") return {25.3, 0.8, 60, 1, "\xB0" "C"};
  return {1.413, 0.08, 15, 3, "mS/cm"};  // Cd
}

struct TMetre {
  std::int32_t ident = 0;
  std::string chemin;
  bool connecte = true;
  std::map<std::string, TGrandeur> grandeurs;   // "pH" ...
  std::map<std::string, std::string> reponses;  // command -> fixed answer
  TBloc16 reponse{};
};

struct TSimulateur {
  std::vector<std::unique_ptr<TMetre>> metres;
  std::vector<TBloc16> chemins;
  TMetre* Cherche(const std::string& chemin) {
    for (auto& m : metres)
      if (m->chemin == chemin) return m.get();
    return nullptr;
  }
};

void AjouteMetre(TSimulateur& s, std::int32_t ident, const std::string& chemin, bool connecte) {
  auto m = std::make_unique<TMetre>();
  m->ident = ident;
  m->chemin = chemin;
  m->connecte = connecte;
  for (const char* g : ident == 601 ? std::vector<const char*>{"Cd", "t"} : std::vector<const char*>{"pH", "mV", "t"})
    m->grandeurs[g] = GrandeurParDefaut(g);
  s.metres.push_back(std::move(m));
}

void Configure(TSimulateur& s, const std::string& texte) {
  bool defauts = true;
  for (const auto& l : LignesConfiguration(texte)) {
    if (l[0] == "appareil" && l.size() >= 3) {
      if (defauts) s.metres.clear();
      defauts = false;
      AjouteMetre(s, static_cast<std::int32_t>(Reel(l[1], 0)), l[2], l.size() < 4 || l[3] != "deconnecte");
    } else if (l[0] == "mesure" && l.size() >= 4) {
      if (TMetre* m = s.Cherche(l[1])) {
        TGrandeur g = GrandeurParDefaut(l[2]);
        g.valeur = Reel(l[3], g.valeur);
        if (l.size() > 4) g.ecart = Reel(l[4], g.ecart);
        if (l.size() > 5) g.constante = std::max(0.001, Reel(l[5], g.constante));
        m->grandeurs[l[2]] = g;
      }
    } else if (l[0] == "reponse" && l.size() >= 4) {
      if (TMetre* m = s.Cherche(l[1])) m->reponses[l[2]] = l[3];
    }
  }
}

TSimulateur& Simulateur() {
  static TSimulateur s = [] {
    TSimulateur t;
    AjouteMetre(t, 600, "/dev/hidraw0", true);
    AjouteMetre(t, 601, "/dev/hidraw1", true);
    Configure(t, TexteConfiguration("PELITRAX_SIMULATEUR_USB", "simulateur-usb.txt",
                                    reinterpret_cast<const void*>(&Simulateur)));
    SecondesDepuisChargement();
    return t;
  }();
  return s;
}

std::string Reponse(const TMetre& m, const std::string& commande) {
  if (auto r = m.reponses.find(commande); r != m.reponses.end()) return r->second;
  const std::string prefixe = "?measure ";
  if (commande.rfind(prefixe, 0) == 0) {
    auto g = m.grandeurs.find(commande.substr(prefixe.size()));
    return g == m.grandeurs.end() ? "nan" : g->second.Texte(SecondesDepuisChargement());
  }
  return "?";
}

// The meter of a handle; a handle is the meter object's address.
TMetre* Metre(void* h) {
  for (auto& m : Simulateur().metres)
    if (m.get() == h) return m.get();
  return nullptr;
}
}  // namespace

PELITRAX_EXPORTE void* OpenFirstComDll(void) { return &Simulateur(); }

PELITRAX_EXPORTE std::int32_t EnumeHIDDll(void* h) {
  TSimulateur& s = Simulateur();
  if (h != &s) return 0;
  s.chemins.clear();
  for (const auto& m : s.metres) s.chemins.push_back(BlocVersBibliotheque(m->chemin));
  return static_cast<std::int32_t>(s.metres.size());
}

PELITRAX_EXPORTE std::int32_t GetNumberDeviceDll(void* h) {
  return h == &Simulateur() ? static_cast<std::int32_t>(Simulateur().chemins.size()) : 0;
}

PELITRAX_EXPORTE std::int32_t GetDeviceProdIdDll(void* h, std::int32_t index) {
  TSimulateur& s = Simulateur();
  if (h != &s || index < 0 || index >= static_cast<std::int32_t>(s.metres.size())) return 0;
  return s.metres[static_cast<std::size_t>(index)]->ident;
}

PELITRAX_EXPORTE const std::uint16_t* GetDevicePathDll(void* h, std::int32_t index) {
  TSimulateur& s = Simulateur();
  if (h != &s || index < 0 || index >= static_cast<std::int32_t>(s.chemins.size())) return nullptr;
  return s.chemins[static_cast<std::size_t>(index)].data();
}

PELITRAX_EXPORTE void* OpenComDll(std::int32_t ident, const std::uint16_t* chemin) {
  TMetre* m = Simulateur().Cherche(TexteDeBibliotheque(chemin));
  return m && m->ident == ident ? m : nullptr;
}

PELITRAX_EXPORTE std::uint8_t FindTheHIDDll(void* h) {
  const TMetre* m = Metre(h);
  return m && m->connecte ? 1 : 0;
}

PELITRAX_EXPORTE std::int32_t SendCmdDll(void* h, const std::uint16_t* commande) {
  TMetre* m = Metre(h);
  if (!m || !m->connecte) return 0;
  const std::string texte = Reponse(*m, TexteDeBibliotheque(commande));
  // The whole answer, even past what the program reads: a long one is the program's to cut.
  m->reponse = BlocVersBibliotheque(texte);
  return 1;
}

PELITRAX_EXPORTE const std::uint16_t* GetResponseDll(void* h) {
  TMetre* m = Metre(h);
  return m ? m->reponse.data() : nullptr;
}

PELITRAX_EXPORTE std::int32_t CloseComDll(void*) { return 1; }

// The signatures are the program's: a mismatch fails here, not in a user's hands.
static_assert(std::is_same_v<decltype(&OpenFirstComDll), TOpenFirstComDll>);
static_assert(std::is_same_v<decltype(&EnumeHIDDll), TEnumeHIDDll>);
static_assert(std::is_same_v<decltype(&GetNumberDeviceDll), TGetNumberDeviceDll>);
static_assert(std::is_same_v<decltype(&GetDeviceProdIdDll), TGetDeviceProdIdDll>);
static_assert(std::is_same_v<decltype(&GetDevicePathDll), TGetDevicePathDll>);
static_assert(std::is_same_v<decltype(&OpenComDll), TOpenComDll>);
static_assert(std::is_same_v<decltype(&FindTheHIDDll), TFindTheHIDDll>);
static_assert(std::is_same_v<decltype(&SendCmdDll), TSendCmdDll>);
static_assert(std::is_same_v<decltype(&GetResponseDll), TGetResponseDll>);
static_assert(std::is_same_v<decltype(&CloseComDll), TCloseComDll>);
