// The recent-contacts list: the last twenty or the whole log, newest first.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMouseEvent>

#include "log/findcall.h"
#include "log/form1.h"

namespace fd {
namespace {

// The list's right-button release and focus, which QTreeWidget has no signals for.
class ListEvents : public QObject {
 public:
  ListEvents(Form1* form, QObject* parent) : QObject(parent), form_(form) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::MouseButtonRelease)
      form_->ListView1_MouseUp(mouseButtonCode(static_cast<QMouseEvent*>(e)->button()));
    else if (e->type() == QEvent::FocusIn)
      form_->ListView1_Click();
    return false;
  }

 private:
  Form1* form_;
};

}  // namespace

void Form1::connectList() {
  auto* events = new ListEvents(this, ListView1);
  ListView1->viewport()->installEventFilter(events);
  ListView1->installEventFilter(events);
  connect(ListView1, &QTreeWidget::itemClicked, this, [this] { ListView1_Click(); });
  ListView1->header()->setSectionsClickable(true);
  connect(ListView1->header(), &QHeaderView::sectionClicked, this, [this](int section) { ListView1_ColumnClick(section + 1); });
}

QTreeWidgetItem* Form1::makeListRow(int recNo, bool withOperator) const {
  return new TextItem(listRowTexts(s.Log, recNo, withOperator));
}

void Form1::addListRow(int recNo, bool withOperator) { ListView1->addTopLevelItem(makeListRow(recNo, withOperator)); }

void Form1::FillList() {
  ListView1->clear();
  const int count = s.QsoCount();
  const int oldest = s.ShowWholeLog == 1 ? 1 : std::max(1, count - 19);
  QList<QTreeWidgetItem*> rows;
  rows.reserve(count - oldest + 1);
  for (int i = count; i >= oldest; --i) rows.append(makeListRow(i, true));
  ListView1->addTopLevelItems(rows);
}

void Form1::cmdList_Click() {
  if (s.ShowWholeLog != 0) {
    cmdList->setText(QStringLiteral("Last 20"));
    s.ShowWholeLog = 0;
  } else {
    cmdList->setText(QStringLiteral("All"));
    s.ShowWholeLog = 1;
  }
  FillList();
  txtCall->setFocus(Qt::OtherFocusReason);
}

void Form1::ListView1_Click() {
  if (ListView1->topLevelItemCount() == 0) return;
  cmdEdit->show();
  cmdDelete->show();
}

// One sort, as text; rows added later keep the order they are added in.
void Form1::ListView1_ColumnClick(int column) {
  ListView1->sortItems(column - 1, Qt::AscendingOrder);
  ListView1->setSortingEnabled(false);
}

void Form1::ListView1_MouseUp(int button) {
  if (ListView1->topLevelItemCount() > 0 && button == 2) cmdEdit_Click();
}

void Form1::mnuCopyListtoClipboard_Click() {
  QClipboard* clip = QApplication::clipboard();
  if (!clip) return;
  clip->clear();
  const int columns = ListView1->columnCount();
  QString text;
  const QTreeWidgetItem* head = ListView1->headerItem();
  for (int c = 0; c < columns; ++c) text += head->text(c) + (c + 1 < columns ? QStringLiteral("\t") : QStringLiteral("\r\n"));
  for (int i = ListView1->topLevelItemCount() - 1; i >= 0; --i) {
    const QTreeWidgetItem* row = ListView1->topLevelItem(i);
    for (int c = 0; c < columns; ++c) text += row->text(c) + (c + 1 < columns ? QStringLiteral("\t") : QStringLiteral("\r\n"));
  }
  clip->setText(text);
}

void Form1::mnuListPrevious_Click() {
  // From the mark the operator sees (the menu undoes Qt's own flip before
  // this runs): a stored value other than 0 or 1 leaves the mark off, and the
  // click must then switch the list on.
  QAction* a = menuItem(QStringLiteral("mnuListPrevious"));
  const bool on = a ? !a->isChecked() : s.ListPrevOn == 0;
  s.ListPrevOn = on ? 1 : 0;
  if (a) a->setChecked(on);
  SavePref();
}

}  // namespace fd
