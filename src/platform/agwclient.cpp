#include "platform/agwclient.h"

#include <QTcpSocket>
#include <deque>

#include "platform/wait.h"

namespace fd {

namespace {

constexpr size_t kMaxQueued = 1000;  // beyond this the oldest frames are dropped

class TcpAgwEngine final : public AgwEngine {
 public:
  TcpAgwEngine() {
    QObject::connect(&socket_, &QTcpSocket::readyRead, &socket_, [this] {
      frames_.feed(socket_.readAll());
      while (frames_.frames.size() > kMaxQueued) frames_.frames.pop_front();
    });
    QObject::connect(&socket_, &QAbstractSocket::disconnected, &socket_, [this] {
      if (open_) gone_ = true;
    });
  }

  bool startPoll(const QString& ownCall) override {
    closeLink();
    own_ = ownCall;
    QString host = QStringLiteral("127.0.0.1");
    int port = 8000;
    const QString where = qEnvironmentVariable("FIELDDAY_AGW");
    if (!where.isEmpty()) {
      const qsizetype colon = where.lastIndexOf(u':');
      if (colon > 0) host = where.left(colon);
      port = where.mid(colon + 1).toInt();
    }
    socket_.connectToHost(host, static_cast<quint16>(port));
    WaitOptions o;
    o.limitMs = 2000;
    o.site = this;
    waitUntil([this] { return socket_.state() == QAbstractSocket::ConnectedState ||
                              socket_.state() == QAbstractSocket::UnconnectedState; }, o);
    if (socket_.state() != QAbstractSocket::ConnectedState) return refuse();
    open_ = true;
    if (!putData('X', QString(), {})) return refuse();
    auto answer = [this]() -> const agw::Frame* {
      for (const agw::Frame& f : frames_.frames)
        if (f.kind == 'X') return &f;
      return nullptr;
    };
    waitUntil([&] { return answer() != nullptr || gone_; }, o);
    const agw::Frame* x = answer();
    if (!x || x->data.isEmpty() || x->data[0] != 1) return refuse();
    // 'm' is a toggle: sent exactly once.
    putData('m', QString(), {});
    return true;
  }

  std::optional<agw::Frame> getData() override {
    while (!frames_.frames.empty()) {
      agw::Frame f = std::move(frames_.frames.front());
      frames_.frames.pop_front();
      if (auto w = agw::forWindow(f)) return w;
    }
    return std::nullopt;
  }

  bool putData(char kind, const QString& to, const QByteArray& data) override {
    if (socket_.state() != QAbstractSocket::ConnectedState) return false;
    agw::Frame f;
    f.kind = kind;
    f.pid = kind == 'D' ? 0xF0 : 0;
    // Register and monitor frames name no station; the others carry the own call.
    if (kind != 'm') f.callFrom = own_;
    f.callTo = to;
    f.data = data;
    const auto bytes = agw::encode(f);
    if (!bytes) return false;
    socket_.write(*bytes);
    socket_.flush();
    return true;
  }

  bool vanished() const override { return gone_ || frames_.broken(); }

  void closeLink() override {
    if (socket_.state() == QAbstractSocket::ConnectedState) {
      putData('x', QString(), {});
      socket_.waitForBytesWritten(100);
    }
    open_ = false;
    socket_.abort();
    frames_.clear();
    gone_ = false;
  }

 private:
  bool refuse() {
    closeLink();
    return false;
  }
  QTcpSocket socket_;
  agw::Reassembler frames_;
  QString own_;
  bool open_ = false, gone_ = false;
};

}  // namespace

std::unique_ptr<AgwEngine> makeTcpAgwEngine() { return std::make_unique<TcpAgwEngine>(); }

}  // namespace fd
