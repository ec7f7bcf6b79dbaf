#include "keying/digitalsource.h"

#include "platform/platform.h"
#include "platform/wait.h"

namespace fd {
namespace {

QStringList makeBoxNames() {
  QStringList names;
  for (const char* side : {"B", "S"}) {
    names << QStringLiteral("txt%1MyCall").arg(QLatin1String(side)) << QStringLiteral("txt%1UrCall").arg(QLatin1String(side));
    for (int i = 1; i <= 8; ++i) names << QStringLiteral("txt%1Field%2").arg(QLatin1String(side)).arg(i);
  }
  return names;
}

// The program's boxes that fill the main window's entry fields.
const std::map<QString, MainWindow::Field> kIncoming = {
    {QStringLiteral("txtSUrCall"), MainWindow::Field::Call},
    {QStringLiteral("txtSField1"), MainWindow::Field::Class},
    {QStringLiteral("txtSField2"), MainWindow::Field::Section},
};

}  // namespace

const QStringList& DigitalSource::boxNames() {
  static const QStringList names = makeBoxNames();
  return names;
}

DigitalSource::DigitalSource(ProgramState& state, MainWindow* main, QString serverName)
    : s(state), main_(main), serverName_(std::move(serverName)) {
  for (const QString& box : boxNames()) texts_[box] = box;  // each starts with its own name
  link_.onMessage = [this](const QString& item, const QString& text) { receive(item, text); };
}

QString DigitalSource::text(const QString& box) const {
  const auto it = texts_.find(box);
  return it == texts_.end() ? QString() : it->second;
}

void DigitalSource::setText(const QString& box, const QString& text) {
  const auto it = texts_.find(box);
  if (it == texts_.end() || it->second == text) return;
  it->second = text;
  changed(box);
}

void DigitalSource::changed(const QString& box) {
  if (box.startsWith(QLatin1String("txtB"))) {
    link_.send(box, text(box));  // fails quietly while not linked
    return;
  }
  const auto field = kIncoming.find(box);
  // The field's own program write drops what a log line cannot hold (quotes,
  // line ends, characters outside the 8-bit table).
  if (field != kIncoming.end() && main_) main_->setFieldText(field->second, text(box).toUpper());
}

void DigitalSource::receive(const QString& item, const QString& text) {
  setText(item, text);  // an unknown item finds no box and is ignored
}

void DigitalSource::ConnectWithZell() {
  link_.close();
  for (const QString& box : boxNames()) setText(box, QString());
  if (!link_.open(serverName_, kConnectLimitMs)) {
    s.DigLinkUp = 0;
    dialogs().message(QStringLiteral("Unable to find Zell RTTY."),
                      QStringLiteral("Please start Zell RTTY and click Options > Transmit > Connect to Zell RTTY to try again."),
                      Buttons::Ok, Icon::Critical);
    return;
  }
  s.DigLinkUp = 1;
  dialogs().message(QStringLiteral("Connected with Zell!"),
                    QStringLiteral("Connected with Zell!\r\n\r\nFor best display of both programs on your screen, click "
                                   "Options > Appearance > Form Size and enter 85 from this program's menu options."),
                    Buttons::Ok, Icon::Information);
  runPendingEvents();  // keys typed meanwhile reach the link after the station
  SendToZell();
}

void DigitalSource::SendToZell() {
  setText(QStringLiteral("txtBMyCall"), s.MyCall);
  setText(QStringLiteral("txtBField1"), s.MyClass);
  setText(QStringLiteral("txtBField2"), s.MySection);
}

}  // namespace fd
