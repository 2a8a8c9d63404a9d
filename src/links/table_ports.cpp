// The COM port table: default rule, pins from the settings, environment override.
#include "links/table_ports.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace {
struct TFamille {
  std::string_view prefixe;
  int premierIndice;
  int nombre;
  int premierCom;
};
constexpr TFamille Familles[] = {
    {"/dev/ttyS", 0, 4, 1},
    {"/dev/ttyUSB", 0, 16, 5},
    {"/dev/ttyACM", 0, 16, 21},
    {"/dev/ttyS", 4, 14, 37},
};

// A decimal number without sign or leading zero; -1 otherwise.
int Entier(std::string_view texte) {
  if (texte.empty() || texte.size() > 4 || (texte.size() > 1 && texte[0] == '0')) return -1;
  int n = 0;
  for (char c : texte) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

std::string_view Epure(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\r' || t.back() == '\n'))
    t.remove_suffix(1);
  return t;
}
}  // namespace

TTablePorts::TTablePorts(TSeriePlateforme& serie, const TReglages* reglages, TLectureEnvironnement environnement)
    : serie_(serie), reglages_(reglages), environnement_(std::move(environnement)) {
  Actualise();
}

int TTablePorts::NumeroParDefaut(std::string_view chemin) {
  for (const TFamille& f : Familles) {
    if (chemin.substr(0, f.prefixe.size()) != f.prefixe) continue;
    const int i = Entier(chemin.substr(f.prefixe.size()));
    if (i >= f.premierIndice && i < f.premierIndice + f.nombre) return f.premierCom + i - f.premierIndice;
  }
  return 0;
}

int TTablePorts::NumeroDeNom(std::string_view nom) {
  nom = Epure(nom);
  if (nom.size() < 4) return 0;
  for (int i = 0; i < 3; ++i)
    if ((nom[i] & ~0x20) != "COM"[i]) return 0;
  const int n = Entier(nom.substr(3));
  return n >= 1 && n <= ComMaxi ? n : 0;
}

void TTablePorts::Actualise() {
  std::map<int, TEntreePort> table;
  anomalies_.clear();
  const std::optional<std::string> variable = environnement_ ? environnement_(Variable) : std::nullopt;
  if (variable) {
    std::string_view reste = *variable;
    while (!reste.empty()) {
      const std::size_t fin = std::min(reste.find(';'), reste.size());
      const std::string_view element = Epure(reste.substr(0, fin));
      reste.remove_prefix(std::min(fin + 1, reste.size()));
      if (element.empty()) continue;
      const std::size_t egal = element.find('=');
      const int com = egal == std::string_view::npos ? 0 : NumeroDeNom(element.substr(0, egal));
      const std::string_view chemin = egal == std::string_view::npos ? "" : Epure(element.substr(egal + 1));
      if (com == 0 || chemin.empty()) {
        anomalies_.push_back(std::string(Variable) + " : entrée ignorée « " + std::string(element) + " »");
        continue;
      }
      // The first entry stands: taking the last one silently would open another
      // device than the one the reader of the variable sees first.
      if (table.contains(com)) {
        anomalies_.push_back(std::string(Variable) + " : COM" + std::to_string(com) + " donné deux fois, « " +
                             std::string(element) + " » ignorée");
        continue;
      }
      table[com] = {com, std::string(chemin), TOriginePort::Environnement};
    }
  } else {
    for (const std::string& chemin : serie_.Peripheriques())
      if (int com = NumeroParDefaut(chemin)) table[com] = {com, chemin, TOriginePort::Defaut};
    if (reglages_) {
      for (const std::string& nom : reglages_->Noms(CleReglages)) {
        const int com = NumeroDeNom(nom);
        if (com == 0) {
          anomalies_.push_back(std::string("Réglage ignoré : ") + CleReglages + "\\" + nom);
          continue;
        }
        const std::string chemin(Epure(reglages_->LitTexte(CleReglages, nom, "")));
        std::erase_if(table, [&](const auto& e) { return e.second.origine == TOriginePort::Defaut && e.second.chemin == chemin; });
        if (chemin.empty()) table.erase(com);
        else table[com] = {com, chemin, TOriginePort::Reglages};
      }
    }
  }
  entrees_.clear();
  for (auto& [com, entree] : table) entrees_.push_back(std::move(entree));
}

std::optional<std::string> TTablePorts::Chemin(int com) const {
  for (const TEntreePort& e : entrees_)
    if (e.com == com) return e.chemin;
  return std::nullopt;
}

TPresence TTablePorts::Presence(int com) {
  const std::optional<std::string> chemin = Chemin(com);
  return chemin ? serie_.Sonde(*chemin) : TPresence::Absent;
}

bool ExistePort(TTablePorts& table, int n) { return table.Presence(n) != TPresence::Absent; }

std::optional<std::string> LectureEnvironnementSysteme(const std::string& nom) {
  if (const char* valeur = std::getenv(nom.c_str())) return std::string(valeur);
  return std::nullopt;
}
