#include "birth_json.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "birth_options.h"
#include "json_writer.h"

namespace pillar::cli {

namespace {

using chart::InputError;
using Json = nlohmann::json;

// Reads one object straight into a BirthInput, without building a
// tree: the keys are the batch keys of the birth options.
class BirthReader final : public nlohmann::json_sax<Json> {
 public:
  explicit BirthReader(chart::BirthInput& input) : input_(input) {}

  bool null() override {  // a key whose value is null counts as absent
    value_at_top();
    seen_ &= ~bit_of(option_);
    return true;
  }
  bool boolean(bool value) override {
    OptionValue v;
    v.kind = OptionValue::Kind::Boolean;
    v.boolean = value;
    return apply(v);
  }
  bool number_integer(number_integer_t value) override { return number(static_cast<double>(value)); }
  bool number_unsigned(number_unsigned_t value) override { return number(static_cast<double>(value)); }
  bool number_float(number_float_t value, const string_t&) override { return number(value); }
  bool string(string_t& text) override {
    OptionValue v;
    v.text = text;
    return apply(v);
  }
  bool binary(binary_t&) override { return nested("binary"); }
  bool start_object(std::size_t) override {
    if (depth_++ == 0) return true;
    return nested("an object");
  }
  bool key(string_t& name) override {
    option_ = find_birth_option(name);
    if (!option_) throw InputError("unknown key " + quoted_text(name));
    auto bit = bit_of(option_);
    if (seen_ & bit) throw InputError("key " + quoted_text(name) + " given twice");
    seen_ |= bit;
    return true;
  }
  bool end_object() override {
    --depth_;
    return true;
  }
  bool start_array(std::size_t) override { return nested("an array"); }
  bool end_array() override { return true; }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) override {
    // "[json.exception.parse_error.101] parse error at ..." without the tag.
    // The line number is the batch's, so "at line 1, column 5" becomes "at column 5".
    std::string message = error.what();
    if (auto tag_end = message.find("] "); message.starts_with("[json.") && tag_end != message.npos)
      message.erase(0, tag_end + 2);
    if (auto at = message.find("at line 1, "); at != message.npos) message.erase(at + 3, 8);
    // Its "last read: '...'" may quote a whole long token.
    throw InputError("not a JSON object: " + printable_text(message, kLongestMessage - 40));
  }

  bool gave(std::string_view key) const { return seen_ & bit_of(find_birth_option(key)); }

 private:
  static unsigned bit_of(const BirthOption* option) { return 1u << (option - birth_options().data()); }
  bool value_at_top() {
    if (depth_ == 0) throw InputError("a line must hold one JSON object");
    return true;
  }
  bool number(double value) {
    OptionValue v;
    v.kind = OptionValue::Kind::Number;
    v.number = value;
    return apply(v);
  }
  bool apply(const OptionValue& value) {
    value_at_top();
    option_->apply(input_, value);
    return true;
  }
  bool nested(const char* what) {
    value_at_top();
    throw InputError(std::string("key \"") + option_->batch_key + "\": expected a text, number or boolean, not " +
                     what);
  }

  chart::BirthInput& input_;
  const BirthOption* option_ = nullptr;
  unsigned seen_ = 0;  // one bit per birth option
  int depth_ = 0;
};

// Most objects have a plain shape: one flat object whose keys and texts are
// UTF-8 without escapes or control characters and whose values are texts, numbers, true,
// false or null. Such an object is scanned here and replayed into the reader,
// the same calls in the same order as nlohmann's parser would make, at a
// fraction of its cost. Any other object, valid or not, goes to nlohmann,
// which also words the errors.
class PlainObject {
 public:
  bool scan(std::string_view text) {
    p_ = text.data();
    end_ = p_ + text.size();
    count_ = 0;
    if (!skip_space() || *p_++ != '{' || !skip_space()) return false;
    if (*p_ == '}') return ++p_, at_end();
    for (;;) {
      if (count_ == members_.size()) return false;
      Member& member = members_[count_++];
      if (!scan_text(member.key) || !skip_space() || *p_++ != ':' || !skip_space() || !scan_value(member) ||
          !skip_space())
        return false;
      char next = *p_++;
      if (next == '}') return at_end();
      if (next != ',' || !skip_space()) return false;
    }
  }

