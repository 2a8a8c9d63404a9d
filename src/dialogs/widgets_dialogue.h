// Qt pieces shared by the dialogs: text conversions, a radio group laid out in
// columns, and the hint of a control (its short part as tooltip, the whole kept for
// the main window's title line).
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QGridLayout;
class QRadioButton;

inline QString EnQString(const std::string& texte) { return QString::fromUtf8(texte.data(), static_cast<qsizetype>(texte.size())); }
inline std::string EnTexte(const QString& texte) { return texte.toUtf8().toStdString(); }

// The hint of a control, "court|long": the short part is its tooltip; the whole is
// kept as the property "indice" for the main window's hint line.
void PoseIndice(QWidget* controle, const std::string& indice);
// The long part of a hint: after the first '|', or the whole when it has none.
std::string IndiceLong(const std::string& indice);

// A radio group whose items fill `colonnes` columns, row by row.
class TGroupeRadio : public QGroupBox {
public:
  TGroupeRadio(const QString& titre, int colonnes, QWidget* parent = nullptr);
  // Replaces the items (nothing chosen until SetIndex).
  void SetItems(const std::vector<std::string>& items);
  // -1 chooses nothing. Does not call the click handler.
  void SetIndex(int index);
  int Index() const;
  int Nombre() const { return static_cast<int>(boutons_.size()); }
  QRadioButton* Bouton(int index) const;
  // Called with the item the user clicked.
  std::function<void(int)> SurClic;

private:
  QButtonGroup groupe_;
  QGridLayout* grille_;
  int colonnes_;
  std::vector<QRadioButton*> boutons_;
};

struct TGroupePorts;
// Shows a port list (or any list of choices) of a dialog model in a radio group:
// items replaced only when they differ, caption, choice and visibility.
void RemplitGroupe(TGroupeRadio* groupe, const TGroupePorts& ports);

class QKeyEvent;
class QToolButton;

// The character a key press types, as the engine's key filters see it: Enter is 13;
// 0 for keys that type nothing (arrows, Delete, function keys), which no filter sees.
char32_t CaractereTouche(const QKeyEvent& touche);

// Puts a key filter on an edit: `filtre` gets each typed character and sets it to 0
// to swallow it; a character it changes is typed instead.
void FiltreFrappe(QWidget* edit, std::function<void(char32_t&)> filtre);

// Two small arrow buttons, one above the other (or side by side), like an up/down
// control with no value of its own.
class TBoutonsHautBas : public QWidget {
public:
  explicit TBoutonsHautBas(Qt::Orientation orientation, QWidget* parent = nullptr);
  QToolButton* Haut() const { return haut_; }
  QToolButton* Bas() const { return bas_; }
  std::function<void()> SurHaut;
  std::function<void()> SurBas;

private:
  QToolButton* haut_;
  QToolButton* bas_;
};
