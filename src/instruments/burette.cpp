// The burette: its section of the device file, its command dialogue and the choice
// of the next addition.
#include "instruments/burette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <limits>

#include "instruments/voie_appareil.h"
#include "platform/boucle.h"
#include "util/durees.h"
#include "util/ini.h"
#include "util/nombres.h"
#include "util/ticks.h"

namespace {

const char* const Section = "BuretteRS232";
const char* const MessageSansVoie = "Voie série non initialisée";
const char* const MessageNonTrouvee = "Burette Schott Titronic non trouvée";
const char* const MessageOccupee = "Burette occupée (busy) ?";
const char* const MessageNonInitialisee = "Burette non initialisée";
const char* const MessageSansReponse = "Pas de réponse de la burette";

// The reader turns "nan" and the like into numbers; a setting must be a real one.
double Borne(double v, double mini, double maxi, double defaut) {
  if (!std::isfinite(v)) v = defaut;
  return std::clamp(v, mini, maxi);
}

bool Contient(const std::string& texte, const std::string& motif) { return texte.find(motif) != std::string::npos; }

// The capacity written after the first ':' of the answer (two characters): a whole
// number of mL, or nothing.
std::int32_t Capacite(const std::string& reponse) {
  const auto deuxPoints = reponse.find(':');
  if (deuxPoints == std::string::npos) return -1;
  std::string t = reponse.substr(deuxPoints + 1, 2);
  while (!t.empty() && t.front() == ' ') t.erase(t.begin());
  while (!t.empty() && t.back() == ' ') t.pop_back();
  if (t.empty() || !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; })) return 0;
  return std::stoi(t);
}

bool EstChiffreOuPoint(char c) { return c == '.' || (c >= '0' && c <= '9'); }

// Restores the line's reception and the dialogue flag whatever way lit ends.
class TGardeDialogue {
public:
  TGardeDialogue(TVoieAppareil& voie, bool& busy) : voie_(voie), busy_(busy) {
    voie_.SuspendReception();
    busy_ = true;
  }
  ~TGardeDialogue() {
    try {
      voie_.ReprendReception();
    } catch (...) {
      // The line is gone; there is no reception left to put back.
    }
    busy_ = false;
  }
  TGardeDialogue(const TGardeDialogue&) = delete;
  TGardeDialogue& operator=(const TGardeDialogue&) = delete;

private:
  TVoieAppareil& voie_;
  bool& busy_;
};

// Least-squares cubic V = b0 + b1 u + b2 u² + b3 u³ in the reduced variable u; false
// when the normal equations have no usable solution.
bool AjusteCubique(const double* u, const double* v, int n, std::array<double, 4>& b) {
  std::array<double, 7> sx{};
  std::array<double, 4> sxv{};
  for (int i = 0; i < n; ++i) {
    double p = 1;
    for (int k = 0; k <= 6; ++k) {
      sx[k] += p;
      if (k <= 3) sxv[k] += v[i] * p;
      p *= u[i];
    }
  }
  double m[4][5];
  double echelle = 0;
  for (int l = 0; l < 4; ++l) {
    for (int c = 0; c < 4; ++c) {
      m[l][c] = sx[l + c];
      echelle = std::max(echelle, std::fabs(m[l][c]));
    }
    m[l][4] = sxv[l];
  }
  // Gaussian elimination with partial pivoting. A pivot that is nothing next to the
  // matrix's own size means points that fix no cubic (fewer than four distinct X):
  // rounding would otherwise turn an exact zero into a huge coefficient.
  const double seuil = std::max(1e-100, echelle * 1e-12);
  for (int c = 0; c < 4; ++c) {
    int pivot = c;
    for (int l = c + 1; l < 4; ++l)
      if (std::fabs(m[l][c]) > std::fabs(m[pivot][c])) pivot = l;
    if (!(std::fabs(m[pivot][c]) > seuil)) return false;
    if (pivot != c)
      for (int k = 0; k < 5; ++k) std::swap(m[c][k], m[pivot][k]);
    for (int l = c + 1; l < 4; ++l) {
      const double f = m[l][c] / m[c][c];
      for (int k = c; k < 5; ++k) m[l][k] -= f * m[c][k];
    }
  }
  for (int l = 3; l >= 0; --l) {
    double s = m[l][4];
    for (int k = l + 1; k < 4; ++k) s -= m[l][k] * b[k];
    b[l] = s / m[l][l];
  }
  return std::all_of(b.begin(), b.end(), [](double x) { return std::isfinite(x); });
}

}  // namespace

