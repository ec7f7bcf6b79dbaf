#pragma once
// frmDigitalSource: the never-shown holder of the twenty texts linked to the
// Zell RTTY program (the protocol is in zelllink.h). Each txtB text pokes
// itself to the program when it changes; the program's txtSUrCall, txtSField1
// and txtSField2 land in the main window's call, class and section fields.
#include <QString>
#include <QStringList>
#include <map>

#include "core/mainwindow.h"
#include "core/state.h"
#include "keying/zelllink.h"

namespace fd {

class DigitalSource {
 public:
  // The boxes in the window's control order; each is also its item's name.
  static const QStringList& boxNames();

  DigitalSource(ProgramState& state, MainWindow* main, QString serverName = kZellServerName);

  QString text(const QString& box) const;
  // A box's text replaced; an equal text is no change and does nothing.
  void setText(const QString& box, const QString& text);

  // Empties and links every box; DigLinkUp tells the outcome.
  void ConnectWithZell();
  // The main window's SendToZell: the own call, class and section.
  void SendToZell();

  bool linked() const { return link_.isOpen(); }
  ZellLink& link() { return link_; }

  static constexpr int kConnectLimitMs = 2000;

 private:
  void receive(const QString& item, const QString& text);
  void changed(const QString& box);

  ProgramState& s;
  MainWindow* main_;
  QString serverName_;
  std::map<QString, QString> texts_;
  ZellLink link_;
};

}  // namespace fd
