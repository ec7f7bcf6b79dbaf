#pragma once
// Small widgets with the classic event set the windows are written against.
#include <QLabel>
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

  void setBackColor(int colorValue);
  void setForeColor(int colorValue);
  int backColor() const { return back_; }
  int foreColor() const { return fore_; }

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;

 private:
  void restyle();
  int back_ = -1, fore_ = -1;
  bool pressed_ = false;
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
