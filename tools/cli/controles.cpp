// Checks of a headless run's files, ports and outputs; its results written with the
// reason of a failure and a copy of their own.
#include "cli/controles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "core/cinetique.h"
#include "core/configuration.h"
#include "core/fichiers_donnees.h"
#include "instruments/base_appareils.h"
#include "instruments/burette.h"
#include "links/table_ports.h"
#include "util/fichiers.h"
#include "util/ini.h"

namespace {
// "RS232-secours-20261211-133005.csv" beside the text copy, under a name not taken.
std::string NomSecours(const std::string& nomFichierTexte, const std::string& sortie) {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  char horodatage[32];
  std::strftime(horodatage, sizeof horodatage, "%Y%m%d-%H%M%S", &local);
  const std::string base = DossierDe(nomFichierTexte) + "/RS232-secours-" + horodatage;
  const std::string extension = ExtensionFichier(sortie);
  std::string nom = base + extension;
  std::error_code erreur;
  for (int k = 2; std::filesystem::exists(nom, erreur); ++k) nom = base + "-" + std::to_string(k) + extension;
  return nom;
}
}  // namespace

std::optional<std::string> MessageFichierEntree(const std::string& quoi, const std::string& chemin) {
  struct stat etat {};
  if (::stat(chemin.c_str(), &etat) != 0 && errno == ENOENT) return quoi + " introuvable : " + chemin;
  if (!LitFichier(chemin)) return quoi + " illisible : " + chemin + " (" + TexteErreurSysteme(errno) + ")";
  return std::nullopt;
}

std::optional<std::string> RaisonPortRefuse(const std::string& chemin) {
  struct stat etat {};
  if (::stat(chemin.c_str(), &etat) != 0) return "périphérique introuvable";
  if (S_ISDIR(etat.st_mode)) return "c'est un dossier";
  if (!S_ISCHR(etat.st_mode)) return "ce n'est pas une voie série";
  // Opened without waiting for a modem line and without becoming the controlling
  // terminal; nothing is written.
  const int fd = ::open(chemin.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    // Held by another program: the opening says so later, with its own words.
    if (errno == EBUSY) return std::nullopt;
    return TexteErreurSysteme(errno);
  }
  termios t{};
  const bool serie = ::tcgetattr(fd, &t) == 0;
  ::close(fd);
  if (!serie) return "ce n'est pas une voie série";
  return std::nullopt;
}

bool PortsDuRun(const std::map<int, std::string>& donnes, const std::optional<std::string>& variable,
                TSeriePlateforme& serie, std::map<int, std::string>& ports, std::string& message) {
  ports.clear();
  // Set, the variable is the whole table: the system's devices never come in.
  TTablePorts table(serie, nullptr, [&](const std::string& nom) -> std::optional<std::string> {
    if (nom == TTablePorts::Variable) return variable.value_or("");
    return std::nullopt;
  });
  if (!table.Anomalies().empty()) {
    message = table.Anomalies().front();
    return false;
  }
  for (const TEntreePort& e : table.Entrees()) ports[e.com] = e.chemin;
  for (const auto& [com, chemin] : donnes) ports[com] = chemin;
  for (const auto& [com, chemin] : ports)
    if (const auto raison = RaisonPortRefuse(chemin)) {
      message = "Port refusé : COM" + std::to_string(com) + "=" + chemin + " (" + *raison + ")";
      return false;
    }
  return true;
}

std::string TexteTablePorts(const std::map<int, std::string>& ports) {
  std::string texte;
  for (const auto& [com, chemin] : ports) texte += (texte.empty() ? "" : ";") + ("COM" + std::to_string(com)) + "=" + chemin;
  return texte;
}

