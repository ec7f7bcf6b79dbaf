#include "core/windowrules.h"

#include <QWidget>
#include <cstring>

namespace fd {

namespace {
using enum EscKey;
constexpr bool box = true, none = false;

constexpr NamedWindowRule kRules[] = {
    // window             Esc         close box  min/max  own window
    {"frmVarikLogo",     {Close,      none,      false,   false}},  // drawn without a frame
    {"frmStationID",     {Close,      box,       false,   false}},
    {"frmEditCon",       {Cancel,     box,       false,   false}},
    {"frmFind",          {Close,      box,       false,   false}},
    {"frmOperator",      {Close,      box,       false,   false}},
    {"Form5",            {Close,      box,       false,   false}},
    {"Form6",            {Close,      box,       false,   false}},
    {"frmBackup",        {Done,       box,       false,   false}},
    {"Form2",            {Close,      box,       false,   false}},
    {"Form3",            {Close,      box,       false,   false}},
    {"frmbndstats",      {Close,      box,       false,   false}},
    {"GraphQSO",         {Close,      box,       false,   false}},
    {"SectionMap",       {Close,      box,       false,   false}},
    {"CWFrm",            {Done,       none,      false,   true}},
    {"frmCWStrings",     {MainWindow, box,       false,   true}},
    {"frmCodePractice",  {Close,      box,       false,   false}},
    {"frmWinKey",        {Close,      box,       false,   false}},
    {"PhoneFrm",         {Done,       box,       false,   true}},
    {"BlindFrm",         {Close,      box,       false,   true}},
    {"RigControlfrm",    {Done,       box,       false,   true}},
    {"frmFrequencyTest", {Close,      box,       false,   false}},
    {"frmRigTune",       {Close,      box,       false,   false}},
    {"frmBandPlan",      {Close,      box,       false,   false}},
    {"PacketSpotfrm",    {Own,        box,       true,    true}},
    {"SpectrumMap",      {Close,      box,       false,   false}},
};
}  // namespace

std::span<const NamedWindowRule> windowRules() { return kRules; }

void applyWindowRule(QWidget* window, const char* name, std::function<void()> action) {
  for (const NamedWindowRule& r : kRules)
    if (std::strcmp(r.window, name) == 0) {
      window->setObjectName(QString::fromLatin1(name));
      applyWindowRule(window, r.rule, std::move(action));
      return;
    }
  Q_ASSERT_X(false, "applyWindowRule", name);
}

}  // namespace fd
