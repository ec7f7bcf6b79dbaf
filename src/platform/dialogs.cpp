#include "platform/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>

#include "platform/forms.h"

namespace fd {

namespace {
// In test mode a real box would wait for a click that never comes: report it
// and answer as Cancel would.
bool refusedInTests(const QString& what) {
  if (!testMode()) return false;
  reportUnhandled(QStringLiteral("%1 shown with the real dialogs installed").arg(what));
  return true;
}
}  // namespace

Answer QtDialogs::message(const QString& title, const QString& text, Buttons buttons, Answer onEscape, Icon icon) {
  if (refusedInTests(QStringLiteral("message box \"%1\"").arg(title))) return Answer::Cancel;
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(title);
  box.setText(text);
  box.setIcon(icon == Icon::Information ? QMessageBox::Information
              : icon == Icon::Critical  ? QMessageBox::Critical
                                        : QMessageBox::NoIcon);
  setDialogFrame(&box);
  // The box is at least as wide as its title with the frame's buttons.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    const int titleWidth = QFontMetrics(QApplication::font()).horizontalAdvance(title) + 120;
    grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
  }
  if (buttons == Buttons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    // Qt would take No for Esc and the close box; the caller says which.
    box.setEscapeButton(onEscape == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return Answer::Ok;
}

QString QtDialogs::input(const QString& title, const QString& prompt, const QString& defaultAnswer) {
  if (refusedInTests(QStringLiteral("input box \"%1\"").arg(title))) return {};
  bool ok = false;
  const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                             QLineEdit::Normal, defaultAnswer, &ok);
  return ok ? text : QString();
}

std::optional<ColorValue> QtDialogs::chooseColor(ColorValue initial) {
  if (refusedInTests(QStringLiteral("colour dialog"))) return std::nullopt;
  const QColor c = QColorDialog::getColor(toQColor(initial), QApplication::activeWindow());
  if (!c.isValid()) return std::nullopt;
  return fromQColor(c);
}

QString QtDialogs::openFile(const QString& title, const QString& folder, const QString& filter) {
  if (refusedInTests(QStringLiteral("open dialog \"%1\"").arg(title))) return {};
  return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, folder, filter);
}

QString QtDialogs::saveFile(const QString& title, const QString& path, const QString& filter) {
  if (refusedInTests(QStringLiteral("save dialog \"%1\"").arg(title))) return {};
  return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, path, filter);
}

void QtDialogs::beep() { QApplication::beep(); }

void ScriptedDialogs::unscripted(const QString& what) {
  if (onUnscripted) onUnscripted(what);
}

Answer ScriptedDialogs::message(const QString& title, const QString& text, Buttons buttons, Answer onEscape,
                                Icon icon) {
  shown.append({QStringLiteral("message"), title, text, {}, {}, icon});
  if (whileShown) whileShown(Shown(shown.back()));  // a copy: what runs may show more boxes
  if (buttons == Buttons::Ok) return Answer::Ok;  // an OK box needs no script and takes no answer
  if (answers.empty()) {
    unscripted(QStringLiteral("message box \"%1\"").arg(title));
    return Answer::Cancel;
  }
  const Answer a = answers.front();
  answers.pop_front();
  return a == Answer::Escape ? onEscape : a;
}

QString ScriptedDialogs::input(const QString& title, const QString& prompt, const QString& defaultAnswer) {
  shown.append({QStringLiteral("input"), title, prompt, defaultAnswer, {}});
  if (inputs.empty()) {
    unscripted(QStringLiteral("input box \"%1\"").arg(title));
    return {};
  }
  const QString a = inputs.front();
  inputs.pop_front();
  return a;
}

std::optional<ColorValue> ScriptedDialogs::chooseColor(ColorValue initial) {
  shown.append({QStringLiteral("color"), {}, {}, QString::number(initial), {}});
  if (colors.empty()) {
    unscripted(QStringLiteral("colour dialog"));
    return std::nullopt;
  }
  const auto a = colors.front();
  colors.pop_front();
  return a;
}

QString ScriptedDialogs::openFile(const QString& title, const QString& folder, const QString& filter) {
  shown.append({QStringLiteral("open"), title, folder, {}, filter});
  if (files.empty()) {
    unscripted(QStringLiteral("open dialog \"%1\"").arg(title));
    return {};
  }
  const QString a = files.front();
  files.pop_front();
  return a;
}

QString ScriptedDialogs::saveFile(const QString& title, const QString& path, const QString& filter) {
  shown.append({QStringLiteral("save"), title, path, {}, filter});
  if (files.empty()) {
    unscripted(QStringLiteral("save dialog \"%1\"").arg(title));
    return {};
  }
  const QString a = files.front();
  files.pop_front();
  return a;
}

QStringList ScriptedDialogs::titles() const {
  QStringList out;
  for (const auto& s : shown) out << s.title;
  return out;
}

}  // namespace fd
