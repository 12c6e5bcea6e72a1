// `pillar serve` as its clients meet it: the program started with a free
// port, requests over real sockets, good and bad, and the OpenAPI
// description held against the answers.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Json = nlohmann::json;
using namespace std::chrono_literals;

// A `pillar serve` of its own on a port the system chose; ended by its PID.
class Server {
 public:
  explicit Server(const std::vector<std::string>& options = {}) {
    int err[2];
    if (pipe(err) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      dup2(err[1], 2);
      close(err[0]);
      std::vector<std::string> words = {PILLAR_COMMAND, "serve", "--listen", "127.0.0.1:0"};
      words.insert(words.end(), options.begin(), options.end());
      std::vector<char*> argv;
      for (std::string& word : words) argv.push_back(word.data());
      argv.push_back(nullptr);
      execv(PILLAR_COMMAND, argv.data());
      _exit(127);
    }
    close(err[1]);
    std::string line;
    char c;
    while (line.find('\n') == std::string::npos && read(err[0], &c, 1) == 1) line += c;
    close(err[0]);
    auto at = line.rfind(':');
    if (at == std::string::npos) throw std::runtime_error("no address from pillar serve: " + line);
    port_ = std::stoi(line.substr(at + 1));
  }
  ~Server() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  int port() const { return port_; }
  pid_t pid() const { return pid_; }
  // SIGTERM, then the exit status.
  int terminate() {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

int connect_to(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) throw std::runtime_error("connect");
  return fd;
}

void send_all(int fd, const std::string& bytes) {
  for (std::size_t sent = 0; sent < bytes.size();) {
    ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;  // the server may close early on bad input
    sent += static_cast<std::size_t>(n);
  }
}

// Everything until the server closes, or what came within `limit`.
std::string receive_all(int fd, std::chrono::milliseconds limit = 10s) {
  std::string out;
  auto deadline = std::chrono::steady_clock::now() + limit;
  char buffer[65536];
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{fd, POLLIN, 0};
    if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  return out;
}

struct Answer {
  int status = 0;
  std::map<std::string, std::string> headers;  // names in lower case
  std::string body;
};

std::string dechunk(std::string body) {
  std::string out;
  std::size_t at = 0;
  while (at < body.size()) {
    std::size_t size = std::stoul(body.substr(at), nullptr, 16);
    at = body.find("\r\n", at) + 2;
    out += body.substr(at, size);
    at += size + 2;
    if (size == 0) break;
  }
  return out;
}

Answer parse_answer(const std::string& raw) {
  Answer answer;
  std::size_t head_end = raw.find("\r\n\r\n");
  if (raw.rfind("HTTP/1.1 ", 0) != 0 || head_end == std::string::npos) return answer;
  answer.status = std::stoi(raw.substr(9, 3));
  std::istringstream head(raw.substr(0, head_end));
  std::string line;
  std::getline(head, line);
  while (std::getline(head, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto colon = line.find(':');
    std::string name = line.substr(0, colon);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    answer.headers[name] = line.substr(colon + 2);
  }
  answer.body = raw.substr(head_end + 4);
  if (answer.headers["transfer-encoding"] == "chunked") answer.body = dechunk(answer.body);
  return answer;
}

Answer request(int port, const std::string& method, const std::string& target, const std::string& content_type = "",
               const std::string& body = "") {
  std::string text = method + " " + target + " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n";
  if (!content_type.empty()) text += "Content-Type: " + content_type + "\r\n";
  if (method == "POST") text += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  int fd = connect_to(port);
  send_all(fd, text + "\r\n" + body);
  Answer answer = parse_answer(receive_all(fd));
  close(fd);
  return answer;
}

std::string command_output(const std::string& arguments, const std::string& input = "") {
  std::string in = testing::TempDir() + "serve_test_" + std::to_string(getpid()) + ".in";
  std::ofstream(in, std::ios::binary) << input;
  FILE* pipe = popen((std::string(PILLAR_COMMAND) + " " + arguments + " <" + in).c_str(), "r");
  std::string out;
  char buffer[65536];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  pclose(pipe);
  return out;
}

class Serve : public testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new Server(); }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  static int port() { return server_->port(); }
  static void expect_still_answering() {
    EXPECT_EQ(request(port(), "GET", "/api/v1/health").status, 200) << "the server stopped answering";
  }
  static Server* server_;
};
Server* Serve::server_ = nullptr;

