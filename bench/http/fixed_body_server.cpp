// The HTTP library alone: GET /api/v1/chart answers the same fixed body
// every time, under the settings of `pillar serve` (TCP_NODELAY, a worker
// for each connection, long keep-alive). Beside `pillar serve` it shows
// what computing the chart costs on top of HTTP.
//   fixed_body_server PORT BYTES
#include <cstdlib>
#include <string>

#include <httplib.h>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  int port = std::atoi(argv[1]);
  std::string body(static_cast<std::size_t>(std::atol(argv[2])), 'x');
  httplib::Server server;
  server.new_task_queue = [] { return new httplib::ThreadPool(64); };
  server.set_tcp_nodelay(true);
  server.set_keep_alive_max_count(100000);
  server.Get("/api/v1/chart", [&body](const httplib::Request&, httplib::Response& response) {
    response.set_content(body, "application/json");
  });
  return server.listen("127.0.0.1", port) ? 0 : 1;
}
