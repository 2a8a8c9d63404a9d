// What every benchmark program shares: a scratch folder that stands in for the home
// and the configuration folders (no benchmark touches the user's files), the
// monotonic clock in microseconds, quantiles, the build's other programs, and child
// programs started and waited for with their duration and peak memory.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace bench {

// The scratch folder given by scripts/bench (PELITRAX_BENCH_SCRATCH), or a fresh one
// under the system's temporary folder; the program moves into it, and HOME and the
// configuration folders point there before any Qt object reads them.
inline std::filesystem::path PrepareDossier(const std::string& nom) {
  namespace fs = std::filesystem;
  fs::path dossier;
  if (const char* donne = std::getenv("PELITRAX_BENCH_SCRATCH"); donne && *donne)
    dossier = donne;
  else
    dossier = fs::temp_directory_path() / ("pelitrax-bench-" + nom + "-" + std::to_string(::getpid()));
  fs::create_directories(dossier / "config");
  fs::create_directories(dossier / "data");
  dossier = fs::canonical(dossier);
  fs::current_path(dossier);
  ::setenv("HOME", dossier.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (dossier / "config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (dossier / "data").c_str(), 1);
  fs::create_directories(dossier / "runtime");
  fs::permissions(dossier / "runtime", fs::perms::owner_all, fs::perm_options::replace);
  ::setenv("XDG_RUNTIME_DIR", (dossier / "runtime").c_str(), 1);
  if (const char* qpa = std::getenv("QT_QPA_PLATFORM"); !qpa || !*qpa) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  return dossier;
}

// Where pictures for a person go (PELITRAX_ARTEFACTS, set by scripts/bench); empty
// when unset.
inline std::filesystem::path DossierArtefacts() {
  const char* d = std::getenv("PELITRAX_ARTEFACTS");
  return d && *d ? std::filesystem::path(d) : std::filesystem::path();
}

// A program of the build: the variable when set, else the path relative to this
// benchmark's own folder (build/<preset>/bench).
inline std::filesystem::path ProgrammeDuBuild(const char* variable, const std::string& relatif) {
  if (const char* v = std::getenv(variable); v && *v) return v;
  std::error_code erreur;
  const auto soi = std::filesystem::read_symlink("/proc/self/exe", erreur);
  return soi.parent_path().parent_path() / relatif;
}

inline std::int64_t MicrosecondesMonotones() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// Quantile q (0..1) by linear interpolation between the two nearest ranks; NaN for
// no sample.
inline double Quantile(std::vector<double> v, double q) {
  if (v.empty()) return std::nan("");
  std::sort(v.begin(), v.end());
  const double rang = q * static_cast<double>(v.size() - 1);
  const auto bas = static_cast<std::size_t>(std::floor(rang));
  const auto haut = std::min(bas + 1, v.size() - 1);
  return v[bas] + (v[haut] - v[bas]) * (rang - static_cast<double>(bas));
}

inline double Mediane(const std::vector<double>& v) { return Quantile(v, 0.5); }

// A child program: started with the environment of this one plus `ajouts`
// ("NOM=valeur"), its standard output and error sent to files (empty: /dev/null), or
// its standard output to a pipe whose reading end is given back in *tube.
struct TFils {
  pid_t pid = -1;
  std::int64_t debutUs = 0;
};

inline TFils Lance(const std::vector<std::string>& arguments, const std::vector<std::string>& ajouts,
                   const std::string& sortie = {}, const std::string& erreurs = {}, int* tube = nullptr) {
  std::vector<std::string> env = ajouts;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  std::vector<char*> argv, envp;
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  int bouts[2] = {-1, -1};
  if (tube && ::pipe2(bouts, O_CLOEXEC) == 0) {
    posix_spawn_file_actions_adddup2(&actions, bouts[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, bouts[0]);
    posix_spawn_file_actions_addclose(&actions, bouts[1]);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, sortie.empty() ? "/dev/null" : sortie.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  }
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, erreurs.empty() ? "/dev/null" : erreurs.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  TFils f;
  f.debutUs = MicrosecondesMonotones();
  if (posix_spawn(&f.pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) f.pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  if (bouts[1] >= 0) ::close(bouts[1]);
  if (tube) *tube = bouts[0];
  return f;
}

struct TFinFils {
  int statut = -1;          // exit status, -1 when it did not exit normally
  std::int64_t dureeUs = 0;
  long pointeRssKo = 0;     // peak resident set, kilobytes (ru_maxrss)
  double processeurS = 0;   // CPU time, user and system, all its threads
  long commutationsVolontaires = 0;  // it slept waiting for something (ru_nvcsw)
};

inline TFinFils Attend(const TFils& f) {
  TFinFils r;
  int etat = 0;
  rusage usage{};
  if (f.pid <= 0 || ::wait4(f.pid, &etat, 0, &usage) != f.pid) return r;
  r.dureeUs = MicrosecondesMonotones() - f.debutUs;
  r.statut = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
  r.pointeRssKo = usage.ru_maxrss;
  r.processeurS = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  r.commutationsVolontaires = usage.ru_nvcsw;
  return r;
}

}  // namespace bench
