#pragma once
// Keys and clicks queued the way a display queues them: they wait in Qt's
// queue of window-system input and are delivered by a later pass of the event
// loop, one after the other, so a pass that holds the operator's input back
// (QEventLoop::ExcludeUserInputEvents) leaves them waiting. QTest's keys and
// clicks are delivered at once, and posted events are never held back.
#include <QString>

class QWidget;

namespace fd::test {

// Press and release of each character of keys in the window of w, with the
// text a keyboard gives it: letters and digits, '\t' Tab, '\r' Enter.
void queueKeys(QWidget* w, const QString& keys);
// A left click in the middle of w.
void queueClick(QWidget* w);

}  // namespace fd::test
