// The real platform's desktop services, on Qt Widgets and Gui: message boxes, the
// clipboard, and the shell that opens documents with the desktop's programs.
#pragma once

#include "platform/dialogue.h"
#include "platform/divers.h"
#include "platform/qt/services_qt.h"

class TDialogueQt final : public TDialogueUtilisateur {
public:
  // `titre`: the caption of every box ("Acquisition RS232").
  explicit TDialogueQt(std::string titre) : titre_(std::move(titre)) {}
  void Information(const std::string& texte) override;
  void Erreur(const std::string& texte) override;
  void Signale(const std::string& texte) override;
  bool Confirme(const std::string& question) override;
  bool Saisie(const std::string& titre, const std::string& invite, std::string& valeur) override;
  std::optional<std::string> ChoisitFichier(bool enregistrer, const std::string& titre, const std::string& filtre,
                                            const std::string& extension) override;
  void Bip(TBip bip) override;
  bool ToucheEnfoncee(TTouche touche) const override;

private:
  std::string titre_;
};

class TPressePapiersQt final : public TPressePapiers {
public:
  void SetTexte(const std::string& texte) override;
  std::string Texte() const override;
};

class TShellBureauQt final : public TShellQt {
protected:
  bool OuvreUrl(const QUrl& url) const override;
};
