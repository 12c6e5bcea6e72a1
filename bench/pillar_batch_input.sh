#!/usr/bin/env bash
# Writes N (default 200000) batch lines for `pillar chart --batch`: births
# spread over 1881-2078 at several places and under every school, the same
# lines on every run.
#   bench/pillar_batch_input.sh 200000 > /tmp/births.jsonl
#   time build/native/pillar/pillar chart --batch < /tmp/births.jsonl > /dev/null
set -euo pipefail
awk -v count="${1:-200000}" 'BEGIN {
  srand(13)
  split("Asia/Shanghai Asia/Shanghai Asia/Shanghai Asia/Hong_Kong Asia/Taipei America/New_York Europe/London", zones, " ")
  split("male female 男 女", sexes, " ")
  split("next-day-stem day-at-23 same-day-stem", schools, " ")
  for (i = 0; i < count; i++) {
    year = 1881 + int(rand() * 198); month = 1 + int(rand() * 12); day = 1 + int(rand() * 28)
    line = sprintf("{\"datetime\": \"%04d-%02d-%02dT%02d:%02d\", \"tz\": \"%s\", \"sex\": \"%s\", \"zi_hour\": \"%s\"",
                   year, month, day, int(rand() * 24), int(rand() * 60), zones[1 + int(rand() * 7)],
                   sexes[1 + i % 4], schools[1 + int(rand() * 3)])
    if (i % 3 == 0) line = line sprintf(", \"longitude\": %.2f", 100 + rand() * 25)
    print line "}"
  }
}'
