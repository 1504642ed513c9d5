#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QProcess>

#include "support/core/local_server.h"

namespace {

// A listening socket that never accepts: connections hang in the middle of a fetch.
class SilentServer {
 public:
  SilentServer() {
    socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(socket_, shop::test_support::kListenBacklog);
    socklen_t length = sizeof address;
    ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~SilentServer() { ::close(socket_); }
  int port() const { return port_; }

 private:
  int socket_;
  int port_ = 0;
};

TEST(Shutdown, ClosingTheWindowDuringFetchesEndsTheProcessWithCodeZero) {
  SilentServer server;
  QProcess probe;
  probe.setProcessChannelMode(QProcess::ForwardedChannels);
  probe.start(SHOP_PROBE_DIR "/shutdown_probe",
              {QString("http://127.0.0.1:%1/page").arg(server.port())});
  ASSERT_TRUE(probe.waitForFinished(30000));
  EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(probe.exitCode(), 0);
}

}  // namespace
