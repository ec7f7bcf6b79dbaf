#pragma once
// GraphQSO: the QSO-rate graph window. It keeps what it draws in a pixmap,
// so the graph drawn while it loads shows once it appears and survives being
// covered.
#include <QDialog>
#include <QPixmap>
#include <array>

#include "core/scaling.h"
#include "log/qsolog.h"
#include "output/graphqso.h"

class QLabel;
class QPushButton;

namespace fd {

// A line control: a thin widget drawing one horizontal or vertical line.
class LineControl : public QWidget {
 public:
  explicit LineControl(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }
  QColor color = Qt::white;
  bool dotted = false;

 protected:
  void paintEvent(QPaintEvent*) override;
};

class GraphQSO : public QDialog {
  Q_OBJECT
 public:
  explicit GraphQSO(const QsoLog& log, QWidget* parent = nullptr);

  TwipLayout layout;
  // Line1..Line4 the frame, then the fifteen grid lines, then Line8 and Line9.
  std::array<LineControl*, 21> lines{};
  LineControl *Line1 = nullptr, *Line2 = nullptr, *Line3 = nullptr, *Line4 = nullptr, *Line8 = nullptr, *Line9 = nullptr;
  std::array<QLabel*, 17> lblY{};
  std::array<QLabel*, 15> lblTime{}, lblDate{};
  QLabel* Label1 = nullptr;
  std::array<QLabel*, 7> lblBnd{};
  QPushButton* Command1 = nullptr;

  RateGraph graph;  // the last drawing's figures
  const QPixmap& surface() const { return surface_; }
  QColor background() const { return background_; }

  void Form_Load();
  void DrawQSORateGraph();
  void Command1_Click();

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const QsoLog& log_;
  QPixmap surface_;
  QColor background_ = Qt::black;
  void setTextColor(QLabel* l, const QColor& c);
};

}  // namespace fd
