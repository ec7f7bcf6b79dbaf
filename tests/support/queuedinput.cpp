#include "queuedinput.h"

#include <QEvent>
#include <QPointF>
#include <QWidget>
#include <QWindow>

// Qt's own entry for input from the display. Its header ships only with Qt's
// private development files; QtGui 6 exports these two, declared here as
// that header declares them.
class QWindowSystemInterface {
 public:
  struct AsynchronousDelivery {};
  template <typename Delivery>
  static bool handleKeyEvent(QWindow* window, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                             const QString& text, bool autorep, ushort count);
  template <typename Delivery>
  static bool handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global, Qt::MouseButtons state,
                               Qt::MouseButton button, QEvent::Type type, Qt::KeyboardModifiers mods,
                               Qt::MouseEventSource source);
};

namespace fd::test {
namespace {

using Queued = QWindowSystemInterface::AsynchronousDelivery;

QWindow* windowOf(QWidget* w) { return w->window()->windowHandle(); }

int qtKey(QChar c) {
  if (c == u'\t') return Qt::Key_Tab;
  if (c == u'\r') return Qt::Key_Return;
  return c.toUpper().unicode();  // letters and digits have their character's code
}

}  // namespace

void queueKeys(QWidget* w, const QString& keys) {
  QWindow* win = windowOf(w);
  for (QChar c : keys) {
    const QString text(c);
    QWindowSystemInterface::handleKeyEvent<Queued>(win, QEvent::KeyPress, qtKey(c), Qt::NoModifier, text, false, 1);
    QWindowSystemInterface::handleKeyEvent<Queued>(win, QEvent::KeyRelease, qtKey(c), Qt::NoModifier, text, false, 1);
  }
}

void queueClick(QWidget* w) {
  QWindow* win = windowOf(w);
  const QPoint centre = w->rect().center();
  const QPointF local = w->mapTo(w->window(), centre);
  const QPointF global = w->mapToGlobal(centre);
  QWindowSystemInterface::handleMouseEvent<Queued>(win, local, global, Qt::LeftButton, Qt::LeftButton,
                                                   QEvent::MouseButtonPress, Qt::NoModifier, Qt::MouseEventNotSynthesized);
  QWindowSystemInterface::handleMouseEvent<Queued>(win, local, global, Qt::NoButton, Qt::LeftButton,
                                                   QEvent::MouseButtonRelease, Qt::NoModifier,
                                                   Qt::MouseEventNotSynthesized);
}

}  // namespace fd::test