TburetteRS232::TburetteRS232(TBoucleEvenements& boucle) : boucle_(boucle) {
  nomGrandeur = "Volume du titrant";
  SymboleGrandeur = "V";
  UniteGrandeur = "mL";
  NomAppareil = "Burette";
  ValMini = 0;
  ValMaxi = 20;
  ComNumber = 1;
  Baud = 4800;
  Parite = pNone;
  DataBits = 7;
  StopBits = 2;
  RTSCTS = false;
  XonXoff = false;
  Demande = "01V=";
  DemandeBis.clear();
  Precision = 5;
  EnvoiDirect = true;
  FormatFixe = false;
  DebutNombre = 5;
  NbreCarac = 1;
  Delai = 250;
  Attente = 250;
  NumeroOrdre = 1;
  NbreLignes = 1;
  VoieSerie = nullptr;
}

void TburetteRS232::LitIni(const std::string& Anom, const TFichierIni& Ini) {
  Tappareil::LitIni(Anom, Ini);
  const std::string& s = Anom;
  ValMaxi = Ini.LitReel(s, "Maxi", 20);
  if (!std::isfinite(ValMaxi)) ValMaxi = 20;
  ValMini = 0;
  VolumeMax = Borne(Ini.LitReel(s, "dVMax", 1), 0.1, 1, 1);
  VolumeMin = Borne(Ini.LitReel(s, "dVMin", 0.01), 0.01, 0.1, 0.01);
  DeltatMax = static_cast<std::int32_t>(std::clamp<std::int64_t>(Ini.LitEntier(s, "dtMax", 5), 5, 60));
  SymboleGrandeur = Ini.LitTexte(s, "Symbole", "v");
  ecartSensible = Ini.LitReel(s, "sensibilite", 0.01);
  ecartStable = Ini.LitReel(s, "stabilite", 0.01);
  OrdonneBornes(VolumeMin, VolumeMax);
  FormatFixe = false;
  EnvoiDirect = true;
  NbreLignes = 1;
  Demande = "01V=";
  FiltrageDepassement = false;
}

void TburetteRS232::EcritIni(TFichierIni& Ini) const {
  Tappareil::EcritIni(Ini);
  const std::string& s = NomAppareil;
  Ini.EcritReel(s, "Mini", 0);
  Ini.EcritReel(s, "Maxi", ValMaxi);
  Ini.EcritReel(s, "dVMax", VolumeMax);
  Ini.EcritReel(s, "dVMin", VolumeMin);
  Ini.EcritEntier(s, "dtMax", DeltatMax);
  Ini.EcritReel(s, "sensibilite", ecartSensible);
  Ini.EcritReel(s, "stabilite", ecartStable);
}

void TburetteRS232::Attend(std::int64_t ms) {
  const std::int64_t fin = boucle_.Millisecondes() + ms;
  while (boucle_.Millisecondes() < fin && !boucle_.QuitteDemande()) {
    const std::int64_t reste = fin - boucle_.Millisecondes();
    boucle_.TraiteEvenements(static_cast<int>(std::clamp<std::int64_t>(reste, 1, 100)));
  }
}

