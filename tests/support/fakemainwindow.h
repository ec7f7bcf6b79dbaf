#pragma once
// A main window for the subsystems' tests: records every call, keeps the
// entry fields as plain texts and reloads through a real LogBook when given one.
#include <QStringList>
#include <QTreeWidget>
#include <QWidget>
#include <memory>

#include "core/mainwindow.h"
#include "core/prefs.h"
#include "core/spotview.h"
#include "core/state.h"
#include "log/logbook.h"
#include "platform/widgets.h"

namespace fd::test {

class FakeMainWindow : public MainWindow {
 public:
  explicit FakeMainWindow(ProgramState* state = nullptr, LogBook* book = nullptr) : s_(state), book_(book) {}

  QStringList calls;          // "Mains", "selectBand 20", "setStatus text", ...
  QString call, cls, section;
  QString status;
  ColorValue statusBack = 0;
  bool statusBackSet = false;
  int saves = 0, reloads = 0, prefSaves = 0, focusCalls = 0;
  // What Mains does; by default records the call and empties the fields.
  std::function<void()> onMains;
  QWidget parent;

  QString fieldText(Field f) const override { return ref(f); }
  void setFieldText(Field f, const QString& text) override {
    calls << QStringLiteral("setFieldText %1 %2").arg(int(f)).arg(text);
    const_cast<QString&>(ref(f)) = text;
  }
  void Mains() override {
    calls << QStringLiteral("Mains");
    ++saves;
    if (onMains) onMains();
  }
  void selectBand(const QString& band) override {
    calls << QStringLiteral("selectBand ") + band;
    if (s_ && kBands.contains(band)) s_->CurBand = band;
  }
  void selectMode(const QString& mode) override {
    calls << QStringLiteral("selectMode ") + mode;
    if (s_ && kModes.contains(mode)) s_->CurMode = mode;
  }
  void setCurFreq(const QString& mhz) override {
    calls << QStringLiteral("setCurFreq ") + mhz;
    if (s_) s_->CurFreq = mhz;
  }
  void setStatus(const QString& text) override {
    calls << QStringLiteral("setStatus ") + text;
    status = text;
  }
  void setStatus(const QString& text, ColorValue back) override {
    calls << QStringLiteral("setStatus ") + text;
    status = text;
    statusBack = back;
    statusBackSet = true;
  }
  QString statusText() const override { return status; }
  void mnuopen2() override {
    calls << QStringLiteral("mnuopen2");
    ++reloads;
    if (book_) book_->mnuopen2();
  }
  void SavePref() override {
    calls << QStringLiteral("SavePref");
    ++prefSaves;
    if (s_) prefs::SavePref(*s_);
  }
  void focusCall() override {
    calls << QStringLiteral("focusCall");
    ++focusCalls;
  }
  QWidget* window() override { return &parent; }
  QString caption() const override { return captionText; }
  QString captionText = QStringLiteral("Varik Software Field Day Log 1.0").leftJustified(60, u' ');

  // The spot area: a real list and label on the fake's parent widget.
  struct View : SpotView {
    explicit View(QWidget* p) : list(p), area(p) {
      list.setColumnCount(8);
      area.hide();
      list.hide();
    }
    QTreeWidget list;
    ClickLabel area;
    QString dupe;
    ColorValue back = 0;
    QTreeWidget* spotList() override { return &list; }
    ClickLabel* bandMapArea() override { return &area; }
    void setDupeLine(const QString& text, ColorValue b) override {
      dupe = text;
      back = b;
    }
    QString dupeLine() const override { return dupe; }
    ColorValue dupeBack() const override { return back; }
  };
  View view{&parent};
  SpotView* spotView() override { return &view; }

 private:
  const QString& ref(Field f) const {
    switch (f) {
      case Field::Call: return call;
      case Field::Class: return cls;
      case Field::Section: return section;
    }
    return call;
  }
  ProgramState* s_;
  LogBook* book_;
};

}  // namespace fd::test