std::optional<std::string> PortManquant(const std::string& config, const std::map<int, std::string>& ports,
                                        const TBaseAppareils& base) {
  // The channels as the loading of the configuration will take them.
  const TConfigLue c = LitFichierConfig(TFichierIni(NomConfiguration(config)), base, Tmonde{});
  auto manque = [&](int com) { return !ports.contains(com); };
  for (std::size_t i = 0; i < c.voies.size(); ++i) {
    const TVoieConfig& v = c.voies[i];
    // USB meters and box inputs are read through their libraries, on no COM port.
    if (v.definition->isOrigalys || v.definition->isSysam || !manque(v.com)) continue;
    return "Aucun port donné pour COM" + std::to_string(v.com) + " (voie " + std::to_string(i) + " : " + v.nom +
           ") : donner --port COM" + std::to_string(v.com) + "=PERIPHERIQUE";
  }
  const int comBurette = base.Burette().ComNumber;
  if (c.ModeAcq == maBuretteRS232 && manque(comBurette))
    return "Aucun port donné pour COM" + std::to_string(comBurette) + " (burette) : donner --port COM" +
           std::to_string(comBurette) + "=PERIPHERIQUE";
  return std::nullopt;
}

std::optional<std::string> RaisonSortieImpossible(const std::string& chemin) {
  if (chemin.empty()) return "nom de fichier vide";
  struct stat etat {};
  if (::stat(chemin.c_str(), &etat) == 0 && !S_ISREG(etat.st_mode))
    return TexteErreurSysteme(S_ISDIR(etat.st_mode) ? EISDIR : EINVAL);
  const std::string dossier = DossierDe(chemin);
  if (::stat(dossier.c_str(), &etat) != 0) return "dossier " + dossier + " : " + TexteErreurSysteme(errno);
  if (!S_ISDIR(etat.st_mode)) return dossier + " n'est pas un dossier";
  // A few kilobytes written and flushed, as the table will be, then removed.
  const std::string essai = chemin + ".~essai-" + std::to_string(::getpid());
  const int fd = ::open(essai.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return TexteErreurSysteme(errno);
  const std::string octets(4096, ' ');
  const ssize_t n = ::write(fd, octets.data(), octets.size());
  int erreur = n == static_cast<ssize_t>(octets.size()) ? 0 : (n < 0 ? errno : ENOSPC);
  if (erreur == 0 && ::fsync(fd) != 0) erreur = errno;
  if (::close(fd) != 0 && erreur == 0) erreur = errno;
  ::unlink(essai.c_str());
  if (erreur != 0) return TexteErreurSysteme(erreur);
  return std::nullopt;
}

bool EcritTableSortie(TCinetiqueMain& moteur, const std::string& sortie, const std::string& nomFichierTexte) {
  const std::string texte = OctetsFichierDonnees(moteur, FormeDuNom(sortie), CheminExecutableCourant());
  const int n = moteur.Graphe->NbrePoints;
  if (EcritFichierSur(sortie, texte)) {
    moteur.dataSaved = true;
    std::fprintf(stderr, "Table de %d points écrite dans %s\n", n, sortie.c_str());
    return true;
  }
  const std::string raison = TexteErreurSysteme(errno);
  const std::string secours = NomSecours(nomFichierTexte, sortie);
  if (EcritFichierSur(secours, texte)) {
    std::fprintf(stderr, "%s%s (%s) ; la table de %d points est écrite dans %s\n", fichiers_donnees::MessageErreur,
                 sortie.c_str(), raison.c_str(), n, secours.c_str());
  } else {
    std::fprintf(stderr, "%s%s (%s) ; copie de secours impossible dans %s (%s)\n", fichiers_donnees::MessageErreur,
                 sortie.c_str(), raison.c_str(), secours.c_str(), TexteErreurSysteme(errno).c_str());
  }
  return false;
}

void ArreteEnGardantLesPoints(TCinetiqueMain& moteur) {
  if (moteur.Graphe->NbrePoints >= 3) moteur.StopBtnClick();
  else if (moteur.EtatAcq == eaEnCours || moteur.EtatAcq == eaIncrement || moteur.EtatAcq == eaClavier)
    moteur.SetEtatAcq(eaTerminee);
}
