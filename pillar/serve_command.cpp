// `pillar serve`: the chart over HTTP until SIGINT or SIGTERM.
#include <pthread.h>
#include <signal.h>

#include <charconv>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "birth_options.h"
#include "commands.h"
#include "http_server.h"

namespace pillar::cli {

namespace {

// "127.0.0.1:8080", "[::1]:8080" or "0.0.0.0:80"; port 0 takes any free port.
void parse_listen_address(std::string_view text, serve::ServerSettings& settings) {
  auto colon = text.rfind(':');
  std::string_view host = text.substr(0, colon == text.npos ? 0 : colon);
  std::string_view port = colon == text.npos ? "" : text.substr(colon + 1);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  int number = -1;
  auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
  if (host.empty() || port.empty() || error != std::errc() || end != port.data() + port.size() || number < 0 ||
      number > 65535)
    throw chart::InputError("--listen " + quoted_text(text) + ": expected HOST:PORT, e.g. 127.0.0.1:8080");
  settings.host = host;
  settings.port = number;
}

}  // namespace

CommandRunner add_serve_command(CLI::App& command) {
  struct State {
    std::string listen = "127.0.0.1:8080";
    std::string cors_origin;
    bool access_log = false;
    std::size_t max_connections = 256;
  };
  auto state = std::make_shared<State>();
  command.add_option("--listen", state->listen, "address and port to listen on (default 127.0.0.1:8080)")
      ->type_name("HOST:PORT");
  command.add_flag("--access-log", state->access_log, "write one line per request to standard output");
  command.add_option("--cors-origin", state->cors_origin, "let pages from this origin call the API (default: none)")
      ->type_name("ORIGIN");
  command.add_option("--max-connections", state->max_connections, "connections served at once (default 256)")
      ->type_name("N")
      ->check(CLI::Range(8, 4096));
  return [state]() {
    serve::ServerSettings settings;
    parse_listen_address(state->listen, settings);
    settings.cors_origin = state->cors_origin;
    settings.max_connections = state->max_connections;
    if (state->access_log) settings.access_log = stdout;

    // The signals are taken by one thread that stops the server; every
    // other thread, started below, inherits them blocked.
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    serve::ChartServer server(settings);
    int port = server.bind();
    if (port < 0) {
      std::fprintf(stderr, "pillar: cannot listen on %s\n", state->listen.c_str());
      return 1;
    }
    std::fprintf(stderr, "pillar: serving on http://%s:%d/\n",
                 settings.host.find(':') == std::string::npos ? settings.host.c_str()
                                                              : ("[" + settings.host + "]").c_str(),
                 port);
    std::atomic<bool> served{false};
    std::thread stopper([&] {
      int signal_number = 0;
      sigwait(&stop_signals, &signal_number);
      if (!served) server.stop_gracefully();
    });
    bool ok = server.serve();
    served = true;
    pthread_kill(stopper.native_handle(), SIGTERM);  // when serving ended without a signal
    stopper.join();
    return ok ? 0 : 1;
  };
}

}  // namespace pillar::cli
