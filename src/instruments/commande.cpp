// The escape notation of instrument strings and the display of received bytes.
#include "instruments/commande.h"

#include <algorithm>

#include "util/cp1252.h"

const std::array<const char*, 32> NomsControle = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "TAB", "LF",
    "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "XON", "DC2", "XOFF", "DC4", "NAK",
    "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

namespace {
constexpr std::size_t LongueurMaxiCommande = 250;

char CodeDuNom(std::string nom) {
  for (char& c : nom)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (nom == "DC1") nom = "XON";
  if (nom == "DC3") nom = "XOFF";
  for (std::size_t k = 0; k < NomsControle.size(); ++k)
    if (nom == NomsControle[k]) return static_cast<char>(k);
  return ' ';
}
}  // namespace

std::string DecodeCommande(std::string_view texte) {
  // Names and bars are ASCII, so the notation reads the same on the Windows-1252
  // bytes of the text.
  const std::string octets = Utf8VersCp1252(texte);
  std::string r;
  std::size_t i = 0;
  while (i < octets.size() && r.size() < LongueurMaxiCommande) {
    if (octets[i] != '|') {
      r.push_back(octets[i++]);
      continue;
    }
    const std::size_t debut = i + 1;
    std::size_t fin = octets.find('|', debut);
    if (fin == std::string::npos) fin = octets.size();
    if (fin == debut)
      r.push_back('|');
    else
      r.push_back(CodeDuNom(octets.substr(debut, fin - debut)));
    i = fin + 1;
  }
  return r;
}

std::string CodeCommande(std::string_view octets) {
  std::string r;
  std::string haut;  // a run of bytes above 127, converted together
  auto videHaut = [&] {
    if (!haut.empty()) r += Cp1252VersUtf8(haut);
    haut.clear();
  };
  for (char c : octets) {
    const auto b = static_cast<unsigned char>(c);
    if (b > 127) {
      haut.push_back(c);
      continue;
    }
    videHaut();
    if (b < 32) {
      r += '|';
      r += NomsControle[b];
      r += '|';
    } else if (c == '|') {
      r += "||";  // so that DecodeCommande gives the bar back
    } else {
      r.push_back(c);
    }
  }
  videHaut();
  return r;
}

void LignesRecues(std::string_view octets, std::vector<std::string>& lignes) {
  lignes.clear();
  std::string ligne;
  for (char c : octets) {
    const auto b = static_cast<unsigned char>(c);
    if (b == 127 || b == 129 || b == 230) {
      ligne += "µ";
    } else if (b == 248) {
      ligne += "°";
    } else if (b < 32) {
      ligne += '|';
      ligne += NomsControle[b];
      ligne += '|';
      if (b == 13) {
        lignes.push_back(ligne);
        ligne.clear();
      }
    } else if (b > 127) {
      ligne += Cp1252VersUtf8(std::string_view(&c, 1));
    } else {
      ligne.push_back(c);
    }
  }
  if (!ligne.empty()) lignes.push_back(ligne);
}

std::size_t CompteRetours(std::string_view octets) {
  return static_cast<std::size_t>(std::count(octets.begin(), octets.end(), '\r'));
}
