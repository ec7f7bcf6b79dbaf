#pragma once
// A main window for the subsystems' tests: records every call, keeps the
// entry fields as plain texts and reloads through a real LogBook when given one.
#include <QStringList>
#include <QTreeWidget>
#include <QWidget>
#include <array>
#include <memory>

#include "core/mainwindow.h"
#include "core/prefs.h"
#include "core/scaling.h"
#include "core/spotview.h"
#include "core/state.h"
#include "log/logbook.h"
#include "platform/keys.h"
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
  void setRadioLost(bool lost) override { calls << QStringLiteral("setRadioLost %1").arg(lost ? 1 : 0); }
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
  // Records the keys handed on; a key code in cancelKeys is cancelled.
  struct Keys : KeyPreview {
    QStringList seen;
    QList<int> cancelKeys;
    std::function<void(int)> onKeyDown;
    void previewKeyDown(int& k, int& shift) override {
      seen << QStringLiteral("down %1 %2").arg(k).arg(shift);
      if (onKeyDown) onKeyDown(k);
      if (cancelKeys.contains(k)) k = 0;
    }
    void previewKeyPress(int& k) override { seen << QStringLiteral("press %1").arg(k); }
  } keys;
  KeyPreview* keyPreview() override { return &keys; }
  QString caption() const override { return captionText; }
  QString captionText = QStringLiteral("Varik Software Field Day Log 1.0").leftJustified(60, u' ');

  // The spot area: a real list and label on the fake's parent widget.
  struct View : SpotView {
    explicit View(QWidget* p) : list(p), area(p), line(p) {
      list.setColumnCount(8);
      area.hide();
      list.hide();
      line.hide();
      layout.width = 12000;
      layout.height = 9000;
      layout.add(&area, ControlKind::Label, 0, 8000, 12000, 400);
      layout.add(&list, ControlKind::ListView, 0, 8000, 12000, 400);
      TwipControl& c = layout.add(&line, ControlKind::Line, 0, 8200, 12000, 0);
      c.x1 = 0, c.y1 = 8200, c.x2 = 12000, c.y2 = 8200;
      for (auto& l : spots) {
        l = std::make_unique<ClickLabel>(p);
        l->hide();
        layout.add(l.get(), ControlKind::Label, 0, 8000, 600, 195);
      }
      for (auto& l : scale) {
        l = std::make_unique<ClickLabel>(p);
        l->hide();
        layout.add(l.get(), ControlKind::Label, 0, 8300, 700, 195);
      }
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
    QWidget line;
    std::array<std::unique_ptr<ClickLabel>, 50> spots;
    std::array<std::unique_ptr<ClickLabel>, 5> scale;
    TwipLayout layout;
    double clientHeight = 9000;
    int tabs = 0;
    QWidget* bandMapLine() override { return &line; }
    ClickLabel* spotLabel(int i) override { return spots[static_cast<size_t>(i)].get(); }
    ClickLabel* scaleLabel(int k) override { return scale[static_cast<size_t>(k)].get(); }
    TwipLayout& layoutTable() override { return layout; }
    void applyLayout() override {}
    double clientHeightTwips() const override { return clientHeight; }
    void tabFromCall() override { ++tabs; }
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
