// One client connection as the HTTP library reads and writes it. The
// library keeps every header of a request in memory however many come
// (160 MB of them, tried), and its read timeout restarts with each byte, so
// a client sending slowly holds its worker for ever; so the head of each
// request is read here first, whole, within a size and a time, and the
// library parses it from memory. The body and the answer pass straight
// through, each read and write within its timeout.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <httplib.h>

namespace pillar::serve {

struct ConnectionLimits {
  std::size_t head_bytes = 32 * 1024;                     // request line and headers
  std::chrono::milliseconds idle{5000};                   // between requests on one connection
  std::chrono::milliseconds head{5000};                   // from a request's first byte to its blank line
  std::chrono::milliseconds read{5000}, write{5000};      // each wait of the body and the answer
};

class Connection final : public httplib::Stream {
 public:
  // `stop_fd` becomes readable when the server stops: an idle connection
  // then ends at once.
  Connection(int socket, int stop_fd, const ConnectionLimits& limits);

  enum class Head { Ready, Gone, TooLarge, Malformed };
  // Waits for the next request and reads its head. Gone: the client closed,
  // stayed idle or too slow, or the server stops. Malformed: the bytes
  // cannot begin a request ("METHOD "), or its lines end without "\r".
  Head read_head();
  // What has been received and not read yet (after TooLarge: the head so far).
  std::string_view unread() const { return {buffer_.data() + begin_, end_ - begin_}; }

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, std::size_t size) override;
  ssize_t write(const char* ptr, std::size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  int socket() const override { return socket_; }

 private:
  // Waits until the socket is ready for `events` (or the deadline passes,
  // or the server stops when `stoppable`).
  bool wait(short events, std::chrono::steady_clock::time_point deadline, bool stoppable) const;

  int socket_, stop_fd_;
  ConnectionLimits limits_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0, end_ = 0;  // unread bytes of buffer_
};

}  // namespace pillar::serve