  void replay(BirthReader& reader) {
    reader.start_object(count_);
    for (std::size_t i = 0; i < count_; ++i) {
      const Member& member = members_[i];
      key_.assign(member.key);
      reader.key(key_);
      switch (member.kind) {
        case Kind::Text:
          text_.assign(member.text);
          reader.string(text_);
          break;
        case Kind::Integer: reader.number_integer(member.integer); break;
        case Kind::Float: reader.number_float(member.number, text_); break;
        case Kind::True: reader.boolean(true); break;
        case Kind::False: reader.boolean(false); break;
        case Kind::Null: reader.null(); break;
      }
    }
    reader.end_object();
  }

 private:
  enum class Kind { Text, Integer, Float, True, False, Null };
  struct Member {
    std::string_view key, text;
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double number = 0;
  };

  // Skips JSON white space; false at the end of the text.
  bool skip_space() {
    while (p_ < end_ && (*p_ == ' ' || *p_ == '\t')) ++p_;
    return p_ < end_;
  }
  bool at_end() { return !skip_space(); }

  bool scan_text(std::string_view& text) {
    if (p_ == end_ || *p_ != '"') return false;
    const char* first = ++p_;
    bool beyond_ascii = false;
    while (p_ < end_ && *p_ != '"') {
      auto c = static_cast<unsigned char>(*p_++);
      if (c < 0x20 || c == '\\') return false;  // escapes and control characters: nlohmann's
      beyond_ascii |= c >= 0x80;
    }
    if (p_ == end_) return false;
    text = std::string_view(first, static_cast<std::size_t>(p_++ - first));
    return !beyond_ascii || is_utf8(text);
  }

  bool scan_word(std::string_view word) {
    if (static_cast<std::size_t>(end_ - p_) < word.size() || std::string_view(p_, word.size()) != word) return false;
    p_ += word.size();
    return true;
  }

  bool digits() {
    const char* first = p_;
    while (p_ < end_ && *p_ >= '0' && *p_ <= '9') ++p_;
    return p_ > first;
  }

  // The JSON number grammar, then the value as nlohmann would give it.
  bool scan_number(Member& member) {
    const char* first = p_;
    if (*p_ == '-') ++p_;
    if (p_ == end_) return false;
    if (*p_ == '0')
      ++p_;
    else if (!digits())
      return false;
    bool fraction_or_exponent = false;
    if (p_ < end_ && *p_ == '.') {
      ++p_;
      if (!digits()) return false;
      fraction_or_exponent = true;
    }
    if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
      ++p_;
      if (p_ < end_ && (*p_ == '+' || *p_ == '-')) ++p_;
      if (!digits()) return false;
      fraction_or_exponent = true;
    }
    if (fraction_or_exponent) {
      member.kind = Kind::Float;
      auto [last, error] = std::from_chars(first, p_, member.number);
      return error == std::errc() && last == p_;
    }
    member.kind = Kind::Integer;
    auto [last, error] = std::from_chars(first, p_, member.integer);
    return error == std::errc() && last == p_ && !(member.integer == 0 && *first == '-');
  }

  bool scan_value(Member& member) {
    switch (*p_) {
      case '"': member.kind = Kind::Text; return scan_text(member.text);
      case 't': member.kind = Kind::True; return scan_word("true");
      case 'f': member.kind = Kind::False; return scan_word("false");
      case 'n': member.kind = Kind::Null; return scan_word("null");
      default: return scan_number(member);
    }
  }

  const char* p_ = nullptr;
  const char* end_ = nullptr;
  std::array<Member, 16> members_;
  std::size_t count_ = 0;
  std::string key_, text_;  // the reader takes std::string&: reused
};

}  // namespace

void read_birth_json(std::string_view json_object, chart::BirthInput& input) {
  thread_local PlainObject plain_object;  // reused: its texts keep their capacity
  // nlohmann's parser takes a NUL for the end of the text and would read no further.
  if (auto nul = json_object.find('\0'); nul != json_object.npos)
    throw InputError("not a JSON object: a NUL byte at column " + std::to_string(nul + 1));
  BirthReader reader(input);
  if (plain_object.scan(json_object))
    plain_object.replay(reader);
  else
    Json::sax_parse(json_object.data(), json_object.data() + json_object.size(), &reader);
  if (reader.gave("datetime") && reader.gave("lunar")) throw InputError("give \"datetime\" or \"lunar\", not both");
  if (!reader.gave("datetime") && !reader.gave("lunar")) throw InputError("key \"datetime\" is missing");
  if (reader.gave("tz") && reader.gave("utc_offset")) throw InputError("give \"tz\" or \"utc_offset\", not both");
}

}  // namespace pillar::cli
