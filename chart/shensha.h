// 神煞: each rule is one record (name, anchor, target, table, pillars
// examined, whether the anchor's own pillar counts, source); schools that
// disagree are named variants of the records. The calculation runs on
// indices (stems 0-9, branches 0-11, pairs 0-59); names become UTF-8 only
// through utf8_name.
//
// The records' texts (names, tables, sources) are GBK like pillarcore's
// vocabulary, so that the tables are read with its lookups.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "chart.h"

namespace pillar::chart::shensha {

// What a rule's table is looked up by.
enum class Anchor : std::uint8_t {
  YearStem,
  DayStem,
  YearOrDayStem,    // each of the two, the table read once for each
  YearBranch,
  DayBranch,
  YearOrDayBranch,
  AnyBranch,        // the branch of every natal pillar
  MonthBranch,      // also the season: tables key 寅卯辰 for spring
  YearNayin,        // the element of the year pillar's 纳音
  YearBranchBySex,  // the year branch, read apart for 阳男阴女 and 阴男阳女
  YearOrDayDecade,  // the 旬 of the year and of the day pillar
  DayDecade,
  HourPillar,
  None,             // the examined pillar alone
  ChartStems,       // the order of the natal stems (三奇)
};

// What of the examined pillar the table names.
enum class Target : std::uint8_t { Stem, Branch, StemOrBranch, Pillar };

// Tables that are another table of the library read differently.
enum class Derived : std::uint8_t {
  None,
  Lodging,        // 临官 of the stem (yin stems on their own backward cycle)
  Blade,          // 帝旺 of the stem, same cycles
  BladeClash,     // the branch clashing Blade
  BirthOfElement, // 长生 of the stem's element (yin stems on the yang cycle)
  BirthOwnCycle,  // 长生 with yin stems on their own backward cycle
  Void,           // the two void branches of the 旬
};

// Pillars a rule examines.
enum Examined : unsigned {
  kYear = 1,
  kMonth = 2,
  kDay = 4,
  kHour = 8,
  kLuck = 16,  // luck, annual and other pillars outside the chart
  kNatal = kYear | kMonth | kDay | kHour,
  kEvery = kNatal | kLuck,
};

struct Rule {
  std::string_view name;   // the common full name
  Anchor anchor;
  Target target;
  // "甲戊庚>丑未 乙己>子申 …": keys, '>', targets. Anchor None lists the
  // pillars alone; YearBranchBySex gives 阳男阴女's entries, '|', then
  // 阴男阳女's; ChartStems lists the stem sequences. Empty when derived.
  std::string_view table;
  Derived derived;
  unsigned examined;
  bool self;               // the anchor's own pillar may be flagged
  std::string_view source; // the classical text, or 通行 (common usage)
  std::string_view variant;  // empty for a default rule; else the variant it belongs to
};

// A school's difference from the defaults, for the rules it names: entries
// replacing the table's entries of the same keys, another anchor, other
// pillars or self-flagging; or records of its own (Rule::variant == id)
// replacing the named rules.
struct Variant {
  std::string_view id;      // the option's name, ASCII
  std::string_view rules;   // names of the rules it changes, separated by blanks
  std::string_view patch;
  std::optional<Anchor> anchor;
  int examined = -1;        // -1: unchanged
  int self = -1;            // -1: unchanged
  std::string_view followed_by;  // the peers or texts that read it so
};

std::span<const Rule> rules();
std::span<const Variant> variants();

using RuleBits = std::array<std::uint64_t, 2>;  // bit r: rule r of a rule set

// The values of a chart that anchors read; a rule reads one or more.
enum Source : std::uint8_t {
  kYearStemSource,
  kDayStemSource,
  kYearBranchSource,
  kMonthBranchSource,
  kDayBranchSource,
  kHourBranchSource,
  kYearNayinSource,
  kYearBranchBySexSource,
  kYearDecadeSource,
  kDayDecadeSource,
  kHourPillarSource,
  kNoSource,  // rules without an anchor
  kSourceCount,
};

// The rules in force under the chosen variants, compiled to index tables.
class RuleSet {
 public:
  struct Compiled {
    const Rule* record;
    std::string name;  // UTF-8
    int name_id;       // the same for the records of one name
    Anchor anchor;
    unsigned examined;
    bool self;
    bool pillar_target;  // the table holds pairs (bit = pair) rather than stems and branches
    // By anchor key: bits 0-9 stems and 10-21 branches, or bits 0-59 pairs.
    std::array<std::uint64_t, 60> table{};
    std::vector<std::array<int, 3>> sequences;  // ChartStems: stem orders
  };
  // The rules turned around: for a source's value, by the examined pillar's
  // stem (slots 0-9), branch (10-21) or pair (22-81), the rules it fires.
  using Slots = std::array<RuleBits, 82>;

