// Routes beside the API, such as the chart page at "/". The server asks for
// them once when it starts and answers GET and HEAD on each path with its
// body; the bodies are part of the program, so no request reads a file.
// page_routes.cpp implements extra_routes().
#pragma once

#include <string_view>
#include <vector>

namespace pillar::serve {

struct ExtraRoute {
  std::string_view path;          // exact, e.g. "/" or "/page.js"
  std::string_view content_type;  // e.g. "text/html; charset=utf-8"
  std::string_view body;
};

struct ExtraRoutes {
  std::vector<ExtraRoute> routes;
  // Sent with these routes' answers; the API's answers keep their own
  // policy, which allows nothing.
  std::string_view content_security_policy;
};

ExtraRoutes extra_routes();

}  // namespace pillar::serve