std::string TburetteRS232::lit(const std::string& ordre, int timeOut) {
  std::string reponse;
  if (VoieSerie == nullptr || busy) return reponse;
  TVoieAppareil& voie = *VoieSerie;
  try {
    TGardeDialogue garde(voie, busy);
    voie.FlushInBuffer();
    voie.PutString(prefixe + ordre + "\r\n");
    TTempo tempo;
    DemarreTempo(boucle_, tempo, timeOut);
    // The first instant at which the timer counts as expired.
    const std::int64_t finMs = (tempo.expiration + 1) * MillisecondesParTick;
    int finsDeLigne = 0;
    while (finsDeLigne < 2 && !TempoEcoulee(boucle_, tempo) && !boucle_.QuitteDemande()) {
      if (voie.CharReady()) {
        const char c = voie.GetChar();
        if (static_cast<unsigned char>(c) >= 32) {
          reponse += c;
        } else if ((c == '\r' || c == '\n') && reponse.size() >= 3) {
          ++finsDeLigne;
        }
      } else {
        const std::int64_t reste = finMs - boucle_.Millisecondes();
        boucle_.TraiteEvenements(static_cast<int>(std::clamp<std::int64_t>(reste, 1, MillisecondesParTick)));
      }
    }
  } catch (const std::exception& e) {
    erreurDialogue = e.what();
  }
  return reponse;
}

bool TburetteRS232::ecrit(const std::string& ordre, int timeOut) {
  // The acknowledgement carries the address the command was sent to.
  const std::string accuse = prefixe + "Y";
  return Contient(lit(ordre, timeOut), accuse);
}

bool TburetteRS232::initBurette() {
  busy = false;
  initialisee_ = false;
  erreurDialogue.clear();
  if (VoieSerie == nullptr) {
    erreurInit = MessageSansVoie;
    return false;
  }
  prefixe = "01";
  identification = lit("RH", 4);
  if (Contient(identification, "ERROR") || busy || identification.empty()) {
    Attend(500);
    identification = lit("RH", 4);
  }
  if (!Contient(identification, "T")) {
    erreurInit = MessageNonTrouvee;
    return false;
  }
  if (Contient(identification, "universal")) {
    // Address 01 given through the address every burette listens to.
    prefixe = "99";
    ecrit("AA01", 18);
    prefixe = "01";
  }
  const std::string capacite = lit("RA", 4);
  if (const std::int32_t mL = Capacite(capacite); mL >= 0) ValMaxi = mL > 0 ? mL : 20;
  ValeurCourante = 0;
  ecrit("GDM10,0", 6);
  vitesseVerse = 10;
  ecrit("MO2", 6);
  volumeVerse = 0;
  lecturesSansReponse_ = 0;
  erreurInit = busy ? MessageOccupee : "";
  initialisee_ = true;
  return true;
}

bool TburetteRS232::reset() {
  erreurDialogue.clear();
  if (VoieSerie == nullptr) {
    erreurDialogue = MessageSansVoie;
    return false;
  }
  TTempo tempo;
  DemarreTempo(boucle_, tempo, 1080);
  // The refill's acknowledgement may come late or not at all: only "READY" counts.
  ecrit("BF", 9);
  bool pret = false;
  do {
    Attend(1);
    pret = Contient(lit("RS", 4), "READY");
  } while (!pret && !TempoEcoulee(boucle_, tempo) && !boucle_.QuitteDemande());
  ecrit("BN", 9);
  ValeurCourante = 0;
  volumeVerse = 0;
  lecturesSansReponse_ = 0;
  if (!pret && erreurDialogue.empty()) erreurDialogue = MessageSansReponse;
  return pret;
}

double TburetteRS232::volume() {
  const double resultat = volumeVerse;
  // A reading refused because another dialogue runs says nothing of the burette.
  const bool possible = VoieSerie != nullptr && !busy;
  const std::string r = lit("VO", 4);
  if (possible) {
    lecturesSansReponse_ = r.empty() ? lecturesSansReponse_ + 1 : 0;
    if (Muette() && erreurDialogue.empty()) erreurDialogue = MessageSansReponse;
  }
  const auto v = r.find("V=");
  if (v == std::string::npos) return resultat;
  std::size_t p = v + 2;
  while (p < r.size() && !EstChiffreOuPoint(r[p])) ++p;
  if (p == r.size()) return resultat;
  std::size_t q = p + 1;
  while (q < r.size() && EstChiffreOuPoint(r[q])) ++q;
  return LitNombre(r.substr(p, q - p));
}

