// The HTTP server of `pillar serve`: cpp-httplib's request parsing and
// routing, with connections read by Connection (bounded heads, timeouts, an
// immediate end of idle connections when the server stops), a worker pool
// that grows with the open connections, and a gate in front of every
// route that answers unknown paths, wrong methods, bad bodies and wrong
// media types before a body is read.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <string>

#include <httplib.h>

#include "http_connection.h"

namespace pillar::serve {

struct ServerSettings {
  std::string host = "127.0.0.1";
  int port = 8080;                   // 0: any free port
  std::FILE* access_log = nullptr;   // one line per request when set
  std::string cors_origin;           // empty: no cross-origin access
  std::size_t max_connections = 256; // served at once; more wait for a worker
  ConnectionLimits limits;
};

class ChartServer final : public httplib::Server {
 public:
  explicit ChartServer(const ServerSettings& settings);
  ~ChartServer() override;

  // The port bound (the one chosen for port 0), or -1 when the address
  // cannot be used.
  int bind();
  // Serves until stop_gracefully(); false when serving failed.
  bool serve();
  // Stops accepting, ends idle connections, lets the requests in flight
  // finish; serve() then returns. Callable from any thread.
  void stop_gracefully();

 private:
  bool process_and_close_socket(int socket) override;
  void add_routes();
  void refuse_head(Connection& connection, Connection::Head head) const;
  void log(const httplib::Request& request, const httplib::Response& response) const;

  ServerSettings settings_;
  int stop_fd_ = -1;  // readable once stopping
  std::atomic<bool> stopping_{false};
};

}  // namespace pillar::serve
