#pragma once
// Message, input, colour and file boxes and the beep. The Qt implementation
// shows real boxes; the scripted one answers from a queue and records every
// box and beep, so tests never block on a modal box.
#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

#include "platform/colors.h"

class QWidget;

namespace fd {

enum class Buttons { Ok, YesNo };
// Escape is never returned: a scripted answer standing for Esc or the close
// box, which the box turns into its escape answer.
enum class Answer { Ok, Yes, No, Cancel, Escape };
// The picture beside a message box's text; most boxes have none.
enum class Icon { None, Information, Critical };

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // onEscape: what Esc and the close box answer in a Yes/No box (No unless
  // the caller says otherwise).
  virtual Answer message(const QString& title, const QString& text, Buttons buttons,
                         Answer onEscape = Answer::No, Icon icon = Icon::None) = 0;
  Answer message(const QString& title, const QString& text, Buttons buttons, Icon icon) {
    return message(title, text, buttons, Answer::No, icon);
  }
  // Cancel returns the empty text.
  virtual QString input(const QString& title, const QString& prompt, const QString& defaultAnswer) = 0;
  // Cancel returns nullopt ("no colour").
  virtual std::optional<ColorValue> chooseColor(ColorValue initial) = 0;
  virtual QString openFile(const QString& title, const QString& folder, const QString& filter) = 0;
  virtual QString saveFile(const QString& title, const QString& path, const QString& filter) = 0;
  virtual void beep() = 0;
};

class QtDialogs final : public Dialogs {
 public:
  using Dialogs::message;
  Answer message(const QString& title, const QString& text, Buttons buttons, Answer onEscape = Answer::No,
                 Icon icon = Icon::None) override;
  QString input(const QString& title, const QString& prompt, const QString& defaultAnswer) override;
  std::optional<ColorValue> chooseColor(ColorValue initial) override;
  QString openFile(const QString& title, const QString& folder, const QString& filter) override;
  QString saveFile(const QString& title, const QString& path, const QString& filter) override;
  void beep() override;
};

class ScriptedDialogs final : public Dialogs {
 public:
  struct Shown {
    QString kind;  // "message", "input", "color", "open", "save"
    QString title;
    QString text;
    QString defaultAnswer;
    QString filter;  // file dialogs: the filter as handed to the dialog
    Icon icon = Icon::None;  // message boxes
  };
  // Answers are taken in order; a box with no queued answer is a test failure
  // (reported through the unscripted handler) and is answered with Cancel.
  // Answer::Escape stands for Esc or the close box: the box's escape answer.
  std::deque<Answer> answers;
  std::deque<QString> inputs;
  std::deque<std::optional<ColorValue>> colors;
  std::deque<QString> files;
  QList<Shown> shown;
  int beeps = 0;
  // Called when a box is shown that nothing scripted.
  std::function<void(const QString&)> onUnscripted;
  // Runs while a message box is up, before it is answered: what the event
  // loop of a real box would let happen meanwhile (a close, a timer).
  std::function<void(const Shown&)> whileShown;

  using Dialogs::message;
  Answer message(const QString& title, const QString& text, Buttons buttons, Answer onEscape = Answer::No,
                 Icon icon = Icon::None) override;
  QString input(const QString& title, const QString& prompt, const QString& defaultAnswer) override;
  std::optional<ColorValue> chooseColor(ColorValue initial) override;
  QString openFile(const QString& title, const QString& folder, const QString& filter) override;
  QString saveFile(const QString& title, const QString& path, const QString& filter) override;
  void beep() override { ++beeps; }

  QStringList titles() const;
  void clear() { shown.clear(); beeps = 0; }

 private:
  void unscripted(const QString& what);
};

}  // namespace fd
