#pragma once
// Small widgets with the classic event set the windows are written against.
#include <QLabel>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

namespace fd {

// A label that takes its own mouse events (QLabel passes them to its parent).
class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickLabel(QWidget* parent = nullptr);
  std::function<void(int button)> onMouseDown;  // 1 left, 2 right, 4 middle
  std::function<void()> onClick;
  std::function<void()> onMouseMove;
  // Set on a label that also takes a double click. Its click then waits the
  // desktop's double-click time from the release: a second press within it
  // runs the click and then this, and its release is no click of its own.
  // (Without the wait, a click that opens a window over the label leaves the
  // second press to that window.)
  std::function<void()> onDoubleClick;

  void setBackColor(int colorValue);
  void setForeColor(int colorValue);
  int backColor() const { return back_; }
  int foreColor() const { return fore_; }

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;

 private:
  void restyle();
  void clickNow();
  int back_ = -1, fore_ = -1;
  bool pressed_ = false;
  QTimer clickWait_;          // running: a click waits for a second press
  bool secondPress_ = false;  // the press that made a double click, until its release
};

// A label whose text holds a folder path. It draws its own lines: a path
// that fits a line stays whole on one, one wider than the label breaks after
// a "/" inside it (word wrap would break after its leading "/"). Where the
// lines overflow the label even at the smallest font the window's layout
// gives a caption, the middle of the path gives way to "…" and the whole
// path is the tool tip.
class PathLabel : public ClickLabel {
  Q_OBJECT
 public:
  using ClickLabel::ClickLabel;
  // The text: the path between the words before and after it.
  void setPath(const QString& before, const QString& path, const QString& after);
  // Whether all of the text's lines fit the label at its font.
  bool textFits() const;
  // The lines the label draws its text in.
  QStringList drawnLines() const;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  QStringList linesOf(const QString& text) const;
  int lineRoom() const;
  bool fits(const QString& text) const;
  bool holdsPath() const { return !path_.isEmpty() && text() == before_ + path_ + after_; }
  void updateTip();
  QString before_, path_, after_;
};

// List-view rows compare as text, as the classic list view sorts ("10" before "8").
class TextItem : public QTreeWidgetItem {
 public:
  using QTreeWidgetItem::QTreeWidgetItem;
  bool operator<(const QTreeWidgetItem& other) const override {
    const int col = treeWidget() ? treeWidget()->sortColumn() : 0;
    return text(col) < other.text(col);
  }
};

int mouseButtonCode(Qt::MouseButton b);

}  // namespace fd
