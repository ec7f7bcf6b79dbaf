// The main window's layout at the test screen (800 x 600 pixels, 12000 x 9000
// twips), the list columns, and the fit, size and taskbar steps.
#include <QAction>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>

#include "log/form1.h"
#include "testenv.h"

namespace fd {
namespace {

class ShellLayoutTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    form = std::make_unique<Form1>(state, services);
  }
  void TearDown() override { form.reset(); }

  // The load step's order for these pieces.
  void load() {
    state.FormSizePct = 100;
    form->ScaleToScreen();
    form->AddListColumns();
    form->FillSectionGrid();
  }
  QByteArray prefLine(int n) const { return readFile("fdpref.dat").split('\n').value(n - 1).chopped(1); }
  TwipControl& ctl(const QWidget* w) const { return *form->layout.find(w); }
  static QString describe(const QWidget* w) {
    QString text;
    if (auto* l = qobject_cast<const QLabel*>(w)) text = l->text();
    else if (auto* b = qobject_cast<const QPushButton*>(w)) text = b->text();
    return QStringLiteral("%1 \"%2\" at %3,%4 %5x%6")
        .arg(QString::fromLatin1(w->metaObject()->className()), text)
        .arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height());
  }

  Services services;
  std::unique_ptr<Form1> form;
};

// With everything shown that can be (post-contest fields, Edit and Delete),
// every control lies inside the window and no two overlap; the grid cells,
// which reach 15 twips into their neighbours by design, are compared only
// with the other controls.
TEST_F(ShellLayoutTest, NoControlsOverlapAtTheTestScreen) {
  load();
  form->FitFormToScreen();
  ASSERT_TRUE(form->isVisible());
  for (QWidget* w : std::initializer_list<QWidget*>{form->lblPostConTime, form->txtPostConTime, form->lblPostConDate,
                                                    form->txtPostConDate, form->cmdEdit, form->cmdDelete})
    w->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(form->size(), QSize(800, 600));

  QSet<const QWidget*> cells;
  for (ClickLabel* c : form->Label10)
    if (c) cells.insert(c);
  QList<QWidget*> shown;
  for (const TwipControl& c : form->layout.controls)
    if (c.widget && c.widget->isVisible()) shown << c.widget;
  ASSERT_GT(shown.size(), 120);
  const QRect client = form->surface->rect();
  for (qsizetype i = 0; i < shown.size(); ++i) {
    EXPECT_TRUE(client.contains(shown[i]->geometry())) << describe(shown[i]).toStdString();
    for (qsizetype j = i + 1; j < shown.size(); ++j) {
      if (cells.contains(shown[i]) && cells.contains(shown[j])) continue;
      EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
          << describe(shown[i]).toStdString() << " / " << describe(shown[j]).toStdString();
    }
  }
}

TEST_F(ShellLayoutTest, OnlyEntryFieldsAreTabStops) {
  for (const TwipControl& c : form->layout.controls) {
    const bool entry = qobject_cast<KeyBox*>(c.widget) != nullptr;
    EXPECT_EQ(bool(c.widget->focusPolicy() & Qt::TabFocus), entry) << describe(c.widget).toStdString();
  }
}

