#include "core/adaptateurs_bibliotheques.h"

#include "instruments/appareil.h"
#include "util/nombres.h"

namespace {
// A channel's own copy of a built-in definition: every field, the live state included.
class TCopieAppareil final : public Tappareil {
public:
  explicit TCopieAppareil(const Tappareil& modele) : Tappareil(modele) {
    GroupBoxApp = StableApp = LabelApp = nullptr;
    VoieSerie = nullptr;
    VoieSerieOK = false;
  }
};

std::vector<TMetreUSB> Table(const TOrigalys& liste) {
  std::vector<TMetreUSB> metres;
  for (int j = 0; j < liste.NombreApp; ++j) {
    const TAppareilOrigalys& a = *liste.Appareil[static_cast<std::size_t>(j)];
    metres.push_back({a.ident, a.path, a.connecte});
  }
  return metres;
}
}  // namespace

TAdaptateursBibliotheques::TAdaptateursBibliotheques(TBoucleEvenements& horloge, TDialogueUtilisateur& dialogue,
                                                     std::unique_ptr<TBibliotheque> usb,
                                                     std::unique_ptr<TBibliotheque> boitier)
    : usbTrouvee_(usb != nullptr),
      boitierTrouve_(boitier != nullptr),
      ListeUSB(std::move(usb), dialogue),
      Boitier(std::move(boitier), horloge) {}

TAdaptateursBibliotheques::~TAdaptateursBibliotheques() = default;

std::vector<TMetreUSB> TAdaptateursBibliotheques::EnumereUSB() {
  ListeUSB.Init();
  // The meter objects are new: the old references go, each use finds its meter again.
  for (auto& [cle, copie] : copies_) copie->appareilOrigalys = nullptr;
  enumere_ = true;
  return Table(ListeUSB);
}

std::vector<TMetreUSB> TAdaptateursBibliotheques::MetresConnus() const { return Table(ListeUSB); }

std::vector<TMetreUSB> TAdaptateursBibliotheques::MetresUSB() {
  if (!enumere_) return EnumereUSB();
  return Table(ListeUSB);
}

Tappareil* TAdaptateursBibliotheques::DefinitionMetre(Tappareil& modele, const TMetreUSB& metre) {
  auto& copie = copies_[{modele.NomAppareil, metre.chemin}];
  if (!copie) copie = std::make_unique<TCopieAppareil>(modele);
  copie->pathOrigalys = metre.chemin;
  copie->appareilOrigalys = ListeUSB.Cherche(copie->identOrigalys, metre.chemin);
  return copie.get();
}

TAppareilOrigalys* TAdaptateursBibliotheques::Metre(Tappareil& A) {
  TAppareilOrigalys* m = ListeUSB.Cherche(A.identOrigalys, A.pathOrigalys);
  A.appareilOrigalys = m;
  return m;
}

bool TAdaptateursBibliotheques::LieUSB(Tappareil& A) {
  if (!UsbCharge()) return false;
  if (!enumere_) EnumereUSB();
  if (A.pathOrigalys.empty()) {
    for (int j = 0; j < ListeUSB.NombreApp; ++j) {
      const TAppareilOrigalys& m = *ListeUSB.Appareil[static_cast<std::size_t>(j)];
      if (m.connecte && m.ident == A.identOrigalys) A.pathOrigalys = m.path;
    }
  }
  const TAppareilOrigalys* m = Metre(A);
  return m && m->connecte;
}

double TAdaptateursBibliotheques::ValeurUSB(Tappareil& A) {
  TAppareilOrigalys* m = Metre(A);
  return m ? m->GetValeur(A.Demande) : PasDeValeur;
}

std::unique_ptr<TAdaptateursBibliotheques> ChargeAdaptateurs(TPlateforme& plateforme) {
  auto usb = plateforme.bibliotheques.Charge(NomBibliothequeUSB);
  auto boitier = plateforme.bibliotheques.Charge(NomBibliothequeBoitier);
  return std::make_unique<TAdaptateursBibliotheques>(plateforme.boucle, plateforme.dialogue, std::move(usb),
                                                     std::move(boitier));
}
