// The API of `pillar serve` under /api/v1/: each endpoint with the methods
// it answers and the bodies it reads. docs/http-api.md describes them and
// openapi.json (served at /api/v1/openapi.json) lists every answer.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include <httplib.h>

namespace pillar::serve {

using GetAnswer = void (*)(const httplib::Request&, httplib::Response&);
using PostAnswer = void (*)(const httplib::Request&, httplib::Response&, const httplib::ContentReader&);

struct Endpoint {
  std::string_view path;
  GetAnswer get = nullptr;    // also answers HEAD
  PostAnswer post = nullptr;  // reads the body itself, as it arrives
  std::string_view post_media_type;  // the Content-Type a POST body must have
  std::size_t post_body_limit = 0;   // bytes; a stream of lines is limited per line instead
};

inline constexpr std::size_t kChartBodyLimit = 1 << 20;

// openapi.json, built into the program.
extern const std::string_view kOpenApiDocument;

// The API's endpoints, the most used first.
std::span<const Endpoint> api_endpoints();

// Answers {"error": message} with `status`.
void answer_error(httplib::Response& response, int status, std::string_view message);

}  // namespace pillar::serve
