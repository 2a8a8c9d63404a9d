// The grid's table model.
#include "core/window/modele_grille.h"

#include "core/vue_modele.h"

namespace {
QString Q(const std::string& t) { return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())); }
constexpr int LignesFixes = 2;
}  // namespace

TModeleGrille::TModeleGrille(const TGrilleVue& grille, QObject* parent) : QAbstractTableModel(parent), grille_(grille) {
  lignes_ = std::max(grille_.NbLignes() - LignesFixes, 0);
  colonnes_ = grille_.NbColonnes();
}

int TModeleGrille::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : lignes_; }
int TModeleGrille::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : colonnes_; }

QVariant TModeleGrille::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) return Q(grille_.Cellule(index.column(), index.row() + LignesFixes));
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  return {};
}

QVariant TModeleGrille::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  if (orientation == Qt::Horizontal) return Q(grille_.Cellule(section, 0)) + "\n" + Q(grille_.Cellule(section, 1));
  return section + 1;
}

void TModeleGrille::Actualise() {
  const int lignes = std::max(grille_.NbLignes() - LignesFixes, 0);
  const int colonnes = grille_.NbColonnes();
  if (colonnes != colonnes_) {
    beginResetModel();
    lignes_ = lignes;
    colonnes_ = colonnes;
    endResetModel();
    return;
  }
  if (lignes > lignes_) {
    beginInsertRows(QModelIndex(), lignes_, lignes - 1);
    lignes_ = lignes;
    endInsertRows();
  } else if (lignes < lignes_) {
    beginRemoveRows(QModelIndex(), lignes, lignes_ - 1);
    lignes_ = lignes;
    endRemoveRows();
  }
  if (lignes_ > 0 && colonnes_ > 0) emit dataChanged(index(0, 0), index(lignes_ - 1, colonnes_ - 1));
  emit headerDataChanged(Qt::Horizontal, 0, colonnes_ - 1);
}
