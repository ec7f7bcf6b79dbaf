// The section grid: a click fills the section field, the pointer over a
// section shows its contacts in the hover box, and the colours window sets
// the worked and remaining colours.
#include <memory>

#include "log/form1.h"
#include "log/form6.h"
#include "log/sectionhover.h"
#include "platform/forms.h"
#include "platform/platform.h"

namespace fd {

void Form1::Label10_Click(int index) {
  if (index < 1 || index > kSecTotal || !Label10[static_cast<size_t>(index)]) return;
  txtSec->setText(Label10[static_cast<size_t>(index)]->text());
}

void Form1::Label10_MouseMove(int index) {
  if (index < 1 || index > kSecTotal || !Label10[static_cast<size_t>(index)]) return;
  // The caption is what ties a label to the log.
  const SectionCounts counts = countSection(s.Log, Label10[static_cast<size_t>(index)]->text());
  // The size is set each time and kept for whatever the box shows next; the
  // layout keeps it too, so a refit of the window does not put it back.
  const double points = sectionHoverFontPoints(display().widthTwips(), clampedFormSize(s.FormSizePct));
  QFont f = lblDupe->font();
  f.setPointSizeF(std::max(1.0, points));
  lblDupe->setFont(f);
  if (TwipControl* c = layout.find(lblDupe)) c->fontSize = points;
  lblDupe->setText(sectionHoverText(s.SecFullName.value(index), counts));
}

void Form1::Form_MouseMove() { lblDupe->setText(QString()); }

void Form1::mnuColors_Click() {
  {
    auto colors = std::make_unique<Form6>(s, this);
    showModal(colors.get());
  }
  SavePref();
  book.mnuopen2();
}

}  // namespace fd
