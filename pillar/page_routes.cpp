// No page yet: the server answers the API alone.
#include "serve_routes.h"

namespace pillar::serve {

ExtraRoutes extra_routes() { return {}; }

}  // namespace pillar::serve