// The same chart over HTTP as on the command line, by GET and by POST, and
// the query of a POST as the defaults of its body.
TEST_F(Serve, ChartIsTheCommandsChart) {
  std::string expected = command_output("chart --json --sex 女 --tz Europe/Berlin --annual 2024-2025 1990-05-17T14:30");
  Answer get = request(port(), "GET", "/api/v1/chart?datetime=1990-05-17T14:30&sex=%E5%A5%B3&tz=Europe/Berlin&annual=2024-2025");
  EXPECT_EQ(get.status, 200);
  EXPECT_EQ(get.headers["content-type"], "application/json");
  EXPECT_EQ(get.body, expected);
  Answer post = request(port(), "POST", "/api/v1/chart?tz=Europe/Berlin", "application/json",
                        R"({"datetime": "1990-05-17T14:30", "sex": "女", "annual": "2024-2025"})");
  EXPECT_EQ(post.body, expected);
  std::string switched = command_output("chart --json --longitude 13.4 --solar-all-pillars 1990-05-17T14:30");
  EXPECT_EQ(request(port(), "GET", "/api/v1/chart?datetime=1990-05-17T14:30&longitude=13.4&solar_all_pillars=true").body,
            switched);
}

// The batch contract over HTTP: byte for byte what `pillar chart --batch`
// writes, blank lines, CRLF, bad lines, a line over the limit and a last
// line without a newline included.
TEST_F(Serve, ChartsKeepTheBatchContract) {
  std::string input = "{\"datetime\":\"1990-05-17T14:30\",\"sex\":\"male\"}\n\n{\"datetime\":\"x\"}\r\n" +
                      std::string(1200000, ' ') + "\n{\"tz\":\"Asia/Tokyo\"}\n{\"lunar\":\"2023 闰2 15 08:00\"}\n" +
                      "not json\n{\"datetime\":\"2000-01-01\",\"sex\":\"女\"}";
  std::string expected = command_output("chart --batch --utc-offset +09:00 --luck-count 3", input);
  Answer answer = request(port(), "POST", "/api/v1/charts?utc_offset=%2B09:00&luck_count=3", "application/x-ndjson", input);
  EXPECT_EQ(answer.status, 200);
  EXPECT_EQ(answer.headers["transfer-encoding"], "chunked");
  EXPECT_EQ(answer.body, expected);
  std::istringstream lines(answer.body);
  std::vector<Json> objects;
  for (std::string line; std::getline(lines, line);) objects.push_back(Json::parse(line));
  ASSERT_EQ(objects.size(), 7u);
  EXPECT_EQ(objects[1]["line"], 3);
  EXPECT_EQ(objects[2]["line"], 4);  // the line over the limit
  EXPECT_EQ(objects[3]["error"], "key \"datetime\" is missing");
}

// Every documented answer is met by a request below, every answer is
// documented, and its body holds to the documented schema: keys required
// are there, and no key is there that the description does not name.
class OpenApi {
 public:
  explicit OpenApi(Json document) : document_(std::move(document)) {}

  const Json& resolve(const Json& node) const {
    if (!node.contains("$ref")) return node;
    std::string pointer = node["$ref"].get<std::string>().substr(1);
    return resolve(document_.at(Json::json_pointer(pointer)));
  }