bool TburetteRS232::verse(double dv) {
  erreurDialogue.clear();
  // Without an initialised burette the speed is unknown (0 would mean an endless
  // wait) and nobody has checked that a burette is there at all.
  if (!initialisee_ || vitesseVerse <= 0 || VoieSerie == nullptr) {
    erreurDialogue = erreurInit.empty() ? MessageNonInitialisee : erreurInit;
    return false;
  }
  if (std::isnan(dv)) dv = VolumeMin;
  dv = std::max(VolumeMin, std::min(dv, VolumeMax));
  // Never more than the burette still holds: it would refuse the whole addition.
  if (ValMaxi > ValeurCourante) dv = std::min(dv, std::max(VolumeMin, ValMaxi - ValeurCourante));
  if (VolumeMin > 0) {
    // Whole smallest additions; the tolerance keeps 0.3 / 0.1 = 2.9999999999999996
    // at three of them.
    dv = std::floor(dv / VolumeMin + 1e-9) * VolumeMin;
  }
  // What the burette is told, to two decimals, is what it dispenses.
  const std::string texte = FormatFixePoint(dv, 4, 2);
  const double envoye = LitNombre(texte);
  // The acknowledgement is not waited for: a burette that gives it late dispenses
  // all the same, and one that fell silent shows in its volume readings.
  ecrit("DA" + texte, 6);
  // A line that failed took no command at all.
  if (!erreurDialogue.empty()) return false;
  deltatVerse = envoye * 60 / vitesseVerse;
  volumeVerse = ValeurCourante + envoye;
  Attend(static_cast<std::int64_t>(std::ceil(deltatVerse * 1000 - 1e-6)));
  tVerse = boucle_.DateHeure();
  return true;
}

bool TburetteRS232::delaiMaxEcoule() const {
  return std::floor(EcartEnSecondes(boucle_.DateHeure(), tVerse)) > DeltatMax;
}

bool TburetteRS232::delaiMinEcoule() const {
  return std::floor(EcartEnSecondes(boucle_.DateHeure(), tVerse)) > DeltatMin;
}

double TburetteRS232::deltaY(const vecteur& X, const vecteur& Y, int N) const {
  constexpr double Rien = std::numeric_limits<double>::quiet_NaN();
  if (N <= 6 || N > static_cast<int>(X.size())) return Rien;
  // The last eight points, or all of them when there are only seven.
  const int n = std::min(N, 8);
  const int debut = N - n;
  // The fit runs on X centred and scaled to about -1..1: raw pH values put x^6 near
  // 1e6 and the normal equations would lose most of their digits.
  double mini = X[debut], maxi = X[debut];
  for (int i = debut; i < N; ++i) {
    mini = std::min(mini, X[i]);
    maxi = std::max(maxi, X[i]);
  }
  const double centre = (mini + maxi) / 2;
  const double demiEtendue = (maxi - mini) / 2;
  if (!(demiEtendue > 0) || !std::isfinite(demiEtendue)) return Rien;
  std::array<double, 8> u{}, v{};
  for (int i = 0; i < n; ++i) {
    u[i] = (X[debut + i] - centre) / demiEtendue;
    v[i] = Y[debut + i];
  }
  std::array<double, 4> b{};
  if (!AjusteCubique(u.data(), v.data(), n, b)) return Rien;
  const double eps = ecartSensible;
  const double us = (X[N - 1] + eps - centre) / demiEtendue;
  const double derivee = (b[1] + 2 * b[2] * us + 3 * b[3] * us * us) / demiEtendue;
  const double seconde = (2 * b[2] + 6 * b[3] * us) / (demiEtendue * demiEtendue);
  const double A = std::fabs(4 * eps * eps * seconde);
  const double B = std::fabs(eps * derivee);
  if (!std::isfinite(A) || !std::isfinite(B)) return Rien;
  return A <= B ? A : B;
}
