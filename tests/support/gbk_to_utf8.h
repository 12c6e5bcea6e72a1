// GBK text as UTF-8, for names shown to people (benchmark labels, docs).
#pragma once

#include <iconv.h>

#include <string>

inline std::string gbk_to_utf8(const char* gbk) {
  std::string in(gbk), out(in.size() * 2, '\0');
  iconv_t converter = iconv_open("UTF-8", "GBK");
  char* source = in.data();
  char* target = out.data();
  std::size_t source_left = in.size(), target_left = out.size();
  iconv(converter, &source, &source_left, &target, &target_left);
  iconv_close(converter);
  out.resize(out.size() - target_left);
  return out;
}
