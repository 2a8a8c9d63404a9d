// Trace buffer and trace file layout: runs, hexadecimal codes, the 78-column break.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "links/trace_serie.h"

namespace {
std::vector<TEntreeTrace> Entrees(std::initializer_list<std::pair<TSensTrace, std::string>> runs) {
  std::vector<TEntreeTrace> e;
  for (const auto& [sens, octets] : runs)
    for (char c : octets) e.push_back({sens, static_cast<unsigned char>(c)});
  return e;
}
constexpr auto E = TSensTrace::Emission;
constexpr auto R = TSensTrace::Reception;

struct CasTrace {
  const char* nom;
  std::vector<TEntreeTrace> entrees;
  std::string attendu;
};
void PrintTo(const CasTrace& c, std::ostream* os) { *os << c.nom; }


class MiseEnPageTrace : public testing::TestWithParam<CasTrace> {};

TEST_P(MiseEnPageTrace, OctetPourOctet) {
  EXPECT_EQ(TTraceSerie::FormateTrace(GetParam().entrees), GetParam().attendu);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, MiseEnPageTrace,
    testing::Values(
        CasTrace{"vide", {}, ""},
        CasTrace{"requete_et_reponse", Entrees({{E, "PH?\r"}, {R, " 7.02\r"}}),
                 "Transmit: PH?[0D]\r\n\r\nReceive: [20]7.02[0D]\r\n"},
        CasTrace{"bornes_imprimables", Entrees({{R, std::string("! ~\x7f\x00\xb0\xff", 7)}}),
                 "Receive: ![20]~[7F][00][B0][FF]\r\n"},
        CasTrace{"trois_passages", Entrees({{E, "a"}, {R, "b"}, {E, "c"}}),
                 "Transmit: a\r\n\r\nReceive: b\r\n\r\nTransmit: c\r\n"},
        // "Transmit: " is 10 columns: 68 characters end exactly at column 78.
        CasTrace{"juste_78_colonnes", Entrees({{E, std::string(68, 'x')}}),
                 "Transmit: " + std::string(68, 'x') + "\r\n"},
        CasTrace{"coupure_avant_79", Entrees({{E, std::string(69, 'x')}}),
                 "Transmit: " + std::string(68, 'x') + "\r\nx\r\n"},
        // A code is never split: after 75 columns a 4-column code goes to the next line.
        CasTrace{"code_non_coupe", Entrees({{R, std::string(66, 'y') + "\r"}}),
                 "Receive: " + std::string(66, 'y') + "\r\n[0D]\r\n"},
        CasTrace{"suite_sans_entete", Entrees({{R, std::string(40, '\n')}}),
                 "Receive: " + [] {
                   std::string s;
                   for (int i = 0; i < 17; ++i) s += "[0A]";  // 9 + 68 = 77 columns
                   s += "\r\n";
                   for (int i = 0; i < 19; ++i) s += "[0A]";  // 76 columns
                   s += "\r\n";
                   for (int i = 0; i < 4; ++i) s += "[0A]";
                   return s + "\r\n";
                 }()}),
    [](const testing::TestParamInfo<CasTrace>& i) { return std::string(i.param.nom); });

TEST(TraceSerie, CapaciteEcraseLesPlusAnciens) {
  TTraceSerie trace(5);
  trace.Ajoute(E, "abcd");
  trace.Ajoute(R, "efgh");
  EXPECT_EQ(trace.Texte(), "Transmit: d\r\n\r\nReceive: efgh\r\n");
  trace.SetCapacite(2);
  EXPECT_EQ(trace.Texte(), "Receive: gh\r\n");
  trace.SetCapacite(4000001);
  EXPECT_EQ(trace.Capacite(), TTraceSerie::CapaciteMaxi);
}
}  // namespace
