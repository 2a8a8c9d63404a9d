// Windows-1252 <-> UTF-8: the table of the bytes 80..9F, the rest being Latin-1.
#include "util/cp1252.h"

#include <array>
#include <cstdint>

namespace {

// Bytes 80..9F; the five bytes 1252 leaves undefined keep their own code so that
// every file reads and writes back unchanged.
constexpr std::array<char32_t, 32> Table80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CaractereDeOctet(unsigned char octet) {
  return (octet >= 0x80 && octet <= 0x9F) ? Table80[octet - 0x80] : char32_t(octet);
}

// The byte of a character, or nothing (-1) when 1252 lacks it.
int OctetDeCaractere(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return int(c);
  for (std::size_t i = 0; i < Table80.size(); ++i)
    if (Table80[i] == c) return int(0x80 + i);
  return -1;
}

void AjouteUtf8(std::string& sortie, char32_t c) {
  if (c < 0x80) {
    sortie += char(c);
  } else if (c < 0x800) {
    sortie += char(0xC0 | (c >> 6));
    sortie += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    sortie += char(0xE0 | (c >> 12));
    sortie += char(0x80 | ((c >> 6) & 0x3F));
    sortie += char(0x80 | (c & 0x3F));
  } else {
    sortie += char(0xF0 | (c >> 18));
    sortie += char(0x80 | ((c >> 12) & 0x3F));
    sortie += char(0x80 | ((c >> 6) & 0x3F));
    sortie += char(0x80 | (c & 0x3F));
  }
}

// Decodes one well-formed UTF-8 sequence at `i` (no overlongs, no surrogates, at
// most U+10FFFF); returns its length, or 0 when the bytes are not one.
std::size_t LitUtf8(std::string_view t, std::size_t i, char32_t& c) {
  const auto o = static_cast<unsigned char>(t[i]);
  std::size_t n = 0;
  char32_t minimum = 0;
  if (o < 0x80) { c = o; return 1; }
  if (o >= 0xC2 && o <= 0xDF) { n = 2; c = o & 0x1F; minimum = 0x80; }
  else if (o >= 0xE0 && o <= 0xEF) { n = 3; c = o & 0x0F; minimum = 0x800; }
  else if (o >= 0xF0 && o <= 0xF4) { n = 4; c = o & 0x07; minimum = 0x10000; }
  else return 0;
  if (i + n > t.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    const auto s = static_cast<unsigned char>(t[i + k]);
    if ((s & 0xC0) != 0x80) return 0;
    c = (c << 6) | (s & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

std::string Cp1252VersUtf8(std::string_view octets) {
  std::string sortie;
  sortie.reserve(octets.size() + octets.size() / 8);
  for (char o : octets) AjouteUtf8(sortie, CaractereDeOctet(static_cast<unsigned char>(o)));
  return sortie;
}

std::string Utf8VersCp1252(std::string_view texte) {
  std::string sortie;
  sortie.reserve(texte.size());
  std::size_t i = 0;
  while (i < texte.size()) {
    char32_t c = 0;
    const std::size_t n = LitUtf8(texte, i, c);
    if (n == 0) {  // not UTF-8: the byte is taken as a 1252 byte
      sortie += texte[i];
      ++i;
      continue;
    }
    const int octet = OctetDeCaractere(c);
    sortie += octet < 0 ? '?' : char(octet);
    i += n;
  }
  return sortie;
}
