#include "log/form5.h"

#include "platform/cp1252.h"
#include "platform/platform.h"
#include "platform/safefile.h"
#include "core/windowrules.h"

namespace fd {

Form5::Form5(const ProgramState& state, QWidget* parent) : QDialog(parent), s(state) {
  setWindowTitle(QStringLiteral("Field Day Logging Program Help Page"));
  applyWindowRule(this, "Form5");
  layout.width = 8400;
  layout.height = 6000;
  layout.fontSize = 8.25;

  Text1 = new QPlainTextEdit(this);
  Text1->setReadOnly(true);
  Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);  // a long line wraps, as a multi-line box does
  Text1->setStyleSheet(QStringLiteral("QPlainTextEdit{background-color:#c0c0c0;color:#000000;}"));
  Text1->setFont(designFont(QStringLiteral("Courier New"), 8.25));
  layout.add(Text1, ControlKind::TextBox, 120, 120, 8160, 5160, 8.25);

  Command1 = new QPushButton(QStringLiteral("Close"), this);
  Command1->setAutoDefault(false);
  Command1->setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));
  layout.add(Command1, ControlKind::Button, 3592, 5460, 1215, 375, 8.25);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  Form_Load();
}

void Form5::Form_Load() {
  ResizeForm(layout, display());
  layout.apply(this, display().twipsPerPixel());
  Text1->clear();
  QByteArray bytes;
  if (!readWholeFile(s.progFile(QStringLiteral("readfd.txt")), bytes).ok) return;
  // A line end of the file is one line break of the box.
  QString text = cp1252::decode(bytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  Text1->setPlainText(text);
}

void Form5::Command1_Click() { hide(); }

}  // namespace fd
