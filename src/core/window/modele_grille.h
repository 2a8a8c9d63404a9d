// The engine's grid as a Qt table model: rows 0 and 1 of the grid (names and units)
// are the header, row k + 2 is table row k.
#pragma once

#include <QAbstractTableModel>

class TGrilleVue;

class TModeleGrille final : public QAbstractTableModel {
public:
  explicit TModeleGrille(const TGrilleVue& grille, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The grid changed: rows or columns added or removed, cells rewritten.
  void Actualise();

private:
  const TGrilleVue& grille_;
  int lignes_ = 0;
  int colonnes_ = 0;
};
