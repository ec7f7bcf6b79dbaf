#pragma once
// frmCWStrings "CW Strings": the message of every function key, sent by a
// click on its row; every key goes on to the main window's handlers.
#include <QWidget>
#include <array>

#include "core/mainwindow.h"
#include "core/scaling.h"

class QPushButton;

namespace fd {

class CWKeyer;
class ClickLabel;
class KeyPreviewFilter;
struct ProgramState;

class frmCWStrings : public QWidget {
  Q_OBJECT
 public:
  frmCWStrings(CWKeyer& keyer, ProgramState& state, MainWindow* main, QWidget* parent = nullptr);

  std::array<ClickLabel*, 12> Label1{}, lblCWString{};
  QPushButton* Command1 = nullptr;  // Done
  TwipLayout layout;
  std::function<void()> onClosed;  // the close box unloads the window

  void refresh();               // Form_Activate
  void rowClicked(int index);   // Label1_Click, lblCWString_Click

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  CWKeyer& k_;
  ProgramState& s_;
  MainWindow* main_;
};

}  // namespace fd
