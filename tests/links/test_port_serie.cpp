// The port object on the simulated platform: settings, errors, event delivery,
// trace and log, loss of the device. The far end is the bench's polled pH meter.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "banc/jonction_simulee.h"
#include "banc/phmetre.h"
#include "links/port_serie.h"
#include "links/ticks.h"
#include "util/fichiers.h"

namespace {
// A handler that reads what it is told is there, the way the main window's does.
struct Recepteur {
  std::vector<int> comptes;
  std::vector<std::int64_t> instants;
  std::string recu;
  int enCours = 0;
  int profondeurMax = 0;
  std::function<void(TPortSerie*)> pendant;
  const TBoucleEvenements* boucle = nullptr;

  TTriggerAvail Gestionnaire() {
    return {this, [this](TPortSerie* p, std::uint16_t n) {
              profondeurMax = std::max(profondeurMax, ++enCours);
              comptes.push_back(n);
              if (boucle) instants.push_back(boucle->Millisecondes());
              for (int i = 0; i < n; ++i)
                if (p->CharReady()) recu += p->GetChar();
              if (pendant) pendant(p);
              --enCours;
            }};
  }
  int Total() const { return std::accumulate(comptes.begin(), comptes.end(), 0); }
};

class PortSimule : public testing::Test {
protected:
  PortSimule()
      : serie(boucle),
        ligne(serie.AjouteLigne("/sim/ph")),
        jonction(boucle, ligne, phmetre),
        table(serie, nullptr, [this](const std::string& nom) -> std::optional<std::string> {
          if (nom == TTablePorts::Variable) return variable;
          return std::nullopt;
        }),
        port(serie, boucle, table, 3) {
    serie.AjouteLigne("/sim/occupe").SetOccupee(true);
    port.SetAutoOpen(false);
    port.SetBaud(2400);
    recepteur.boucle = &boucle;
    std::filesystem::remove_all("port_simule");
    std::filesystem::create_directory("port_simule");
    port.SetTraceName("port_simule/t.trc");
    port.SetLogName("port_simule/t.log");
  }
  void Ouvre() {
    port.SetOnTriggerAvail(recepteur.Gestionnaire());
    port.SetOpen(true);
  }

