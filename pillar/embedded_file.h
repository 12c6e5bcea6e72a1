// Files built into the program by tools/embed_files: the chart page and the
// gazetteer. Nothing beside the binary is read at run time.
#pragma once

#include <span>
#include <string_view>

namespace pillar {

struct EmbeddedFile {
  std::string_view name;          // the page's URL path, or the data file's name
  std::string_view content_type;  // e.g. "text/html; charset=utf-8"
  std::string_view bytes;
};

// The chart page's files, served at their names.
std::span<const EmbeddedFile> page_files();
// data/places.tsv.
std::span<const EmbeddedFile> gazetteer_files();

}  // namespace pillar