// Headings in order; widths in proportion to the window width (1.25 here);
// the spot list's Status column stays at 0 whatever the size.
TEST_F(ShellLayoutTest, ListColumns) {
  load();
  auto headings = [](QTreeWidget* t) {
    QStringList out;
    for (int i = 0; i < t->columnCount(); ++i) out << t->headerItem()->text(i);
    return out;
  };
  EXPECT_EQ(headings(form->ListView1), QStringList({"Rec#", "Call", "Class", "Sec", "Date", "Time", "Bnd", "Mode", "Opr"}));
  EXPECT_EQ(headings(form->txtDX),
            QStringList({"Call", "Frequency", "QTH", "Status", "Comments", "Prefix", "Time", "From"}));
  EXPECT_EQ(ctl(form->ListView1).columns,
            (std::vector<double>{750, 1175, 812.5, 750, 875, 1000, 625, 750, 700}));
  EXPECT_EQ(ctl(form->txtDX).columns, (std::vector<double>{1300, 1100, 2500, 0, 4250, 650, 750, 650}));
  EXPECT_LE(form->ListView1->columnWidth(0), 50);  // 750 twips at 15 a pixel, less what the frame takes
  EXPECT_TRUE(form->txtDX->isColumnHidden(3));
  EXPECT_EQ(form->txtDX->headerItem()->textAlignment(1) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

// Twenty rows in the recent-contacts list: its columns fit inside the frame
// and its scroll bar, so no horizontal scroll bar appears.
TEST_F(ShellLayoutTest, ListColumnsFitInsideTheFrame) {
  load();
  for (int i = 0; i < 20; ++i)
    form->ListView1->addTopLevelItem(new QTreeWidgetItem(QStringList{
        QString::number(14000 - i), "VE3ABCDEF", "10A", "ENY", "12/31", "23:59", "160", "DIG", "ABC"}));
  form->show();
  QCoreApplication::processEvents();
  int total = 0;
  for (int i = 0; i < form->ListView1->columnCount(); ++i) total += form->ListView1->columnWidth(i);
  EXPECT_LE(total, form->ListView1->viewport()->width());
  EXPECT_FALSE(form->ListView1->horizontalScrollBar()->isVisible());
}

// The post-contest boxes show a whole time and date at every screen size.
TEST_F(ShellLayoutTest, PostContestBoxesShowAWholeTimeAndDate) {
  const std::pair<double, double> screens[] = {{12000, 9000}, {15360, 11520}, {28800, 16200}, {9600, 7200}};
  for (const auto& [w, h] : screens) {
    SCOPED_TRACE(w);
    fake->screen->w = fake->screen->workW = w;
    fake->screen->h = fake->screen->workH = h;
    form = std::make_unique<Form1>(state, services);
    load();
    for (auto [box, text] : {std::pair{form->txtPostConTime, "18:05:00"}, std::pair{form->txtPostConDate, "2026/12/10"}}) {
      box->setText(text);
      EXPECT_LE(QFontMetrics(box->font()).horizontalAdvance(text), box->contentsRect().width() - 4);
      EXPECT_GE(box->font().pointSizeF(), 4.0);
    }
  }
}

// A refit for the taskbar keeps the size the "Possible Duplicates" list got
// from the call field.
TEST_F(ShellLayoutTest, TaskbarRefitKeepsThePossibleDuplicatesFont) {
  fake->screen->workH = 8550;
  load();
  form->FitFormToScreen();
  int key = 'W';
  form->txtCall_KeyPress(key);
  const double size = form->lblDupe->font().pointSizeF();
  form->mnuTaskbar_Click();
  ASSERT_EQ(state.TaskbarOn, 1);
  EXPECT_DOUBLE_EQ(form->lblDupe->font().pointSizeF(), size);
}

// The taskbar option fits the window to the work area at once, controls and
// spot-list columns by the ratio of the sizes; fonts and the recent-contacts
// columns stay. Toggling again restores the full screen.
TEST_F(ShellLayoutTest, TaskbarFitsTheWorkArea) {
  fake->screen->workW = 11400;
  fake->screen->workH = 8550;
  load();
  form->FitFormToScreen();
  const TwipControl list = ctl(form->ListView1), dx = ctl(form->txtDX), call = ctl(form->txtCall);
  EXPECT_FALSE(form->menuItem("mnuTaskbar")->isChecked());

  form->menuItem("mnuTaskbar")->trigger();
  EXPECT_EQ(state.TaskbarOn, 1);
  EXPECT_EQ(prefLine(12), "1");
  EXPECT_TRUE(form->menuItem("mnuTaskbar")->isChecked());
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->size(), QSize(760, 570));
  const TwipControl& l2 = ctl(form->ListView1);
  EXPECT_DOUBLE_EQ(l2.left, list.left * 0.95);
  EXPECT_DOUBLE_EQ(l2.width, list.width * 0.95);
  EXPECT_DOUBLE_EQ(l2.top, list.top * 0.95);
  EXPECT_DOUBLE_EQ(l2.height, list.height * 0.95);
  EXPECT_EQ(l2.columns, list.columns);
  EXPECT_DOUBLE_EQ(ctl(form->txtDX).columns[2], dx.columns[2] * 0.95);
  EXPECT_DOUBLE_EQ(ctl(form->txtCall).fontSize, call.fontSize);

  form->menuItem("mnuTaskbar")->trigger();
  EXPECT_EQ(state.TaskbarOn, 0);
  EXPECT_EQ(prefLine(12), "0");
  EXPECT_FALSE(form->menuItem("mnuTaskbar")->isChecked());
  EXPECT_EQ(form->size(), QSize(800, 600));
  EXPECT_DOUBLE_EQ(ctl(form->ListView1).width, list.width);
  EXPECT_DOUBLE_EQ(ctl(form->txtDX).columns[2], dx.columns[2]);
}

TEST_F(ShellLayoutTest, TaskbarRefusedBelowFullSize) {
  load();
  state.FormSizePct = 90;
  form->menuItem("mnuTaskbar")->trigger();
  EXPECT_EQ(state.TaskbarOn, 0);
  EXPECT_FALSE(form->menuItem("mnuTaskbar")->isChecked());
  EXPECT_FALSE(QFile::exists(path("fdpref.dat")));
  EXPECT_EQ(fake->dialogs->titles(), QStringList{"Please set your form size to 100% to use this option."});
}

// The answer is clamped to 30..100 first and then rounded half to even.
TEST_F(ShellLayoutTest, FormSizeAnswers) {
  const struct {
    const char* answer;
    int stored;
  } cases[] = {{"150", 100}, {"10", 30},   {"-5", 30},   {"99.5", 100}, {"95.5", 96}, {"94.5", 94},
               {"29.5", 30}, {"30.5", 30}, {" 80 ", 80}, {"abc", -1},   {"", -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    state.FormSizePct = 77;
    fake->dialogs->clear();
    fake->dialogs->inputs = {c.answer};
    form->menuItem("mnuFormsize")->trigger();
    ASSERT_EQ(fake->dialogs->shown.size(), 2);
    EXPECT_EQ(fake->dialogs->shown[0].title, "Please enter screen percentage.");
    EXPECT_EQ(fake->dialogs->shown[0].defaultAnswer, "77");
    if (c.stored < 0) {
      EXPECT_EQ(state.FormSizePct, 77);
      EXPECT_EQ(fake->dialogs->shown[1].title, "Numeric Values Required");
      EXPECT_EQ(fake->dialogs->shown[1].text, "Please enter only numeric values.");
    } else {
      EXPECT_EQ(state.FormSizePct, c.stored);
      EXPECT_EQ(prefLine(9), QByteArray::number(c.stored));
      EXPECT_EQ(fake->dialogs->shown[1].text,
                "This program must be closed and restarted for this setting to take effect.");
    }
  }
}

// Below 100 % the window is that share of the screen, centred, and every
// control, font and column shrinks with it.
TEST_F(ShellLayoutTest, SmallerWindowAtStart) {
  load();
  const TwipControl list = ctl(form->ListView1), dx = ctl(form->txtDX);
  state.FormSizePct = 80;
  form->FitFormToScreen();
  EXPECT_FALSE(form->isVisible());
  form->ScaleFormControls();
  EXPECT_TRUE(form->isVisible());
  EXPECT_DOUBLE_EQ(form->layout.width, 9600);
  EXPECT_DOUBLE_EQ(form->layout.height, 7200);
  EXPECT_DOUBLE_EQ(form->layout.left, 1200);
  EXPECT_DOUBLE_EQ(form->layout.top, 900);
  const TwipControl& l2 = ctl(form->ListView1);
  EXPECT_DOUBLE_EQ(l2.left, list.left * 0.8);
  EXPECT_DOUBLE_EQ(l2.height, list.height * 0.8);
  EXPECT_DOUBLE_EQ(l2.fontSize, list.fontSize * 0.8);
  EXPECT_DOUBLE_EQ(l2.columns[1], list.columns[1] * 0.8);
  EXPECT_DOUBLE_EQ(ctl(form->txtDX).columns[0], dx.columns[0] * 0.8);
}

// A size outside 30..100 read from a hand-edited file is clamped before use.
TEST_F(ShellLayoutTest, StoredSizeOutOfRangeIsClamped) {
  load();
  state.FormSizePct = 0;
  form->FitFormToScreen();
  EXPECT_EQ(state.FormSizePct, 30);
  form->ScaleFormControls();
  EXPECT_DOUBLE_EQ(form->layout.width, 3600);

  form = std::make_unique<Form1>(state, services);
  load();
  state.FormSizePct = 250;
  form->FitFormToScreen();
  EXPECT_EQ(state.FormSizePct, 100);
  EXPECT_TRUE(form->isVisible());
  EXPECT_DOUBLE_EQ(form->layout.width, 12000);
}

}  // namespace
}  // namespace fd
