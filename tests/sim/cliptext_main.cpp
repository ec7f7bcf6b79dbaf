// Holds a text on the window system's clipboard and primary selection, as an
// operator's copy in another program does, until it is ended: the end-to-end
// tests paste it. Prints "ready" once both hold it.
// Usage: cliptext TEXT
#include <QClipboard>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: cliptext TEXT\n");
    return 2;
  }
  const QString text = QString::fromUtf8(argv[1]);
  QClipboard* clip = QGuiApplication::clipboard();
  clip->setText(text, QClipboard::Clipboard);
  if (clip->supportsSelection()) clip->setText(text, QClipboard::Selection);
  std::printf("ready\n");
  std::fflush(stdout);
  return app.exec();
}
