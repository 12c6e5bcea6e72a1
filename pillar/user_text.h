// The user's text inside a one-line message. Whatever arrives (a 50 MB
// value, control characters, bytes that are not UTF-8), a message stays one
// short line of valid UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pillar::cli {

// `text` with control characters and bytes that are not UTF-8 replaced by
// '?', cut on a character boundary after `longest` bytes and then marked "...".
std::string printable_text(std::string_view text, std::size_t longest);

// printable_text in quotes, cut after 60 bytes.
std::string quoted_text(std::string_view text);

// The longest message an error line or standard error carries.
inline constexpr std::size_t kLongestMessage = 400;

}  // namespace pillar::cli