  // Empty when `value` holds to `schema`, else what does not.
  std::string mismatch(const Json& value, const Json& schema_node, const std::string& at) const {
    const Json& schema = resolve(schema_node);
    if (schema.contains("oneOf")) {
      std::string last;
      for (const Json& option : schema["oneOf"]) {
        last = mismatch(value, option, at);
        if (last.empty()) return "";
      }
      return at + ": no oneOf matches (" + last + ")";
    }
    if (schema.contains("const") && value != schema["const"]) return at + ": not the constant";
    if (schema.contains("type")) {
      std::set<std::string> types;
      if (schema["type"].is_array())
        for (const Json& type : schema["type"]) types.insert(type);
      else
        types.insert(schema["type"].get<std::string>());
      std::string type = value.is_object() ? "object" : value.is_array() ? "array" : value.is_string() ? "string"
                       : value.is_boolean() ? "boolean" : value.is_null() ? "null" : value.is_number_integer() || value.is_number_unsigned() ? "integer" : "number";
      if (!types.count(type) && !(type == "integer" && types.count("number"))) return at + ": a " + type;
    }
    if (value.is_object()) {
      for (const Json& key : schema.value("required", Json::array()))
        if (!value.contains(key.get<std::string>())) return at + ": required key " + key.dump() + " missing";
      for (const auto& [key, item] : value.items()) {
        const Json properties = schema.value("properties", Json::object());
        if (properties.contains(key)) {
          if (auto inner = mismatch(item, properties[key], at + "." + key); !inner.empty()) return inner;
        } else if (schema.contains("additionalProperties")) {
          if (schema["additionalProperties"] == false) return at + ": undocumented key " + key;
          if (auto inner = mismatch(item, schema["additionalProperties"], at + "." + key); !inner.empty()) return inner;
        }
      }
    }
    if (value.is_array() && schema.contains("items"))
      for (const Json& item : value)
        if (auto inner = mismatch(item, schema["items"], at + "[]"); !inner.empty()) return inner;
    return "";
  }

  const Json& document() const { return document_; }

 private:
  Json document_;
};

struct Case {
  const char* method;
  const char* target;
  const char* content_type;
  std::string body;
  int status;
};

