// The desktop entry and MIME type of the configuration files, written into the
// user's data folder.
#include "core/association.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include "util/fichiers.h"

extern char** environ;

namespace {

// Lower case, and only what a MIME subtype and a file name both hold.
std::string Identifiant(const std::string& executable) {
  std::string id;
  for (char c : NomProgramme(executable)) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    const bool garde = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == '_';
    id += garde ? c : '-';
  }
  return id.empty() ? "programme" : id;
}

std::string EchappeXml(const std::string& texte) {
  std::string r;
  for (char c : texte) {
    switch (c) {
      case '&': r += "&amp;"; break;
      case '<': r += "&lt;"; break;
      case '>': r += "&gt;"; break;
      case '"': r += "&quot;"; break;
      default: r += c;
    }
  }
  return r;
}

// A value of the desktop entry's string type: a backslash is written doubled.
std::string ChaineBureau(const std::string& texte) {
  std::string r;
  for (char c : texte) {
    if (c == '\\') r += '\\';
    r += c;
  }
  return r;
}

// One argument of the Exec key, quoted: inside the quotes '"', '`', '$' and '\' take
// a backslash, and a '%' is doubled so that it is no field code.
std::string ArgumentExec(const std::string& argument) {
  std::string r = "\"";
  for (char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') r += '\\';
    if (c == '%') r += '%';
    r += c;
  }
  return r + "\"";
}

bool SurUneLigne(const std::string& texte) { return texte.find_first_of("\r\n") == std::string::npos; }

// Writes `texte` unless the file already holds it; true when it changed.
bool Place(const std::string& chemin, const std::string& texte, bool& enPlace) {
  std::error_code erreur;
  std::filesystem::create_directories(std::filesystem::path(chemin).parent_path(), erreur);
  const auto actuel = LitFichier(chemin);
  if (actuel && *actuel == texte) {
    enPlace = true;
    return false;
  }
  enPlace = EcritFichierSur(chemin, texte);
  return enPlace;
}

}  // namespace

std::string DossierDonneesUtilisateur(
    const std::function<std::optional<std::string>(const std::string&)>& environnement) {
  // The base directory rule: a relative XDG_DATA_HOME is invalid and ignored.
  const auto xdg = environnement("XDG_DATA_HOME");
  if (xdg && !xdg->empty() && xdg->front() == '/') return *xdg;
  const auto home = environnement("HOME");
  if (home && !home->empty()) return *home + "/.local/share";
  return {};
}

std::string NomProgramme(const std::string& executable) {
  std::string nom = std::filesystem::path(executable).filename().string();
  const auto point = nom.rfind('.');
  if (point != std::string::npos && point > 0) nom.erase(point);
  return nom;
}

std::string TypeMimeConfiguration(const std::string& executable) { return "application/x-" + Identifiant(executable); }

std::string TexteTypeMime(const std::string& executable) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
         "  <mime-type type=\"" +
         TypeMimeConfiguration(executable) +
         "\">\n"
         "    <comment>Fichier config. " +
         EchappeXml(NomProgramme(executable)) +
         "</comment>\n"
         "    <glob pattern=\"*.rs2\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

std::optional<std::string> TexteEntreeBureau(const std::string& executable) {
  if (executable.empty() || !SurUneLigne(executable)) return std::nullopt;
  const std::string nom = NomProgramme(executable);
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=" +
         ChaineBureau(nom) +
         "\n"
         "Comment=Fichier config. " +
         ChaineBureau(nom) +
         "\n"
         // The file reaches the running copy through the single-instance check.
         "Exec=" +
         ChaineBureau(ArgumentExec(executable)) +
         " %f\n"
         "MimeType=" +
         TypeMimeConfiguration(executable) +
         ";\n"
         "NoDisplay=true\n"
         "Terminal=false\n";
}

std::string CheminTypeMime(const TAssociation& a) {
  return a.dossierDonnees + "/mime/packages/" + Identifiant(a.executable) + "-configuration.xml";
}

std::string CheminEntreeBureau(const TAssociation& a) {
  return a.dossierDonnees + "/applications/" + Identifiant(a.executable) + "-configuration.desktop";
}

bool EnregistreAssociation(const TAssociation& a) {
  try {
    if (a.dossierDonnees.empty()) return false;
    const auto entree = TexteEntreeBureau(a.executable);
    if (!entree) return false;
    bool mimeEnPlace = false;
    bool entreeEnPlace = false;
    const bool mimeChange = Place(CheminTypeMime(a), TexteTypeMime(a.executable), mimeEnPlace);
    const bool entreeChange = Place(CheminEntreeBureau(a), *entree, entreeEnPlace);
    if (a.lance) {
      if (mimeChange) a.lance({"update-mime-database", a.dossierDonnees + "/mime"});
      if (entreeChange) a.lance({"update-desktop-database", a.dossierDonnees + "/applications"});
    }
    return mimeEnPlace && entreeEnPlace;
  } catch (...) {
    return false;
  }
}

void LanceEtAttend(const std::vector<std::string>& commande) {
  if (commande.empty()) return;
  std::vector<char*> argv;
  for (const auto& c : commande) argv.push_back(const_cast<char*>(c.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return;
  for (int fd = 0; fd <= 2; ++fd)
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  pid_t pid = 0;
  const int r = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (r != 0) return;
  int etat = 0;
  while (waitpid(pid, &etat, 0) < 0 && errno == EINTR) {
  }
}
