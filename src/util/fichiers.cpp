// Whole-file reading, safe whole-file writing (temporary file, flush, rename) and
// appending, on POSIX calls so that every failure is seen.
#include "util/fichiers.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool EcritTout(int fd, std::string_view octets) {
  std::size_t fait = 0;
  while (fait < octets.size()) {
    const ssize_t n = ::write(fd, octets.data() + fait, octets.size() - fait);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = ENOSPC;
    if (n <= 0) return false;
    fait += static_cast<std::size_t>(n);
  }
  return true;
}

// A name beside the target that no other writer of this process or another one uses.
std::string NomTemporaire(const std::string& chemin) {
  static std::atomic<unsigned> compteur{0};
  return chemin + ".~" + std::to_string(::getpid()) + "-" + std::to_string(compteur++);
}

}  // namespace

std::string DossierDe(const std::string& chemin) {
  const auto p = chemin.rfind('/');
  if (p == std::string::npos) return ".";
  return p == 0 ? "/" : chemin.substr(0, p);
}

bool EcritFichierSur(const std::string& cheminDemande, std::string_view octets) {
  if (cheminDemande.empty()) return false;
  // Through a symbolic link the file it points to is replaced, not the link.
  std::string chemin = cheminDemande;
  struct stat lien {};
  if (::lstat(chemin.c_str(), &lien) == 0 && S_ISLNK(lien.st_mode)) {
    char* reel = ::realpath(chemin.c_str(), nullptr);
    if (!reel) return false;
    chemin = reel;
    std::free(reel);
  }
  // The new file takes the permissions of the one it replaces.
  mode_t mode = 0666;
  struct stat etat {};
  if (::stat(chemin.c_str(), &etat) == 0) {
    if (!S_ISREG(etat.st_mode)) {
      errno = S_ISDIR(etat.st_mode) ? EISDIR : EINVAL;
      return false;
    }
    mode = etat.st_mode & 07777;
  }
  const std::string temporaire = NomTemporaire(chemin);
  const int fd = ::open(temporaire.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) return false;
  bool ok = EcritTout(fd, octets) && ::fsync(fd) == 0;
  int erreur = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    erreur = errno;
  }
  if (ok && ::rename(temporaire.c_str(), chemin.c_str()) != 0) {
    ok = false;
    erreur = errno;
  }
  if (!ok) {
    ::unlink(temporaire.c_str());
    errno = erreur;  // the caller says why
    return false;
  }
  // The rename itself reaches the disk with the folder; a failure here loses nothing
  // that is not already safe, so it is not reported.
  const int dossier = ::open(DossierDe(chemin).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dossier >= 0) {
    ::fsync(dossier);
    ::close(dossier);
  }
  return true;
}

std::optional<std::string> LitFichier(const std::string& chemin, std::size_t tailleMaxi) {
  // Without blocking: a FIFO with no writer must not hang the program in open().
  const int fd = ::open(chemin.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  auto echec = [fd](int erreur) -> std::optional<std::string> {
    ::close(fd);
    errno = erreur;
    return std::nullopt;
  };
  // Only a regular file: a device (/dev/zero behind a link) or a FIFO never ends.
  struct stat etat {};
  if (::fstat(fd, &etat) != 0) return echec(errno);
  if (!S_ISREG(etat.st_mode)) return echec(S_ISDIR(etat.st_mode) ? EISDIR : EINVAL);
  if (static_cast<std::uintmax_t>(etat.st_size) > tailleMaxi) return echec(EFBIG);
  std::string contenu;
  contenu.reserve(static_cast<std::size_t>(etat.st_size));
  char tampon[65536];
  for (;;) {
    const ssize_t n = ::read(fd, tampon, sizeof tampon);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return echec(errno);
    if (n == 0) break;
    contenu.append(tampon, static_cast<std::size_t>(n));
    if (contenu.size() > tailleMaxi) return echec(EFBIG);  // it grew while being read
  }
  ::close(fd);
  return contenu;
}

std::string TexteErreurSysteme(int erreur) {
  switch (erreur) {
    case ENOENT: return "fichier ou dossier introuvable";
    case ENOTDIR: return "un élément du chemin n'est pas un dossier";
    case EISDIR: return "c'est un dossier";
    case EINVAL: return "ce n'est pas un fichier ordinaire";
    case EACCES:
    case EPERM: return "permission refusée";
    case EROFS: return "système de fichiers en lecture seule";
    case ENOSPC: return "disque plein";
    case EDQUOT: return "quota de disque dépassé";
    case EFBIG: return "fichier trop gros";
    case EIO: return "erreur d'entrée-sortie";
    case ENAMETOOLONG: return "nom trop long";
    default: return std::strerror(erreur);
  }
}

bool AjouteAuFichier(const std::string& chemin, std::string_view octets) {
  const int fd = ::open(chemin.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  // Handed to the system at once, so a crash of the program loses nothing written.
  const bool ok = EcritTout(fd, octets);
  return (::close(fd) == 0) && ok;
}