TEST_F(Serve, EveryEndpointGoodAndBadAsDocumented) {
  const std::vector<Case> cases = {
      {"GET", "/api/v1/chart?datetime=2023-04-05&lunar=&sex=male", "", "", 400},
      {"GET", "/api/v1/chart?datetime=1990-05-17T14:30&sex=male&longitude=116.4", "", "", 200},
      {"GET", "/api/v1/chart?datetime=1990-05-17", "", "", 200},
      {"GET", "/api/v1/chart?lunar=2023-L2-15+08:00&tz=Asia/Tokyo", "", "", 200},
      {"GET", "/api/v1/chart?datetime=1990-05-17T14:30&sex=x", "", "", 400},
      {"GET", "/api/v1/chart?datetime=1990-05-17T14:30&tz=A&tz=B", "", "", 400},
      {"GET", "/api/v1/chart?datetime=1990-05-17T14:30&colour=red", "", "", 400},
      {"GET", "/api/v1/chart?tz=Asia/Tokyo", "", "", 400},
      {"POST", "/api/v1/chart", "application/json", R"({"datetime":"1990-05-17T14:30","fold":"later"})", 200},
      {"POST", "/api/v1/chart", "application/json; charset=utf-8", R"({"datetime":"2079-12-31T23:00"})", 200},
      {"POST", "/api/v1/chart", "application/json", R"([1,2])", 400},
      {"POST", "/api/v1/chart?datetime=1990-05-17", "application/json", "{}", 400},
      {"POST", "/api/v1/chart", "text/plain", "{}", 415},
      {"POST", "/api/v1/chart", "application/json", std::string((1 << 20) + 1, ' '), 413},
      {"POST", "/api/v1/charts", "application/x-ndjson", "{\"datetime\":\"1990-05-17\"}\n{}\n", 200},
      {"POST", "/api/v1/charts?sex=x", "application/x-ndjson", "{}\n", 400},
      {"POST", "/api/v1/charts", "application/json", "{}\n", 415},
      {"GET", "/api/v1/lunar?date=2023-06-18", "", "", 200},
      {"GET", "/api/v1/lunar?date=2023-02-30", "", "", 400},
      {"GET", "/api/v1/lunar?day=2023-06-18", "", "", 400},
      {"GET", "/api/v1/solar?date=2023-L2-15", "", "", 200},
      {"GET", "/api/v1/solar?date=2022-L2-15", "", "", 400},
      {"GET", "/api/v1/solar?date=2023-L2-15&lunar_rule=modern", "", "", 200},
      {"GET", "/api/v1/lunar?date=1920-05-01&lunar_rule=today", "", "", 400},
      {"GET", "/api/v1/find?year=甲子&month=丙寅&day=戊辰&hour=壬子", "", "", 200},
      {"GET", "/api/v1/find?year=甲子&month=丙寅&day=戊辰&hour=壬子&tz=UTC&utc_offset=%2B08:00", "", "", 400},
      {"GET", "/api/v1/find?year=甲子&month=丙寅&day=戊辰&hour=子子", "", "", 400},
      {"GET", "/api/v1/zones", "", "", 200},
      {"GET", "/api/v1/zones?x=1", "", "", 400},
      {"GET", "/api/v1/health", "", "", 200},
      {"GET", "/api/v1/openapi.json", "", "", 200},
      {"GET", "/api/v1/nothing", "", "", 404},
      {"GET", "/api/v1/places?q=xiamen&limit=3", "", "", 200},
      {"GET", "/api/v1/places?q=%E5%BB%88%E9%96%80", "", "", 200},
      {"GET", "/api/v1/places?q=xiamen&limit=51", "", "", 400},
      {"GET", "/api/v1/places?limit=3", "", "", 400},
      {"GET", "/nothing.html", "", "", 404},
      {"DELETE", "/api/v1/chart", "", "", 405},
      {"GET", "/api/v1/charts", "", "", 405},
      {"POST", "/api/v1/lunar", "application/json", "{}", 405},
  };
  Answer description = request(port(), "GET", "/api/v1/openapi.json");
  OpenApi api(Json::parse(description.body));
  std::set<std::string> documented, met;
  for (const auto& [path, methods] : api.document()["paths"].items())
    for (const auto& [method, operation] : methods.items())
      for (const auto& [status, ignored] : operation["responses"].items()) documented.insert(method + " " + path + " " + status);

  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.method) + " " + c.target);
    Answer answer = request(port(), c.method, c.target, c.content_type, c.body);
    EXPECT_EQ(answer.status, c.status) << answer.body;
    EXPECT_EQ(answer.headers["x-content-type-options"], "nosniff");
    EXPECT_EQ(answer.headers.count("access-control-allow-origin"), 0u);
    EXPECT_FALSE(answer.body.empty());
    std::string target = c.target;
    std::string path = target.substr(0, target.find('?'));
    std::string method = c.method;
    for (char& ch : method) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    std::string key = method + " " + path + " " + std::to_string(answer.status);
    if (!api.document()["paths"].contains(path) || !api.document()["paths"][path].contains(method)) {
      // Unknown paths and methods: the server's own errors, one shape.
      EXPECT_TRUE(answer.status == 404 || answer.status == 405);
      EXPECT_EQ(api.mismatch(Json::parse(answer.body), api.document()["components"]["schemas"]["Error"], "body"), "");
      continue;
    }
    met.insert(key);
    ASSERT_TRUE(documented.count(key)) << key << " is not documented";
    const Json& documented_answer = api.resolve(api.document()["paths"][path][method]["responses"][std::to_string(answer.status)]);
    const auto& content = documented_answer["content"];
    std::string media_type = answer.headers["content-type"];
    ASSERT_TRUE(content.contains(media_type)) << media_type;
    const Json& schema = content[media_type]["schema"];
    if (media_type == "application/x-ndjson") {
      std::istringstream lines(answer.body);
      for (std::string line; std::getline(lines, line);) EXPECT_EQ(api.mismatch(Json::parse(line), schema, "line"), "");
    } else {
      EXPECT_EQ(api.mismatch(Json::parse(answer.body), schema, "body"), "");
    }
  }
  for (const std::string& key : documented) EXPECT_TRUE(met.count(key)) << key << " is documented but never met";
  expect_still_answering();
}

