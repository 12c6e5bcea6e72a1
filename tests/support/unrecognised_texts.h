// The bad input every lookup must turn away: variants of a text it accepts.
#pragma once

#include <string>
#include <vector>

// 100,000 bytes of stem characters, so that a scan that stops at the first
// matching character (rather than comparing whole texts) would accept it.
inline const std::string kHundredThousandBytes = [] {
  std::string text;
  while (text.size() < 100000) text += "甲";
  return text;
}();

// The empty text, `accepted` with a blank before or after it, doubled, cut
// after its first byte, followed by a lone GBK lead byte, Latin letters, a
// lone lead byte and a 100,000-byte text.
inline std::vector<std::string> unrecognised_variants_of(const std::string& accepted) {
  return {"",
          accepted + " ",
          " " + accepted,
          accepted + accepted,
          accepted.substr(0, 1),
          accepted + "\xbc",
          "a",
          "jia",
          "\xbc",
          kHundredThousandBytes};
}
