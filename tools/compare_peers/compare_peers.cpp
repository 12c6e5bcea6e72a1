// Compares the engine's pillars with pillar rows of another library and
// sorts every difference by kind.
//
//   compare_peers PILLARS.jsonl JIE.jsonl [--sample N FIXTURE.tsv]
//
// PILLARS.jsonl: {"datetime":"YYYY-MM-DDTHH:MM:SS","year":"甲子","month":..,"day":..,"hour":..,"sect":1|2}
// per line, Beijing time (fixed UTC+8); sect 1 changes the day at 23:00, sect
// 2 at midnight with the late 子 hour on the next day's stem. JIE.jsonl:
// {"year":Y,"name":"立春","instant":"YYYY-MM-DDTHH:MM:SS"}, the other
// library's jie instants. The summary goes to standard output; with
// --sample, up to N rows (every difference first, then rows near the
// boundaries) are written as the test fixture: datetime, school, the other
// library's four pillars, and "same" or "jie±S" (our jie lies S seconds from
// the moment, theirs on the other side).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "chart.h"
#include "pillar_arithmetic.h"

namespace {

using namespace pillar::chart;

std::string field(const std::string& line, const std::string& key) {
  std::string marker = "\"" + key + "\":";
  std::size_t at = line.find(marker);
  if (at == std::string::npos) return {};
  at += marker.size();
  if (line[at] == '"') {
    std::size_t end = line.find('"', at + 1);
    return line.substr(at + 1, end - at - 1);
  }
  std::size_t end = line.find_first_of(",}", at);
  return line.substr(at, end - at);
}

// Differences of term instants in classes: a few seconds are the two term
// algorithms; up to a minute the predicted ΔT of the years after 2050.
std::string bucket(long seconds) {
  long magnitude = std::labs(seconds);
  if (magnitude == 0) return "0 s";
  if (magnitude <= 3) return "1-3 s";
  if (magnitude <= 10) return "4-10 s";
  return "11-60 s";
}

std::int64_t beijing_utc(const std::string& iso) {
  CivilMoment m = parse_civil_moment(iso);
  return detail::seconds_of_civil(m.year, m.month, m.day, m.hour, m.minute, m.second) - 8 * 3600;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 6) {
    std::fprintf(stderr, "usage: compare_peers PILLARS.jsonl JIE.jsonl [--sample N FIXTURE.tsv]\n");
    return 2;
  }
  // Their jie instants against ours, by year and name.
  std::ifstream jie_file(argv[2]);
  std::map<long, int> jie_differences;  // our instant minus theirs, seconds → count
  std::map<std::int64_t, std::int64_t> their_jie_by_ours;
  const auto& ours = detail::jie_instants();
  std::string line;
  int jie_compared = 0;
  while (std::getline(jie_file, line)) {
    int year = std::atoi(field(line, "year").c_str());
    if (year > detail::kLastYear) continue;
    std::int64_t theirs = beijing_utc(field(line, "instant"));
    int index = detail::jie_index_at(detail::Utc(theirs + 3600 * 24 * 3));  // ours lies within seconds
    std::int64_t mine = ours[index].seconds;
    if (std::llabs(mine - theirs) > 24 * 3600) mine = ours[index - 1].seconds;
    ++jie_differences[static_cast<long>(mine - theirs)];
    their_jie_by_ours[mine] = theirs;
    ++jie_compared;
  }
  std::map<std::string, int> jie_buckets;
  for (auto [difference, count] : jie_differences) jie_buckets[bucket(difference)] += count;
  std::printf("jie instants compared (1901-2079): %d; ours minus theirs:\n", jie_compared);
  for (auto [name, count] : jie_buckets) std::printf("  %s: %d\n", name.c_str(), count);

  std::ifstream pillars_file(argv[1]);
  long rows = 0, outside = 0, same = 0;
  std::map<std::string, long> kinds;
  std::vector<std::string> differing, near_boundary;
  while (std::getline(pillars_file, line)) {
    ++rows;
    std::string when = field(line, "datetime");
    int sect = std::atoi(field(line, "sect").c_str());
    ZiSchool school = sect == 1 ? ZiSchool::DayChangesAt23 : ZiSchool::NextDayStem;
    std::int64_t utc = beijing_utc(when);
    Pillars theirs{field(line, "year"), field(line, "month"), field(line, "day"), field(line, "hour")};
    std::string fixture = when + "\t" + (sect == 1 ? "day-at-23" : "next-day-stem") + "\t" + theirs.year + "\t" +
                          theirs.month + "\t" + theirs.day + "\t" + *theirs.hour + "\t";
    Pillars mine;
    try {
      mine = pillars_at(utc, 8 * 3600, school);
    } catch (const InputError&) {
      ++outside;
      continue;
    }
    if (mine == theirs) {
      ++same;
      if (when.substr(11) == "23:00:00" || when.substr(11) == "00:00:00" || when.substr(11) == "22:59:59")
        near_boundary.push_back(fixture + "same");
      continue;
    }
    // Which of our jie lies nearest, and whether theirs puts the moment on the other side.
    int index = detail::jie_index_at(detail::Utc(utc));
    std::int64_t before = utc - ours[index].seconds, after = ours[index + 1].seconds - utc;
    std::int64_t mine_jie = before <= after ? ours[index].seconds : ours[index + 1].seconds;
    std::string kind;
    if (mine.day != theirs.day || mine.hour != theirs.hour) {
      kind = "day or hour (school or other)";
    } else if (their_jie_by_ours.count(mine_jie)) {
      std::int64_t their_jie = their_jie_by_ours[mine_jie];
      bool other_side = (utc >= mine_jie) != (utc >= their_jie);
      kind = other_side ? "jie instant differs by " + bucket(mine_jie - their_jie) : "month/year, other";
    } else {
      kind = "month/year, other";
    }
    ++kinds[kind];
    differing.push_back(fixture + "jie" + (mine_jie - utc >= 0 ? "+" : "") + std::to_string(mine_jie - utc));
  }
  std::printf("pillar rows: %ld; outside our range (after 2079): %ld; compared: %ld; same: %ld; differing: %ld\n",
              rows, outside, rows - outside, same, rows - outside - same);
  for (auto [kind, count] : kinds) std::printf("  %s: %ld\n", kind.c_str(), count);

  if (argc == 6) {
    std::size_t limit = std::strtoul(argv[4], nullptr, 10);
    std::ofstream out(argv[5]);
    out << "# datetime (UTC+8)\tschool\tyear\tmonth\tday\thour (another library's pillars)\tsame, or jie±S: our jie "
           "instant lies S s from the moment and theirs on the other side\n";
    std::size_t written = 0;
    std::size_t stride = std::max<std::size_t>(1, differing.size() / (limit / 2));
    for (std::size_t i = 0; i < differing.size() && written < limit / 2; i += stride) out << differing[i] << "\n", ++written;
    std::size_t step = std::max<std::size_t>(1, near_boundary.size() / (limit - written));
    for (std::size_t i = 0; i < near_boundary.size() && written < limit; i += step) out << near_boundary[i] << "\n", ++written;
  }
  return 0;
}
