// Persistent settings: registry-like keys ("Software\\RS232") holding named values.
#pragma once

#include <optional>
#include <string>
#include <vector>

class TReglages {
public:
  virtual ~TReglages() = default;
  // `cle` uses '\\' between its levels, as the registry does.
  virtual std::optional<std::string> Lit(const std::string& cle, const std::string& nom) const = 0;
  virtual void Ecrit(const std::string& cle, const std::string& nom, const std::string& valeur) = 0;
  virtual void Supprime(const std::string& cle, const std::string& nom) = 0;
  virtual std::vector<std::string> Noms(const std::string& cle) const = 0;

  std::string LitTexte(const std::string& cle, const std::string& nom, const std::string& defaut) const {
    return Lit(cle, nom).value_or(defaut);
  }
  int LitEntier(const std::string& cle, const std::string& nom, int defaut) const;
  bool LitBooleen(const std::string& cle, const std::string& nom, bool defaut) const {
    return LitEntier(cle, nom, defaut ? 1 : 0) != 0;
  }
  void EcritEntier(const std::string& cle, const std::string& nom, int valeur) {
    Ecrit(cle, nom, std::to_string(valeur));
  }
  void EcritBooleen(const std::string& cle, const std::string& nom, bool valeur) {
    EcritEntier(cle, nom, valeur ? 1 : 0);
  }
};

inline int TReglages::LitEntier(const std::string& cle, const std::string& nom, int defaut) const {
  auto v = Lit(cle, nom);
  if (!v || v->empty()) return defaut;
  try {
    std::size_t fin = 0;
    long long n = std::stoll(*v, &fin, 10);
    if (fin != v->size() || n < -2147483648LL || n > 2147483647LL) return defaut;
    return static_cast<int>(n);
  } catch (...) {
    return defaut;
  }
}
