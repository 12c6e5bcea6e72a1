// A batch line: JSON object to birth input, then the chart the batch makes
// of it. Both ways through the reader (its own scan of plain objects and
// nlohmann's parser) meet here.
#include "birth_json.h"
#include "parser_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pillar::chart::BirthInput input;
  try {
    pillar::cli::read_birth_json(fuzz::text_of(data, size), input);
  } catch (const pillar::chart::InputError& error) {
    fuzz::check_message(error.what());
    return 0;
  }
  try {
    pillar::chart::make_chart(input);
  } catch (const pillar::chart::InputError&) {
  }
  return 0;
}
