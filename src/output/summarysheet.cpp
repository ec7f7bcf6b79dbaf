// "Write Summary Sheet" and "Print Summary Sheet": both open Form2.
#include <memory>

#include "output/form2.h"
#include "output/outputservice.h"
#include "platform/forms.h"
#include "platform/platform.h"

namespace fd {

void OutputService::showSummary() {
  // Built fresh at each opening and destroyed once hidden.
  auto form = std::make_unique<Form2>(s, main ? main->window() : nullptr);
  showModal(form.get());
}

// No printout is made: the summary is a file, which the operator prints
// from a text editor.
void OutputService::mnuPrntSum_Click() {
  if (s.MyCall.size() >= 2 && s.MyClass.size() >= 2 && s.MySection.size() >= 2) {
    showSummary();
    return;
  }
  dialogs().beep();
  dialogs().message(QStringLiteral("Need Class & Section!"), QStringLiteral("Please enter your Call, Class and Section in Setup!"),
                    Buttons::Ok);
}

}  // namespace fd
