// Bad shapes of one valid argument, for exports that accept only exact
// stems, branches or pairs: each must be refused where `valid` is accepted.
#pragma once

#include <string>
#include <vector>

class MalformedTexts {
 public:
  explicit MalformedTexts(const std::string& valid)
      : owned_{"",
               " " + valid,
               valid + " ",
               valid + valid,
               "jia",
               "JiaZi",
               "\xbc",                 // a lone GBK lead byte
               valid.substr(0, 1),     // the valid text cut after its lead byte
               valid + "\xbc",
               repeated(valid, 100000)} {
    texts_.push_back(nullptr);
    for (const auto& text : owned_) texts_.push_back(text.c_str());
  }

  auto begin() const { return texts_.begin(); }
  auto end() const { return texts_.end(); }

  // For failure messages; the long text is not printed whole.
  static std::string describe(const char* text) {
    if (!text) return "null";
    std::string shown(text);
    return shown.size() > 16 ? std::to_string(shown.size()) + "-byte text" : "\"" + shown + "\"";
  }

 private:
  static std::string repeated(const std::string& text, std::size_t bytes) {
    std::string long_text;
    while (long_text.size() + text.size() <= bytes) long_text += text;
    return long_text;
  }

  std::vector<std::string> owned_;
  std::vector<const char*> texts_;
};
