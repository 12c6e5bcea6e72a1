// The chart page at "/" with its script, style and icon, all built into the
// program (tools/embed_files). The policy lets the page load only these and
// talk only to this server: no inline script or style, no other host.
#include "embedded_file.h"
#include "serve_routes.h"

namespace pillar::serve {

ExtraRoutes extra_routes() {
  ExtraRoutes extras;
  for (const EmbeddedFile& file : page_files()) extras.routes.push_back({file.name, file.content_type, file.bytes});
  extras.content_security_policy =
      "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; connect-src 'self'; "
      "base-uri 'none'; form-action 'self'; frame-ancestors 'none'";
  return extras;
}

}  // namespace pillar::serve
