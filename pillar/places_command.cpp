// pillar places QUERY: the gazetteer's places of that name, with the
// longitude and zone to give `pillar chart`.
#include <cstdio>
#include <memory>
#include <string>

#include "commands.h"
#include "places.h"

namespace pillar::cli {

CommandRunner add_places_command(CLI::App& command) {
  auto query = std::make_shared<std::string>();
  auto limit = std::make_shared<std::size_t>(places::kDefaultLimit);
  auto json = std::make_shared<bool>(false);
  command.add_option("query", *query, "a name: pinyin, English or Chinese characters")->required();
  command.add_option("--limit", *limit, "at most this many places")->capture_default_str();
  command.add_flag("--json", *json, "the API's JSON instead of a table");
  return [query, limit, json]() {
    const std::string answer = places::search_json(*query, *limit);  // checks the query and limit
    if (*json) {
      write_out(answer + "\n");
    } else {
      std::string table;
      for (const places::Place* p : places::search(*query, *limit)) {
        char coordinates[48];
        std::snprintf(coordinates, sizeof coordinates, "%.4f\t%.4f", p->longitude, p->latitude);
        for (std::string_view field : {p->zh, p->name, p->province, std::string_view(coordinates), p->zone, p->kind}) {
          table += field;
          table += '\t';
        }
        table.back() = '\n';
      }
      write_out(table);
    }
    return 0;
  };
}

}  // namespace pillar::cli
