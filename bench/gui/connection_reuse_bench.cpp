// A ranking run over https against a server that is one round trip of 40 ms away
// (a relay holds every chunk 20 ms each way and takes 40 ms to open a connection):
// 10 rows of 10 pages, the item nowhere, the server taking 20 ms per page. With
// warm connections a row costs one round trip plus the server's time; a fresh
// connection per page costs three round trips (connection, TLS, request).
#include <httplib.h>
#include <QApplication>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "bench_mode.h"
#include "bench_timing.h"
#include "delaying_relay.h"
#include "lists/list_file.h"
#include "self_signed_certificate.h"
#include "support/gui/window_harness.h"
#include "ui/control_text.h"
#include "web/page_fetch.h"

using namespace shop;
using namespace std::chrono_literals;

namespace {

constexpr auto kHold = 20ms;          // each way
constexpr auto kConnectDelay = 40ms;  // one round trip
constexpr auto kServerTime = 20ms;
constexpr double kTarget = 1.3;

// Listens with room for every client of a row at once (the library's own backlog
// is 5); returns the port.
int start(httplib::Server& server, std::thread& thread) {
  int listener = -1;
  server.set_socket_options([&listener](int fd) {
    httplib::default_socket_options(fd);
    listener = fd;
  });
  const int port = server.bind_to_any_port("127.0.0.1");
  ::listen(listener, 128);
  thread = std::thread([&server] { server.listen_after_bind(); });
  while (!server.is_running()) {
    std::this_thread::sleep_for(1ms);
  }
  return port;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int kRows = bench::sized(10, 2);
  const int kPages = bench::sized(10, 2);
  const int kRuns = bench::sized(3, 1);
  testing::TempDir scratch;
  const bench::SelfSignedCertificate certificate(scratch.file("server.pem"));

  httplib::SSLServer server(certificate.certificate(), certificate.key());
  server.new_task_queue = [] { return new httplib::ThreadPool(32); };
  // As a web server is set up: many requests per connection, small answers sent at once.
  server.set_keep_alive_max_count(1000);
  server.set_tcp_nodelay(true);
  std::atomic<int> pages{0};
  server.Get(".*", [&pages](const httplib::Request&, httplib::Response& response) {
    std::this_thread::sleep_for(kServerTime);
    ++pages;
    response.set_content("<html><body>no listings here</body></html>", "text/html");
  });
  std::thread server_thread;
  const int server_port = start(server, server_thread);
  bench::DelayingRelay relay(server_port, kHold, kConnectDelay);

  // The fetch trusts the certificate made above, here only.
  FetchTuning trusting = default_fetch_tuning();
  trusting.ca_file = certificate.pem_file();
  const ScopedFetchTuning trust(trusting);

  testing::WindowHarness harness;
  const std::string site = "https://127.0.0.1:" + std::to_string(relay.port());
  testing::write_file(harness.directory().file("店长设置.ini"),
                      "[" + testing::gbk("搜索地址") + "]\r\n0=" + site + "/search?kw=\r\n" +
                          "1=&sort=\r\n2=&page=\r\n");
  std::vector<TrackedItem> rows;
  for (int i = 0; i < kRows; ++i) {
    rows.push_back(
        {std::to_string(i), "keyword" + std::to_string(i),
         "http://auction1.paipai.com/search/0/9723820700000000040100000C465B4E-8B80.html", "", "",
         ""});
  }
  testing::write_file(harness.directory().file("拍拍排名.txt"), format_list_text(rows));
  harness.start();
  set_control_text(harness.form().组合框1, std::to_string(kPages));

  // Each run starts without a connection, as a run after a pause would.
  const double measured = bench::median_ms(
      kRuns, [] { close_idle_connections(); }, [&] { harness.form().按钮2->click(); });
  const double round_trip = std::chrono::duration<double, std::milli>(2 * kHold).count();
  const double server_time = std::chrono::duration<double, std::milli>(kServerTime).count();
  const double ideal = kRows * (round_trip + server_time);
  harness.stop();
  close_idle_connections();
  server.stop();
  server_thread.join();

  if (pages.load() != kRuns * kRows * kPages) {
    std::printf("unexpected page count: %d (expected %d)\n", pages.load(), kRuns * kRows * kPages);
    return 1;
  }
  std::printf(
      "https ranking run, %d rows x %d pages, round trip %.0f ms, server %.0f ms: "
      "%.0f ms (median of %d)\n",
      kRows, kPages, round_trip, server_time, measured, kRuns);
  std::printf("connections opened: %.1f per run (a connection per page would be %d)\n",
              static_cast<double>(relay.connections()) / kRuns, kRows * kPages);
  std::printf("ideal: %.0f ms (one round trip plus the server's time per row)\n", ideal);
  const double ratio = measured / ideal;
  std::printf("target: ratio <= %.1f%s\n", kTarget, ratio <= kTarget ? "" : "  MISSED");
  std::printf("ratio to ideal: %.2f\n", ratio);
  return bench::targets_status(ratio <= kTarget);
}