  TBoucleSimulee boucle;
  TSerieSimulee serie;
  TLigneSimulee& ligne;
  TPhMetre phmetre{std::make_shared<TValeurFixe>(7.02)};
  TJonctionSimulee jonction;
  std::string variable = "COM3=/sim/ph;COM4=/sim/ph;COM5=/sim/absent;COM6=/sim/occupe";
  TTablePorts table;
  TPortSerie port;
  Recepteur recepteur;
};

template <class F> TCodeSerie CodeDe(F&& f) {
  try {
    f();
  } catch (const EPortSerie& e) {
    return e.Code();
  }
  return TCodeSerie::Aucun;
}

TEST_F(PortSimule, OperationsSurPortFerme) {
  const std::pair<const char*, std::function<void()>> operations[] = {
      {"PutString", [&] { port.PutString("PH?\r"); }},
      {"CharReady", [&] { port.CharReady(); }},
      {"GetChar", [&] { port.GetChar(); }},
      {"FlushInBuffer", [&] { port.FlushInBuffer(); }},
  };
  for (const auto& [nom, operation] : operations) {
    SCOPED_TRACE(nom);
    try {
      operation();
      ADD_FAILURE() << "pas d'erreur";
    } catch (const EPortSerie& e) {
      EXPECT_EQ(e.Code(), TCodeSerie::NonOuvert);
      EXPECT_STREQ(e.what(), "COM3 : port non ouvert");
    }
  }
  EXPECT_FALSE(port.Open());
}

TEST_F(PortSimule, OuvertureAutomatiqueQuandDemandee) {
  port.SetAutoOpen(true);
  port.PutString("PH?\r");
  EXPECT_TRUE(port.Open());
}

TEST_F(PortSimule, OuverturesQuiEchouent) {
  struct Cas {
    int com;
    TCodeSerie code;
    bool existe;
  };
  for (const Cas c : {Cas{5, TCodeSerie::Absent, false}, Cas{7, TCodeSerie::Absent, false},
                      Cas{6, TCodeSerie::Occupe, true}}) {
    SCOPED_TRACE(c.com);
    TPortSerie p(serie, boucle, table, static_cast<std::uint16_t>(c.com));
    EXPECT_EQ(CodeDe([&] { p.SetOpen(true); }), c.code);
    EXPECT_FALSE(p.Open());
    EXPECT_EQ(ExistePort(table, c.com), c.existe);
  }
  // A device another port object holds is busy for a second one.
  port.SetOpen(true);
  TPortSerie deuxieme(serie, boucle, table, 4);
  EXPECT_TRUE(ExistePort(table, 4));
  EXPECT_EQ(CodeDe([&] { deuxieme.SetOpen(true); }), TCodeSerie::Occupe);
}

TEST_F(PortSimule, ReglagesGardesPortFermePuisAppliques) {
  port.SetBaud(4800);
  port.SetParity(pEven);
  port.SetDataBits(7);
  port.SetStopBits(2);
  port.SetHWFlowOptions({hwfUseRTS, hwfRequireCTS});
  port.SetSWFlowOptions(swfBoth);
  EXPECT_EQ(ligne.Ouvertures(), 0);
  port.SetOpen(true);
  TReglageLigne attendu;
  attendu.baud = 4800;
  attendu.parite = TPariteLigne::Paire;
  attendu.bitsDonnees = 7;
  attendu.bitsStop = 2;
  attendu.rtsCts = true;
  attendu.xonXoff = true;
  EXPECT_EQ(ligne.Reglage(), attendu);

  port.SetBaud(9600);  // open: applied at once
  EXPECT_EQ(ligne.Reglage().baud, 9600);
  ligne.SetReglagesRefuses(true);
  EXPECT_EQ(CodeDe([&] { port.SetBaud(1200); }), TCodeSerie::ReglageRefuse);
  EXPECT_EQ(port.Baud(), 9600);
  EXPECT_EQ(CodeDe([&] { port.SetBaud(9600); }), TCodeSerie::Aucun);  // same value: nothing asked
  EXPECT_EQ(CodeDe([&] { port.SetDataBits(9); }), TCodeSerie::ReglageRefuse);
  EXPECT_EQ(CodeDe([&] { port.SetStopBits(3); }), TCodeSerie::ReglageRefuse);
  EXPECT_EQ(port.DataBits(), 7);
}

TEST_F(PortSimule, DeuxDefinitionsSurLeMemePortLaDerniereGagne) {
  port.SetOpen(true);
  for (auto [baud, bits] : {std::pair{9600, 8}, std::pair{2400, 7}}) {
    port.SetBaud(baud);
    port.SetDataBits(static_cast<std::uint16_t>(bits));
    port.SetStopBits(1);
    port.SetParity(pNone);
  }
  EXPECT_EQ(ligne.Reglage().baud, 2400);
  EXPECT_EQ(ligne.Reglage().bitsDonnees, 7);
}

TEST_F(PortSimule, ReponseEnPlusieursEvenementsRassemblee) {
  Ouvre();
  port.PutString("PH?\r");
  boucle.Avance(300);
  EXPECT_EQ(ligne.Recu(), "PH?\r");
  EXPECT_EQ(recepteur.recu, " 7.02\r");
  EXPECT_GE(recepteur.comptes.size(), 2u);
  EXPECT_EQ(recepteur.Total(), 6);
}

TEST_F(PortSimule, EvenementSuivantApresLeRetourDuGestionnaire) {
  Ouvre();
  bool premier = true;
  recepteur.pendant = [&](TPortSerie*) {
    if (!premier) return;
    premier = false;
    ligne.Emet("abc");
    AttenteTicks(boucle, 10);  // the handler keeps dispatching events, as a wait does
  };
  ligne.Emet("x");
  boucle.Avance(1000);
  EXPECT_EQ(recepteur.profondeurMax, 1);
  EXPECT_EQ(recepteur.comptes, (std::vector<int>{1, 3}));
  EXPECT_EQ(recepteur.recu, "xabc");
}

TEST_F(PortSimule, GestionnaireBloquePlusDeTroisSecondes) {
  Ouvre();
  bool premier = true;
  std::int64_t debut = 0;
  recepteur.pendant = [&](TPortSerie*) {
    if (!premier) return;
    premier = false;
    debut = boucle.Millisecondes();
    ligne.Emet("abc");
    AttenteTicks(boucle, 80);  // 4.4 s
  };
  ligne.Emet("x");
  boucle.Avance(6000);
  EXPECT_EQ(recepteur.profondeurMax, 2);
  ASSERT_EQ(recepteur.instants.size(), 2u);
  EXPECT_EQ(recepteur.instants[1] - debut, TPortSerie::AttenteGestionnaireMs);
  EXPECT_EQ(recepteur.recu, "xabc");
}

TEST_F(PortSimule, GestionnaireLuRetireRemis) {
  Ouvre();
  const TTriggerAvail sauve = port.OnTriggerAvail();
  EXPECT_TRUE(sauve.MemeQue(recepteur.Gestionnaire()));
  // The burette's exchange: no handler, the port polled until a time-out.
  port.SetOnTriggerAvail({});
  EXPECT_FALSE(port.OnTriggerAvail());
  port.FlushInBuffer();
  port.PutString("PH?\r");
  std::string reponse;
  TTempo tempo;
  DemarreTempo(boucle, tempo, 9);
  while (!TempoEcoulee(boucle, tempo)) {
    if (port.CharReady()) reponse += port.GetChar();
    else boucle.TraiteEvenements(10);
  }
  EXPECT_EQ(reponse, " 7.02\r");
  EXPECT_TRUE(recepteur.comptes.empty());
  // Bytes that came with no handler are reported once it is put back.
  ligne.Emet("xyz");
  boucle.TraiteEnAttente();
  EXPECT_TRUE(recepteur.comptes.empty());
  port.SetOnTriggerAvail(sauve);
  boucle.TraiteEnAttente();
  EXPECT_EQ(recepteur.comptes, std::vector<int>{3});
}

TEST_F(PortSimule, GestionnaireQuiNeLitRienNeBouclePas) {
  std::vector<int> comptes;
  port.SetOnTriggerAvail({this, [&](TPortSerie*, std::uint16_t n) { comptes.push_back(n); }});
  port.SetOpen(true);
  ligne.Emet("abc");
  boucle.Avance(1000);
  EXPECT_EQ(comptes, std::vector<int>{3});
  ligne.Emet("d");  // the unread bytes come with the next ones
  boucle.Avance(10);
  EXPECT_EQ(comptes, (std::vector<int>{3, 4}));
}

TEST_F(PortSimule, FermerPuisRouvrirGardeReglagesEtGestionnaire) {
  port.SetParity(pOdd);
  Ouvre();
  port.SetOpen(false);
  EXPECT_FALSE(ligne.Ouverte());
  port.SetOpen(true);
  EXPECT_EQ(port.Baud(), 2400);
  EXPECT_EQ(ligne.Reglage().parite, TPariteLigne::Impaire);
  EXPECT_TRUE(port.OnTriggerAvail().MemeQue(recepteur.Gestionnaire()));
  port.SetParity(pNone);
  port.PutString("PH?\r");
  boucle.Avance(300);
  EXPECT_EQ(recepteur.recu, " 7.02\r");
}

TEST_F(PortSimule, TraceEtJournalDemandesPortFerme) {
  port.SetTracing(tlOn);
  port.SetLogging(tlOn);
  EXPECT_EQ(port.Tracing(), tlOn);
  Ouvre();
  port.PutString("PH?\r");
  boucle.Avance(300);
  port.SetTracing(tlDump);
  port.SetLogging(tlDump);
  EXPECT_EQ(port.Tracing(), tlOff);
  EXPECT_EQ(port.Logging(), tlOff);
  EXPECT_EQ(LitFichier("port_simule/t.trc"), "Transmit: PH?[0D]\r\n\r\nReceive: [20]7.02[0D]\r\n");
  const std::string journal = LitFichier("port_simule/t.log").value_or("");
  EXPECT_EQ(journal.rfind("Journal de la voie s\xE9rie COM3\r\nP\xE9riph\xE9rique : /sim/ph\r\nD\xE9" "but : ", 0), 0u)
      << journal;
  EXPECT_NE(journal.find("2400 bauds, 8N1\r\n\r\n"), std::string::npos);
  EXPECT_NE(journal.find("  \xC9mission de 4 octets : PH?[0D]\r\n"), std::string::npos);
  EXPECT_NE(journal.find("  \xC9v\xE9nement de donn\xE9" "es : "), std::string::npos);
}

TEST_F(PortSimule, DumpsSansFichier) {
  Ouvre();
  port.SetTracing(tlDump);  // never on
  EXPECT_EQ(port.Tracing(), tlOff);
  port.SetTracing(tlOn);  // on, but nothing exchanged
  port.SetTracing(tlDump);
  port.SetTracing(tlOn);  // off again before closing: discarded
  port.PutString("PH?\r");
  port.SetTracing(tlOff);
  port.SetOpen(false);
  EXPECT_FALSE(std::filesystem::exists("port_simule/t.trc"));
}

TEST_F(PortSimule, FermetureEcritLaTrace) {
  port.SetTracing(tlOn);
  Ouvre();
  port.PutString("PH?\r");
  boucle.Avance(300);
  port.SetOpen(false);
  EXPECT_EQ(port.Tracing(), tlOff);
  EXPECT_EQ(LitFichier("port_simule/t.trc"), "Transmit: PH?[0D]\r\n\r\nReceive: [20]7.02[0D]\r\n");
}

TEST_F(PortSimule, TraceImpossibleAEcrire) {
  port.SetTraceName("port_simule/absent/t.trc");
  port.SetTracing(tlOn);
  Ouvre();
  port.PutString("PH?\r");
  try {
    port.SetTracing(tlDump);
    ADD_FAILURE();
  } catch (const EPortSerie& e) {
    EXPECT_EQ(e.Code(), TCodeSerie::Fichier);
    EXPECT_STREQ(e.what(), "Erreur d'écriture de port_simule/absent/t.trc");
  }
  EXPECT_EQ(port.Tracing(), tlOff);
  EXPECT_TRUE(port.Open());
}

TEST_F(PortSimule, FileDEmissionBornee) {
  port.SetOutSize(8);
  port.SetOpen(true);
  EXPECT_EQ(CodeDe([&] { port.PutString(""); }), TCodeSerie::Aucun);
  EXPECT_EQ(CodeDe([&] { port.PutString("123456789"); }), TCodeSerie::FilePleine);
  boucle.Avance(100);
  EXPECT_EQ(ligne.Recu(), "");
  EXPECT_EQ(CodeDe([&] { port.PutString("12345678"); }), TCodeSerie::Aucun);
  EXPECT_EQ(CodeDe([&] { port.PutString("9"); }), TCodeSerie::FilePleine);
  boucle.Avance(100);  // 8 characters at 2400 bauds: 33 ms
  EXPECT_EQ(port.OutBuffUsed(), 0u);
  EXPECT_EQ(CodeDe([&] { port.PutString("9"); }), TCodeSerie::Aucun);
}

TEST_F(PortSimule, FileDeReceptionBorneeEtVidage) {
  port.SetOpen(true);
  EXPECT_EQ(CodeDe([&] { port.GetChar(); }), TCodeSerie::RienARecevoir);
  ligne.Emet(std::string(5000, 'a'));
  boucle.TraiteEnAttente();
  EXPECT_EQ(port.InBuffUsed(), TPortSerie::TailleFileDefaut);
  int lus = 0;
  while (port.CharReady()) {
    port.GetChar();
    ++lus;
  }
  EXPECT_EQ(lus, 5000);
  ligne.Emet("abc");
  boucle.TraiteEnAttente();
  port.FlushInBuffer();
  EXPECT_FALSE(port.CharReady());
}

TEST_F(PortSimule, PerteSignaleeUneFoisAuGestionnaire) {
  std::vector<std::string> messages;
  port.SetOnPerte([&](TPortSerie* p, const std::string& m) {
    EXPECT_EQ(p, &port);
    messages.push_back(m);
  });
  Ouvre();
  ligne.Emet("abc");  // an event is due when the line goes
  ligne.Debranche();
  boucle.Avance(1000);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "COM3 : liaison perdue avec /sim/ph (périphérique débranché) ; le port est fermé");
  EXPECT_FALSE(port.Open());
  EXPECT_TRUE(port.Perdu());
  EXPECT_TRUE(recepteur.comptes.empty());
  EXPECT_FALSE(ExistePort(table, 3));
  // Reported already: the polling goes on without a flood of errors.
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(CodeDe([&] {
                port.FlushInBuffer();
                port.PutString("PH?\r");
                EXPECT_FALSE(port.CharReady());
              }),
              TCodeSerie::Aucun);
  }
  // Plugged in again: the port opens, with its settings and handler.
  ligne.Rebranche();
  port.SetOpen(true);
  EXPECT_FALSE(port.Perdu());
  port.PutString("PH?\r");
  boucle.Avance(300);
  EXPECT_EQ(recepteur.recu, " 7.02\r");
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(PortSimule, PerteSansGestionnaireParLaProchaineOperation) {
  port.SetTracing(tlOn);
  Ouvre();
  port.PutString("PH?\r");
  boucle.Avance(300);
  ligne.Debranche();
  boucle.TraiteEnAttente();
  EXPECT_FALSE(port.Open());
  // What was recorded up to the loss is written.
  EXPECT_EQ(LitFichier("port_simule/t.trc"), "Transmit: PH?[0D]\r\n\r\nReceive: [20]7.02[0D]\r\n");
  EXPECT_EQ(CodeDe([&] { port.PutString("PH?\r"); }), TCodeSerie::Perdu);
  EXPECT_EQ(CodeDe([&] { port.PutString("PH?\r"); }), TCodeSerie::Aucun);
  EXPECT_EQ(CodeDe([&] { port.FlushInBuffer(); }), TCodeSerie::Aucun);
  // Closed explicitly, the port is an ordinary closed port again.
  port.SetOpen(false);
  EXPECT_FALSE(port.Perdu());
  EXPECT_EQ(CodeDe([&] { port.PutString("PH?\r"); }), TCodeSerie::NonOuvert);
}
}  // namespace
