// Not a benchmark: the summary of scripts/bench. Reads the JSON results of the other
// benchmark programs in a folder and prints one table, each figure with its goal and
// whether it is met; the same table is written as JSON.
//   bench_resume DOSSIER_DES_RESULTATS FICHIER_DU_TABLEAU.json
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "util/fichiers.h"

namespace {

// One benchmark's entry, by its name without the run options Google Benchmark
// appends ("/iterations:1", "/min_time:0.100", "/real_time", "/manual_time").
std::map<std::string, QJsonObject> Resultats;
QJsonObject Contexte;
std::vector<std::string> Problemes;

std::string NomDeBase(const QString& nom) {
  QStringList parties = nom.split('/');
  QStringList gardees;
  for (const QString& p : parties)
    if (!p.startsWith("iterations:") && !p.startsWith("min_time:") && !p.startsWith("min_warmup_time:") &&
        p != "real_time" && p != "manual_time")
      gardees << p;
  return gardees.join('/').toStdString();
}

void LitFichier(const QString& chemin) {
  QFile f(chemin);
  if (!f.open(QIODevice::ReadOnly)) {
    Problemes.push_back("illisible : " + chemin.toStdString());
    return;
  }
  // A counter with no sample is written as nan or inf, which JSON lacks.
  QString texte = QString::fromUtf8(f.readAll());
  texte.replace(QRegularExpression(R"((:\s*)-?(nan|inf)\b)"), "\\1null");
  QJsonParseError erreur{};
  const QJsonDocument doc = QJsonDocument::fromJson(texte.toUtf8(), &erreur);
  if (doc.isNull()) {
    Problemes.push_back("JSON invalide : " + chemin.toStdString() + " (" + erreur.errorString().toStdString() + ")");
    return;
  }
  if (Contexte.isEmpty()) Contexte = doc.object().value("context").toObject();
  for (const QJsonValue& v : doc.object().value("benchmarks").toArray()) {
    const QJsonObject o = v.toObject();
    if (o.value("run_type").toString() == "aggregate") continue;
    Resultats[NomDeBase(o.value("name").toString())] = o;
  }
}

// A time field in milliseconds, whatever the unit the benchmark chose.
std::optional<double> TempsMs(const QJsonObject& o, const char* champ) {
  if (!o.contains(champ) || o.value(champ).isNull()) return std::nullopt;
  const double v = o.value(champ).toDouble();
  const QString u = o.value("time_unit").toString();
  if (u == "ns") return v / 1e6;
  if (u == "us") return v / 1e3;
  if (u == "s") return v * 1e3;
  return v;
}

std::optional<double> Champ(const QJsonObject& o, const char* champ) {
  if (!o.contains(champ) || o.value(champ).isNull()) return std::nullopt;
  return o.value(champ).toDouble();
}

enum class TSens { Aucun, Maximum, AuPlus, Minimum };  // below / at most / at least the goal

struct TLigne {
  std::string mesure;
  std::optional<double> valeur;
  std::string unite;
  int decimales = 2;
  TSens sens = TSens::Aucun;
  double cible = 0;
  std::string remarque;  // an error, or what the figure is made of
};

std::vector<TLigne> Lignes;

// The entry, or nothing with the reason in `remarque` (absent, or its error).
const QJsonObject* Entree(const std::string& nom, std::string& remarque) {
  const auto i = Resultats.find(nom);
  if (i == Resultats.end()) {
    remarque = "absent des résultats";
    return nullptr;
  }
  if (i->second.value("error_occurred").toBool()) {
    remarque = "erreur : " + i->second.value("error_message").toString().toStdString();
    return nullptr;
  }
  return &i->second;
}

void Ajoute(std::string mesure, const std::string& nom, const std::function<std::optional<double>(const QJsonObject&)>& lire,
            std::string unite, int decimales, TSens sens = TSens::Aucun, double cible = 0) {
  TLigne l{std::move(mesure), std::nullopt, std::move(unite), decimales, sens, cible, {}};
  if (const QJsonObject* o = Entree(nom, l.remarque)) l.valeur = lire(*o);
  Lignes.push_back(std::move(l));
}

auto Compteur(const char* nom) {
  return [nom](const QJsonObject& o) { return Champ(o, nom); };
}
auto Temps() {
  return [](const QJsonObject& o) { return TempsMs(o, "real_time"); };
}

std::string Nombre(double v, int decimales) {
  char s[64];
  std::snprintf(s, sizeof s, "%.*f", decimales, v);
  // Thousands apart, for rates in the millions.
  const std::string t = s;
  const std::size_t debut = t[0] == '-' ? 1 : 0;
  const std::size_t fin = std::min(t.find('.'), t.size());
  std::string r = t.substr(0, debut);
  for (std::size_t i = debut; i < fin; ++i) {
    if (i > debut && (fin - i) % 3 == 0) r += ' ';
    r += t[i];
  }
  return r + t.substr(fin);
}

std::optional<bool> Atteinte(const TLigne& l) {
  if (l.sens == TSens::Aucun || !l.valeur || std::isnan(*l.valeur)) return std::nullopt;
  if (l.sens == TSens::Maximum) return *l.valeur < l.cible;
  if (l.sens == TSens::AuPlus) return *l.valeur <= l.cible;
  return *l.valeur >= l.cible;
}

std::string TexteCible(const TLigne& l) {
  if (l.sens == TSens::Aucun) return "";
  return std::string(l.sens == TSens::Maximum ? "< " : l.sens == TSens::AuPlus ? "≤ " : ">= ") + Nombre(l.cible, l.cible < 10 && l.cible != std::floor(l.cible) ? 1 : 0) +
         (l.unite.empty() ? "" : " " + l.unite);
}

std::size_t Largeur(const std::string& s) {
  std::size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

std::string Complete(const std::string& s, std::size_t largeur, bool aDroite = false) {
  const std::size_t n = Largeur(s);
  const std::string blancs(n < largeur ? largeur - n : 0, ' ');
  return aDroite ? blancs + s : s + blancs;
}

void Construit() {
  // Decoding: all layouts in turn, then each layout of the decoder's fixture table.
  Ajoute("Décodage, les 22 dispositions en alternance", "Decodage/toutes", Compteur("items_per_second"), "trames/s", 0,
         TSens::Minimum, 1e6);
  std::string plusLente;
  double minimum = INFINITY;
  for (const auto& [nom, o] : Resultats)
    if (nom.rfind("Decodage/", 0) == 0 && nom != "Decodage/toutes" && !o.value("error_occurred").toBool()) {
      const double v = o.value("items_per_second").toDouble();
      if (v < minimum) {
        minimum = v;
        plusLente = nom;
      }
    }
  if (!plusLente.empty())
    Ajoute("Décodage, disposition la plus lente (" + plusLente.substr(9) + ")", plusLente, Compteur("items_per_second"),
           "trames/s", 0, TSens::Minimum, 1e6);
  for (const auto& [nom, o] : Resultats)
    if (nom.rfind("Decodage/", 0) == 0 && nom != "Decodage/toutes")
      Ajoute("  décodage " + nom.substr(9), nom, Compteur("items_per_second"), "trames/s", 0);

  // Polling over pseudo-terminals, beside the bare reader's floor.
  const std::string s = "ScrutationPty";
  Ajoute("Cycle de scrutation de 9 voies (médiane)", s, Compteur("cycle_ms"), "ms", 2);
  Ajoute("  dont temps de ligne des octets à 9600 bauds", s, Compteur("temps_ligne_ms"), "ms", 2);
  Ajoute("Cycle au-delà du temps de ligne", s, Compteur("cycle_au_dela_ligne_ms"), "ms", 2, TSens::Maximum, 2);
  Ajoute("  plancher (lecteur QSerialPort nu) au-delà du temps de ligne", s, Compteur("cycle_plancher_au_dela_ligne_ms"),
         "ms", 2);
  Ajoute("  coût propre du programme (cycle moins plancher)", s, Compteur("cycle_au_dela_plancher_ms"), "ms", 2);
  Ajoute("Latence trame -> modèle de vue, médiane", s, Compteur("latence_mediane_ms"), "ms", 3, TSens::Maximum, 1);
  Ajoute("  plancher, médiane", s, Compteur("latence_plancher_mediane_ms"), "ms", 3);
  Ajoute("Latence médiane rapportée au plancher", s, Compteur("latence_rapport_plancher"), "x", 2, TSens::Maximum, 3);
  Ajoute("Latence trame -> modèle de vue, 99e centile", s, Compteur("latence_p99_ms"), "ms", 3, TSens::Maximum, 5);
  Ajoute("  plancher, 99e centile", s, Compteur("latence_plancher_p99_ms"), "ms", 3);
  Ajoute("  trames mesurées (programme)", s, Compteur("trames"), "", 0);
  Ajoute("  échecs (cycles incomplets, trames sans envoi)", s, Compteur("echecs"), "", 0);

  // The same cycles on tools/banc's bench, which paces bytes on whole milliseconds.
  const std::string m = "ScrutationPtyBancMilliseconde";
  Ajoute("Avec TBancPty (octets cadencés à la ms) : cycle au-delà du temps de ligne", m,
         Compteur("cycle_au_dela_ligne_ms"), "ms", 2);
  Ajoute("  plancher au-delà du temps de ligne", m, Compteur("cycle_plancher_au_dela_ligne_ms"), "ms", 2);
  Ajoute("  coût propre du programme (cycle moins plancher)", m, Compteur("cycle_au_dela_plancher_ms"), "ms", 2);

  // The full repaint.
  const char* repaints[][2] = {{"Repaint 9 x 2048 points 1280x800, bruitées, lignes", "RepaintComplet/donnees:0/lignes:1"},
                               {"Repaint 9 x 2048 points 1280x800, lisses, lignes", "RepaintComplet/donnees:1/lignes:1"},
                               {"Repaint 9 x 2048 points 1280x800, bruitées, points", "RepaintComplet/donnees:0/lignes:0"},
                               {"Repaint 9 x 2048 points 1280x800, lisses, points", "RepaintComplet/donnees:1/lignes:0"}};
  for (const auto& r : repaints) Ajoute(r[0], r[1], Temps(), "ms", 2, TSens::Maximum, 8);
  Ajoute("  référence : polylignes antialiasées de 2 px (non retenues)", "ReferencePolylignesAntialiasees", Temps(), "ms",
         1);
  Ajoute("  point enregistré sur 9 voies", "PointEnregistre", Temps(), "ms", 4);
  Ajoute("  déplacement des 9 curseurs", "DeplacementCurseurs", Temps(), "ms", 4);

  // Start-up.
  Ajoute("Démarrage jusqu'à prêt, 500 modèles (séquence + moteur)", "DemarrageEnProcessus", Temps(), "ms", 1,
         TSens::Maximum, 200);
  Ajoute("  dont séquence de démarrage (base des appareils)", "DemarrageEnProcessus", Compteur("sequence_ms"), "ms", 1);
  Ajoute("  dont table des ports et moteur (FormCreate)", "DemarrageEnProcessus", Compteur("moteur_ms"), "ms", 1);
  Ajoute("Démarrage du programme entier (pelitrax-cli demarrage)", "DemarrageProcessusComplet", Temps(), "ms", 1,
         TSens::Maximum, 200);

  // The device file, at start-up size and far beyond.
  Ajoute("Chargement de la base des appareils, 500 modèles", "ChargementBase/500", Temps(), "ms", 1);
  Ajoute("Chargement de la base des appareils, 10 000 modèles", "ChargementBase/10000", Temps(), "ms", 1,
         TSens::Maximum, 1000);
  Ajoute("  pointe mémoire du processus après 10 000 modèles", "ChargementBase/10000", Compteur("pointe_rss_Mo"), "Mo",
         1);

  // Memory.
  Ajoute("Pointe mémoire de pelitrax-cli acquire, 9 voies, 9 points", "PelitraxCliAcquire", Compteur("pointe_rss_Mo"),
         "Mo", 1, TSens::Maximum, 30);
  Ajoute("Moteur seul, tas avec la table pleine 2048 x 9", "AcquisitionSimulee2048", Compteur("tas_table_pleine_Mo"),
         "Mo", 2);
  Ajoute("  dont croissance de 0 à 2048 points", "AcquisitionSimulee2048", Compteur("croissance_2048_points_Mo"), "Mo",
         2);
  Ajoute("  croissance de la pointe du processus", "AcquisitionSimulee2048", Compteur("pointe_rss_croissance_Mo"), "Mo",
         2);
  // The short run plus all the engine's own peak growth over 2048 points (its ready
  // state included, which the short run already holds): an upper bound of the full
  // headless run.
  TLigne estimation{"Pointe majorée d'un run sans fenêtre de 2048 points", std::nullopt, "Mo", 1, TSens::Maximum, 30, {}};
  std::string r1, r2;
  const QJsonObject* court = Entree("PelitraxCliAcquire", r1);
  const QJsonObject* plein = Entree("AcquisitionSimulee2048", r2);
  if (court && plein) {
    const auto a = Champ(*court, "pointe_rss_Mo");
    const auto b = Champ(*plein, "pointe_rss_croissance_Mo");
    if (a && b) estimation.valeur = *a + *b;
    estimation.remarque = "pointe du run court + croissance de la pointe du moteur seul sur 2048 points";
  } else {
    estimation.remarque = r1.empty() ? r2 : r1;
  }
  Lignes.push_back(estimation);

  // Sleep between events: the headless program beside a bare poller, one run each on
  // the same nine instruments.
  const std::string v = "Veille";
  Ajoute("Veille 30 s : processeur de pelitrax-cli acquire", v, Compteur("processeur_s"), "s", 3);
  Ajoute("  lecteur QSerialPort nu, même cycle", v, Compteur("processeur_nu_s"), "s", 3);
  Ajoute("Processeur rapporté au lecteur nu", v, Compteur("processeur_rapport"), "x", 2, TSens::AuPlus, 1.5);
  Ajoute("Réveils (commutations volontaires)", v, Compteur("reveils_par_s"), "/s", 1);
  Ajoute("  lecteur nu : ceux des données", v, Compteur("reveils_nu_par_s"), "/s", 1);
  Ajoute("Réveils au-delà de ceux des données", v, Compteur("reveils_au_dela_donnees_par_s"), "/s", 2, TSens::AuPlus, 2);
  Ajoute("En régime (5 à 25 s) : processeur par seconde", v, Compteur("regime_processeur_ms_par_s"), "ms/s", 2);
  Ajoute("  lecteur nu", v, Compteur("regime_processeur_nu_ms_par_s"), "ms/s", 2);
  Ajoute("En régime : processeur rapporté au lecteur nu", v, Compteur("regime_processeur_rapport"), "x", 2,
         TSens::AuPlus, 1.5);
  Ajoute("En régime : réveils", v, Compteur("regime_reveils_par_s"), "/s", 1);
  Ajoute("  lecteur nu", v, Compteur("regime_reveils_nu_par_s"), "/s", 1);
  Ajoute("En régime : réveils au-delà de ceux des données", v, Compteur("regime_reveils_au_dela_donnees_par_s"), "/s",
         2, TSens::AuPlus, 2);
  Ajoute("Retournement d'une voie (réponse -> requête suivante), médiane", v, Compteur("retournement_median_us"), "µs",
         0);
  Ajoute("  lecteur nu, médiane", v, Compteur("retournement_nu_median_us"), "µs", 0);
  Ajoute("Retournement rapporté au lecteur nu", v, Compteur("retournement_rapport"), "x", 2, TSens::AuPlus, 1.3);
  Ajoute("Du lancement à la première requête", v, Compteur("premiere_requete_ms"), "ms", 1, TSens::Maximum, 100);
  Ajoute("  lecteur nu", v, Compteur("premiere_requete_nu_ms"), "ms", 1);

  // Soak: 9 channels at the shortest interval.
  const std::string e = "Endurance";
  Ajoute("Endurance 9 voies à 1 s : plus grand écart entre deux scrutations", e, Compteur("ecart_max_scrutations_ms"),
         "ms", 1, TSens::AuPlus, 1500);
  Ajoute("  écart médian", e, Compteur("ecart_median_scrutations_ms"), "ms", 1);
  Ajoute("  points demandés (2048 : run complet de 34 min)", e, Compteur("points_demandes"), "", 0);
  Ajoute("  scrutations par voie vues par le banc", e, Compteur("scrutations_par_voie"), "", 0);
  Ajoute("Endurance : pointe mémoire de pelitrax-cli acquire", e, Compteur("pointe_rss_Mo"), "Mo", 1);
  Ajoute("  croissance en régime (après 10 s), par point", e, Compteur("croissance_rss_ko_par_point"), "Ko", 2);
  Ajoute("Endurance : pointe portée à 2048 points", e, Compteur("pointe_extrapolee_2048_Mo"), "Mo", 1,
         TSens::Maximum, 30);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Usage : bench_resume DOSSIER_DES_RESULTATS FICHIER_DU_TABLEAU.json\n");
    return 2;
  }
  const QString sortie = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
  const QDir dossier(QString::fromLocal8Bit(argv[1]));
  for (const QFileInfo& f : dossier.entryInfoList({"bench_*.json"}, QDir::Files, QDir::Name))
    if (f.absoluteFilePath() != sortie) LitFichier(f.absoluteFilePath());
  Construit();

  std::vector<std::array<std::string, 4>> cellules;
  cellules.push_back({"Mesure", "Valeur", "Cible", "Atteinte"});
  int atteintes = 0, visees = 0;
  QJsonArray lignesJson;
  for (const TLigne& l : Lignes) {
    const auto a = Atteinte(l);
    std::string valeur = l.valeur ? Nombre(*l.valeur, l.decimales) + (l.unite.empty() ? "" : " " + l.unite) : "—";
    std::string verdict = a ? (*a ? "oui" : "NON") : (l.sens == TSens::Aucun ? "" : "?");
    if (l.sens != TSens::Aucun) {
      ++visees;
      if (a && *a) ++atteintes;
    }
    if (!l.remarque.empty() && !l.valeur) verdict += (verdict.empty() ? "" : " ") + l.remarque;
    cellules.push_back({l.mesure, valeur, TexteCible(l), verdict});
    QJsonObject o;
    o["mesure"] = QString::fromStdString(l.mesure);
    o["valeur"] = l.valeur ? QJsonValue(*l.valeur) : QJsonValue();
    o["unite"] = QString::fromStdString(l.unite);
    o["cible"] = l.sens == TSens::Aucun ? QJsonValue() : QJsonValue(QString::fromStdString(TexteCible(l)));
    o["atteinte"] = a ? QJsonValue(*a) : QJsonValue();
    if (!l.remarque.empty()) o["remarque"] = QString::fromStdString(l.remarque);
    lignesJson.append(o);
  }
  std::array<std::size_t, 4> largeurs{};
  for (const auto& c : cellules)
    for (std::size_t k = 0; k < 4; ++k) largeurs[k] = std::max(largeurs[k], Largeur(c[k]));

  const QJsonArray charge = Contexte.value("load_avg").toArray();
  std::printf("\nRésultats des benchmarks (%s, %d processeurs, charge %.2f %.2f %.2f ; machine partagée)\n\n",
              Contexte.value("date").toString().toUtf8().constData(), Contexte.value("num_cpus").toInt(),
              charge.size() > 0 ? charge[0].toDouble() : 0.0, charge.size() > 1 ? charge[1].toDouble() : 0.0,
              charge.size() > 2 ? charge[2].toDouble() : 0.0);
  for (std::size_t i = 0; i < cellules.size(); ++i) {
    const auto& c = cellules[i];
    std::printf("%s  %s  %s  %s\n", Complete(c[0], largeurs[0]).c_str(), Complete(c[1], largeurs[1], true).c_str(),
                Complete(c[2], largeurs[2], true).c_str(), c[3].c_str());
    if (i == 0)
      std::printf("%s\n", std::string(largeurs[0] + largeurs[1] + largeurs[2] + largeurs[3] + 6, '-').c_str());
  }
  std::printf("\nCibles atteintes : %d sur %d\n", atteintes, visees);
  for (const std::string& p : Problemes) std::printf("Attention : %s\n", p.c_str());

  QJsonObject tout;
  tout["contexte"] = Contexte;
  tout["lignes"] = lignesJson;
  tout["cibles_atteintes"] = atteintes;
  tout["cibles"] = visees;
  const QByteArray json = QJsonDocument(tout).toJson();
  if (!EcritFichierSur(sortie.toStdString(), std::string_view(json.constData(), static_cast<std::size_t>(json.size())))) {
    std::fprintf(stderr, "Écriture impossible : %s\n", argv[2]);
    return 1;
  }
  std::printf("Tableau JSON : %s\n", sortie.toUtf8().constData());
  return 0;
}
