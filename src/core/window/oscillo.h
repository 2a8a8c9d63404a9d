// The plot's paint box: the plot is kept in an image that the engine draws single
// points and crosshairs on between repaints, shown in paintEvent; the mouse gives
// the readout and drags the axes; two up/down controls zoom the axes.
#pragma once

#include <QImage>
#include <QWidget>

#include <memory>

class QPainter;
class TCinetiqueMain;
class TSurfaceQt;
class TBoutonsHautBas;

class TOscillo final : public QWidget {
public:
  explicit TOscillo(TCinetiqueMain& moteur, QWidget* parent = nullptr);
  ~TOscillo() override;

  // A full repaint is due (the engine asked for one): done at the next paint.
  void Invalide();
  // The image as shown (drawn again first when a repaint is due).
  const QImage& Image();
  TBoutonsHautBas* XUpDown() const { return xUpDown_; }
  TBoutonsHautBas* YUpDown() const { return yUpDown_; }
  int Repeints() const { return repeints_; }

  // The zoom controls: up doubles the range, down halves it.
  void XUpDownChangingEx(bool haut);
  void YUpDownChangingEx(bool haut);

protected:
  void paintEvent(QPaintEvent* evenement) override;
  void resizeEvent(QResizeEvent* evenement) override;
  void mousePressEvent(QMouseEvent* evenement) override;
  void mouseMoveEvent(QMouseEvent* evenement) override;
  void mouseReleaseEvent(QMouseEvent* evenement) override;

private:
  void Prepare();
  void Redessine();
  void PlaceFleches();

  TCinetiqueMain& moteur_;
  QImage image_;
  std::unique_ptr<QPainter> peintre_;
  std::unique_ptr<TSurfaceQt> surface_;
  TBoutonsHautBas* xUpDown_;
  TBoutonsHautBas* yUpDown_;
  bool aRedessiner_ = true;
  bool presse_ = false;
  int repeints_ = 0;
};