  // Throws InputError for an unknown variant or two that change one rule.
  explicit RuleSet(std::span<const std::string> variant_ids = {});
  const std::vector<Compiled>& compiled() const { return rules_; }
  // The slots of `source` at value `key`.
  const Slots& slots(Source source, int key) const { return slots_[first_key_[source] + key]; }
  // Rules that read `source` and may fire at position 0-3, or 4 outside the chart.
  const RuleBits& allowed(Source source, int position) const { return allowed_[source][position]; }
  int chart_stems_rule() const { return chart_stems_rule_; }
  // Whether some rule reading `source` names pairs.
  bool names_pairs(Source source) const { return names_pairs_[source]; }
  // The UTF-8 name of rule r and its name's number, kept close together.
  const std::string& name(std::size_t r) const { return names_[r]; }
  int name_id(std::size_t r) const { return name_ids_[r]; }

 private:
  void index();
  std::vector<Compiled> rules_;
  std::vector<std::string> names_;
  std::vector<std::uint8_t> name_ids_;
  std::array<int, kSourceCount + 1> first_key_{};
  std::vector<Slots> slots_;
  std::array<std::array<RuleBits, 5>, kSourceCount> allowed_{};
  int chart_stems_rule_ = -1;
  std::array<bool, kSourceCount> names_pairs_{};
};

// The defaults, compiled once.
const RuleSet& default_rules();
// The rule set of these variants, compiled once per list and kept.
const RuleSet& rules_with(std::span<const std::string> variant_ids);

// The chart the rules read: pair numbers 0-59, hour -1 when unknown.
struct Natal {
  int year, month, day, hour;
  std::optional<Sex> sex;
};

// One chart's values of the sources, so that a pillar's rules are a few
// lookups by its stem, branch and pair.
class Finder {
 public:
  Finder(const RuleSet& rules, const Natal& natal);
  // Indexes into rules.compiled() of the rules firing on natal pillar
  // `position` (0 year … 3 hour), appended to `found` in rule order.
  void natal(int position, std::vector<std::uint8_t>& found) const;
  // The same on a pillar outside the chart (luck, annual).
  void extra(int pair, std::vector<std::uint8_t>& found) const;

 private:
  void scan(int position, int pair, std::vector<std::uint8_t>& found) const;
  // A source this chart has that some rule reads for the pillar at hand.
  struct Active {
    const RuleSet::Slots* slots;
    RuleBits allowed;
    bool pairs;  // some of its rules name pairs
  };
  int pairs_[4];
  std::array<std::array<Active, kSourceCount>, 5> active_;  // by position
  std::array<int, 5> active_count_{};
  RuleBits chart_stems_[5]{};  // the 三奇 rule's bit where its stems stand
};

// The UTF-8 name of a record's text (names, sources).
const std::string& utf8_text(std::string_view gbk);

// `names` becomes the distinct names of `found`, in rule order, in UTF-8:
// views of the rule set's texts (default_rules and rules_with keep theirs
// for the program's life).
void assign_names(const RuleSet& rules, const std::vector<std::uint8_t>& found,
                  std::vector<std::string_view>& names);

// Helpers the docs generator shares: how a record reads in words (UTF-8).
std::string anchor_text(Anchor anchor);
std::string target_text(Target target);
std::string examined_text(unsigned examined);
// The compiled table of a rule written back as text, keys before '>'.
std::string table_text(const RuleSet::Compiled& rule);

}  // namespace pillar::chart::shensha
