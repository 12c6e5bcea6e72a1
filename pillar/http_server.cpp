#include "http_server.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <ctime>
#include <exception>
#include <limits>
#include <mutex>
#include <string_view>
#include <vector>

#include "birth_options.h"
#include "http_api.h"
#include "serve_routes.h"
#include "worker_pool.h"

namespace pillar::serve {

namespace {

using httplib::Request;
using httplib::Response;
using Gate = httplib::Server::HandlerResponse;

// A client keeps its connection for at most this many requests.
constexpr std::size_t kRequestsPerConnection = 100000;
// Workers kept when the server is quiet.
constexpr std::size_t kWorkerFloor = 8;
// After an error the connection ends; what the client still sends is read
// and dropped for a moment first, so that it gets the answer and not a reset.
constexpr std::chrono::milliseconds kLingerTime{500};
constexpr std::size_t kLingerBytes = 4 << 20;

// Every answer's policy but the page's: a JSON answer loads nothing.
constexpr const char* kApiContentSecurityPolicy = "default-src 'none'; frame-ancestors 'none'";

// Set while a request is answered when the connection must end after it.
thread_local bool t_close_after_answer = false;

const char* status_text(int status) {
  switch (status) {
    case 400: return "malformed request";
    case 404: return "not found";
    case 405: return "method not allowed";
    case 411: return "length required";
    case 413: return "request body too large";
    case 414: return "request line too long";
    case 415: return "unsupported media type";
    case 431: return "request header fields too large";
    default: return status < 500 ? "bad request" : "internal error";
  }
}


// Content-Type without its parameters, in lower case.
std::string media_type_of(const Request& request) {
  std::string type = request.get_header_value("Content-Type");
  type.erase(std::min(type.find(';'), type.size()));
  while (!type.empty() && (type.back() == ' ' || type.back() == '\t')) type.pop_back();
  for (char& c : type) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return type;
}

// A regular expression that matches `path` alone.
std::string exactly(std::string_view path) {
  std::string pattern;
  for (char c : path) {
    if (std::string_view(".^$|()[]{}*+?\\").find(c) != std::string_view::npos) pattern += '\\';
    pattern += c;
  }
  return pattern;
}

// A request line or path as the access log shows it: quotes, backslashes
// and control characters escaped, so one request stays one line.
std::string log_text(std::string_view text) {
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7f || c == '"' || c == '\\') {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// One path the server answers, and how.
struct Route {
  std::string_view path;
  const Endpoint* endpoint = nullptr;   // an API endpoint, or
  const ExtraRoute* extra = nullptr;    // a route of the page
  bool get() const { return extra || endpoint->get; }
  bool post() const { return endpoint && endpoint->post; }
  std::string allow() const {
    std::string methods = get() ? "GET, HEAD" : "";
    if (post()) methods += methods.empty() ? "POST" : ", POST";
    return methods + ", OPTIONS";
  }
};

struct RouteTable {
  ExtraRoutes extras = extra_routes();
  std::vector<Route> routes;
  RouteTable() {
    for (const Endpoint& endpoint : api_endpoints()) routes.push_back({endpoint.path, &endpoint, nullptr});
    for (const ExtraRoute& extra : extras.routes) routes.push_back({extra.path, nullptr, &extra});
  }
  const Route* find(std::string_view path) const {
    for (const Route& route : routes)
      if (route.path == path) return &route;
    return nullptr;
  }
};

const RouteTable& route_table() {
  static const RouteTable table;
  return table;
}

Gate refuse(Response& response, int status, std::string_view message) {
  answer_error(response, status, message);
  return Gate::Handled;
}

// Answers what no route should see: an unknown path, a method the route
// does not take, a body too large or of the wrong type. Runs before any
// body is read.
Gate gate(const Request& request, Response& response, const std::string& cors_origin) {
  const Route* route = route_table().find(request.path);
  if (!route) return refuse(response, 404, "no such resource: " + cli::quoted_text(request.path));
  if (request.method == "OPTIONS") {
    response.status = 204;
    response.set_header("Allow", route->allow());
    if (!cors_origin.empty()) {
      response.set_header("Access-Control-Allow-Methods", route->allow());
      response.set_header("Access-Control-Allow-Headers", "Content-Type");
      response.set_header("Access-Control-Max-Age", "600");
    }
    return Gate::Handled;
  }
  bool post = request.method == "POST";
  bool get = request.method == "GET" || request.method == "HEAD";
  if (!(get && route->get()) && !(post && route->post())) {
    response.set_header("Allow", route->allow());
    return refuse(response, 405, "method " + request.method + " not allowed here; allowed: " + route->allow());
  }

  std::size_t limit = post ? route->endpoint->post_body_limit : 0;
  if (request.has_header("Transfer-Encoding")) {
    if (request.get_header_value("Transfer-Encoding") != "chunked" || request.has_header("Content-Length") || !post)
      return refuse(response, 400, "Transfer-Encoding: only chunked, only with POST, never with Content-Length");
  }
  if (request.has_header("Content-Length")) {
    std::string length_text = request.get_header_value("Content-Length");
    bool digits = !length_text.empty() && length_text.size() <= 18 && request.get_header_value_count("Content-Length") == 1 &&
                  std::all_of(length_text.begin(), length_text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) return refuse(response, 400, "Content-Length: expected one decimal number of bytes");
    if (std::stoull(length_text) > limit)
      return refuse(response, 413, "request body larger than " + std::to_string(limit) + " bytes");
  }
  if (post && !request.has_header("Transfer-Encoding") && !request.has_header("Content-Length"))
    return refuse(response, 411, "a POST needs Content-Length or Transfer-Encoding: chunked");
  if (post && media_type_of(request) != route->endpoint->post_media_type)
    return refuse(response, 415, "Content-Type: expected " + std::string(route->endpoint->post_media_type));
  return Gate::Unhandled;
}

}  // namespace

ChartServer::ChartServer(const ServerSettings& settings) : settings_(settings) {
  stop_fd_ = eventfd(0, EFD_CLOEXEC);
  new_task_queue = [this] { return new WorkerPool(kWorkerFloor, settings_.max_connections); };
  set_tcp_nodelay(true);
  set_keep_alive_max_count(kRequestsPerConnection);
  set_keep_alive_timeout(std::chrono::duration_cast<std::chrono::seconds>(settings_.limits.idle).count());
  set_read_timeout(settings_.limits.read);
  set_write_timeout(settings_.limits.write);
  // The gate limits each route's body; a stream of charts has no total.
  set_payload_max_length(std::numeric_limits<std::size_t>::max());

  httplib::Headers headers = {{"X-Content-Type-Options", "nosniff"},
                              {"Content-Security-Policy", kApiContentSecurityPolicy}};
  if (!settings_.cors_origin.empty()) {
    headers.emplace("Access-Control-Allow-Origin", settings_.cors_origin);
    headers.emplace("Vary", "Origin");
  }
  set_default_headers(headers);

  set_pre_routing_handler([this](const Request& request, Response& response) {
    return gate(request, response, settings_.cors_origin);
  });
  // Every error ends its connection: what is left of a refused body is
  // never read as a request.
  set_error_handler(HandlerWithResponse([](const Request&, Response& response) {
    t_close_after_answer = true;
    response.set_header("Connection", "close");
    if (response.body.empty()) answer_error(response, response.status, status_text(response.status));
    return Gate::Handled;
  }));
  set_exception_handler([](const Request&, Response& response, std::exception_ptr fault) {
    std::string what = "unknown";
    try {
      std::rethrow_exception(fault);
    } catch (const std::exception& error) {
      what = error.what();
    } catch (...) {
    }
    answer_error(response, 500, "internal error: " + what);
  });
  if (settings_.access_log)
    set_logger([this](const Request& request, const Response& response) { log(request, response); });
  add_routes();
}

ChartServer::~ChartServer() {
  if (stop_fd_ >= 0) ::close(stop_fd_);
}

void ChartServer::add_routes() {
  const RouteTable& table = route_table();
  for (const Route& route : table.routes) {
    std::string pattern = exactly(route.path);
    if (route.extra) {
      const ExtraRoute* extra = route.extra;
      std::string_view policy = table.extras.content_security_policy;
      Get(pattern, [extra, policy](const Request&, Response& response) {
        response.headers.erase("Content-Security-Policy");
        if (!policy.empty()) response.set_header("Content-Security-Policy", std::string(policy));
        response.set_content(extra->body.data(), extra->body.size(), std::string(extra->content_type));
      });
      continue;
    }
    if (route.endpoint->get) Get(pattern, route.endpoint->get);
    if (route.endpoint->post) Post(pattern, route.endpoint->post);
  }
}

int ChartServer::bind() {
  if (stop_fd_ < 0) return -1;
  if (settings_.port == 0) return bind_to_any_port(settings_.host);
  return bind_to_port(settings_.host, settings_.port) ? settings_.port : -1;
}

bool ChartServer::serve() { return listen_after_bind(); }

void ChartServer::stop_gracefully() {
  stopping_ = true;
  std::uint64_t one = 1;
  if (::write(stop_fd_, &one, sizeof one) < 0) {
    // Idle connections then end at their timeout instead of at once.
  }
  stop();
}

void ChartServer::log(const Request& request, const Response& response) const {
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char when[40];
  std::strftime(when, sizeof when, "%d/%b/%Y:%H:%M:%S +0000", &utc);
  std::string line = log_text(request.remote_addr.empty() ? "-" : request.remote_addr) + " - - [" + when + "] \"" +
                     log_text(request.method + " " + request.target + " " + request.version) + "\" " +
                     std::to_string(response.status) + " " +
                     (response.body.empty() ? std::string("-") : std::to_string(response.body.size())) + "\n";
  std::fwrite(line.data(), 1, line.size(), settings_.access_log);
  std::fflush(settings_.access_log);
}

// A head the library is not given: too large, or not a request at all.
void ChartServer::refuse_head(Connection& connection, Connection::Head head) const {
  std::string limit = std::to_string(settings_.limits.head_bytes);
  bool line_ended = connection.unread().find('\n') != std::string_view::npos;
  Response response;
  if (head == Connection::Head::Malformed)
    answer_error(response, 400, "not an HTTP request: expected METHOD TARGET HTTP/1.1 and lines ending in CR LF");
  else if (!line_ended)
    answer_error(response, 414, "request line longer than " + limit + " bytes");
  else
    answer_error(response, 431, "request head longer than " + limit + " bytes");
  const char* reason = response.status == 400 ? "Bad Request"
                       : response.status == 414 ? "URI Too Long"
                                                : "Request Header Fields Too Large";
  std::string answer = "HTTP/1.1 " + std::to_string(response.status) + " " + reason +
                       "\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(response.body.size()) +
                       "\r\nX-Content-Type-Options: nosniff\r\nContent-Security-Policy: " + kApiContentSecurityPolicy +
                       "\r\nConnection: close\r\n\r\n" + response.body;
  connection.write(answer.data(), answer.size());
  if (settings_.access_log) {
    Request request;
    connection.get_remote_ip_and_port(request.remote_addr, request.remote_port);
    request.method = "-";
    log(request, response);
  }
}

bool ChartServer::process_and_close_socket(int socket) {
  bool linger = false;
  {
    Connection connection(socket, stop_fd_, settings_.limits);
    for (std::size_t served = 0; !stopping_; ++served) {
      Connection::Head head = connection.read_head();
      if (head == Connection::Head::Gone) break;
      if (head != Connection::Head::Ready) {
        refuse_head(connection, head);
        linger = true;
        break;
      }
      t_close_after_answer = false;
      bool closed = false;
      bool last = served + 1 >= kRequestsPerConnection || stopping_;
      bool answered = process_request(connection, last, closed, nullptr);
      if (!answered || closed || last || t_close_after_answer) {
        linger = t_close_after_answer;
        break;
      }
    }
  }
  if (linger) {
    ::shutdown(socket, SHUT_WR);
    auto until = std::chrono::steady_clock::now() + kLingerTime;
    std::array<char, 16 * 1024> sink;
    std::size_t dropped = 0;
    while (dropped < kLingerBytes) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
      pollfd fd{socket, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) break;
      ssize_t got = ::recv(socket, sink.data(), sink.size(), 0);
      if (got <= 0) break;
      dropped += static_cast<std::size_t>(got);
    }
  }
  ::shutdown(socket, SHUT_RDWR);
  ::close(socket);
  return true;
}

}  // namespace pillar::serve
