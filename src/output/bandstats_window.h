#pragma once
// frmbndstats: contacts by band group and operator, counted when it loads.
#include <QDialog>
#include <array>

#include "core/scaling.h"
#include "log/qsolog.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace fd {

class frmbndstats : public QDialog {
  Q_OBJECT
 public:
  explicit frmbndstats(const QsoLog& log, QWidget* parent = nullptr);

  TwipLayout layout;
  QLabel* Label1 = nullptr;
  std::array<QLabel*, 8> Label2{};
  std::array<QLabel*, 4> Label3{};
  std::array<QLabel*, 15> lblcon{};
  QTreeWidget* ListView1 = nullptr;
  QPushButton* Command1 = nullptr;

  void Form_Load();
  void Command1_Click() { hide(); }

 private:
  const QsoLog& log_;
};

}  // namespace fd
