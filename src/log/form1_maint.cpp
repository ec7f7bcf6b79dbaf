// Log maintenance from the main window: edit and delete the contact of the
// selected list row, find a call, change the operator.
#include "log/form1.h"
#include "log/frmeditcon.h"
#include "log/frmfind.h"
#include "log/frmoperator.h"
#include "platform/forms.h"
#include "platform/platform.h"

namespace fd {

int Form1::selectedRecord() const {
  const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
  if (selected.isEmpty()) return 0;
  bool ok = false;
  const int n = selected.first()->text(0).toInt(&ok);
  return ok && n >= 1 && n <= s.QsoCount() ? n : 0;
}

void Form1::cmdDelete_Click() {
  const int k = selectedRecord();
  if (k == 0) return;
  const Answer answer =
      dialogs().message(QStringLiteral("Are you sure?"), QStringLiteral("Are you sure?"), Buttons::YesNo);
  cmdEdit->hide();
  cmdDelete->hide();
  if (answer != Answer::Yes) return;

  const QsoRecord removed = s.Log.rec(k);
  s.Log.remove(k);
  s.LastBackupCount -= 1;
  if (!book.rewrite().ok) {
    // The file still holds the record (the rewrite told the operator); put it
    // back so memory and fdlog.dat stay in step.
    auto& records = s.Log.records();
    records.insert(records.begin() + (k - 1), removed);
    s.LastBackupCount += 1;
    return;
  }
  txtCall->setFocus();
  book.mnuopen2();
}

void Form1::cmdEdit_Click() {
  const int recNo = selectedRecord();
  if (recNo == 0) return;
  const QsoRecord before = s.Log.rec(recNo);
  const int countBefore = s.QsoCount();
  {
    frmEditCon edit(s, recNo, this);
    edit.deleteDupe = [this] { cmdDelete_Click(); };
    showModal(&edit);
  }
  FillList();
  cmdEdit->hide();
  cmdDelete->hide();
  if (!book.rewrite().ok) {
    // The old file is whole; undo the edit so memory matches it. A Delete
    // Dupe has already settled its own record.
    if (s.QsoCount() == countBefore) s.Log.rec(recNo) = before;
    FillList();
    return;
  }
  book.mnuopen2();
}

void Form1::cmdFind_Click() {
  s.FindActive = 1;
  frmFind find(s, ListView1, this);
  showModal(&find);
}

void Form1::mnuOperator_Click() {
  frmOperator op(s, this);
  showModal(&op);
}

}  // namespace fd
