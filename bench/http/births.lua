-- wrk script: GET /api/v1/chart over 2,000 varied births (1901-2070, every
-- hour and minute, both sexes; a clock time that daylight saving skipped or
-- repeated read the earlier way), the same list on every run.
--   wrk -t1 -c32 -d30s --latency -s bench/http/births.lua http://127.0.0.1:8080
local paths = {}
local seed = 13
local function random_below(n)
  seed = (seed * 1103515245 + 12345) % 2147483648
  return seed % n
end
for i = 1, 2000 do
  paths[i] = string.format("/api/v1/chart?datetime=%04d-%02d-%02dT%02d:%02d&sex=%s&fold=earlier",
                           1901 + random_below(170), 1 + random_below(12), 1 + random_below(28),
                           random_below(24), random_below(60), i % 2 == 0 and "male" or "female")
end

local next_path = 0
request = function()
  next_path = next_path % #paths + 1
  return wrk.format("GET", paths[next_path])
end