// Bad HTTP of each kind gets an error or a closed connection, and the
// server goes on answering others.
TEST_F(Serve, MalformedRequestsAreRefused) {
  std::string headers = "GET /api/v1/health HTTP/1.1\r\n";
  for (int i = 0; i < 20000; ++i) headers += "X-" + std::to_string(i) + ": y\r\n";
  std::string noise;
  for (int i = 0; i < 5000; ++i) noise += static_cast<char>((i * 7919 + 13) % 256);
  const std::vector<std::pair<std::string, int>> cases = {
      {"hello there\r\n\r\n", 400},
      {"GET /" + std::string(100000, 'a') + " HTTP/1.1\r\n\r\n", 414},
      {headers + "\r\n", 431},
      {"POST /api/v1/chart HTTP/1.1\r\nContent-Type: application/json\r\nContent-Length: -5\r\n\r\n{}", 400},
      {noise, 400},
      {noise + "\r\n\r\n", 400},
      {"GET /api/v1/health HTTP/1.1\nHost: x\n\n", 400},
      {"POST /api/v1/chart HTTP/1.1\r\nContent-Type: application/json\r\nContent-Length: 5\r\nTransfer-Encoding: chunked\r\n\r\n", 400},
      {"POST /api/v1/chart HTTP/1.1\r\nContent-Type: application/json\r\nContent-Length: 99999999999999999999\r\n\r\n", 400},
      {"POST /api/v1/chart HTTP/1.1\r\nContent-Type: application/json\r\n\r\n{}", 411},
  };
  for (const auto& [bytes, status] : cases) {
    SCOPED_TRACE(bytes.substr(0, 60));
    int fd = connect_to(port());
    send_all(fd, bytes);
    Answer answer = parse_answer(receive_all(fd, 8s));
    close(fd);
    EXPECT_EQ(answer.status, status);
    if (answer.status) {
      EXPECT_EQ(Json::parse(answer.body).count("error"), 1u);
    }
    expect_still_answering();
  }
}

// A body over the limit is refused before it is read, and the client gets
// the answer rather than a reset.
TEST_F(Serve, OversizedBodyIsRefusedAndTheServerGoesOn) {
  Answer answer = request(port(), "POST", "/api/v1/chart", "application/json", std::string(3 << 20, ' '));
  EXPECT_EQ(answer.status, 413);
  EXPECT_EQ(answer.headers["connection"], "close");
  expect_still_answering();
}

// Slow and idle clients hold only their own workers.
TEST_F(Serve, HalfRequestsDoNotHoldTheOthers) {
  std::vector<int> stalled;
  for (int i = 0; i < 64; ++i) {
    stalled.push_back(connect_to(port()));
    send_all(stalled.back(), "GET /api/v1/chart?datetime=1990-05-17 HTTP/1.1\r\nHost: x\r\n");
  }
  std::this_thread::sleep_for(200ms);
  auto start = std::chrono::steady_clock::now();
  int fd = connect_to(port());
  send_all(fd, "GET /api/v1/health HTTP/1.1\r\nConnection: close\r\n\r\n");
  Answer answer = parse_answer(receive_all(fd, 1s));
  EXPECT_EQ(answer.status, 200);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  close(fd);
  for (int stalled_fd : stalled) close(stalled_fd);
}

TEST(ServeOptions, CorsOnlyForTheOriginNamed) {
  Server server({"--cors-origin", "https://example.org"});
  Answer answer = request(server.port(), "GET", "/api/v1/health");
  EXPECT_EQ(answer.headers["access-control-allow-origin"], "https://example.org");
  Answer preflight = request(server.port(), "OPTIONS", "/api/v1/chart");
  EXPECT_EQ(preflight.status, 204);
  EXPECT_EQ(preflight.headers["access-control-allow-methods"], "GET, HEAD, POST, OPTIONS");
}

// SIGTERM stops accepting but lets a request in flight finish.
TEST(ServeSignals, TerminateFinishesTheRequestInFlight) {
  Server server;
  std::string body = R"({"datetime":"1990-05-17T14:30","sex":"male"})";
  int fd = connect_to(server.port());
  send_all(fd, "POST /api/v1/chart HTTP/1.1\r\nContent-Type: application/json\r\nContent-Length: " +
                   std::to_string(body.size()) + "\r\n\r\n" + body.substr(0, 10));
  std::this_thread::sleep_for(200ms);
  std::thread terminate([&] { EXPECT_EQ(server.terminate(), 0); });
  std::this_thread::sleep_for(300ms);
  send_all(fd, body.substr(10));
  Answer answer = parse_answer(receive_all(fd));
  close(fd);
  terminate.join();
  EXPECT_EQ(answer.status, 200);
  EXPECT_EQ(Json::parse(answer.body)["pillars"]["day"], "壬午");
}

}  // namespace
