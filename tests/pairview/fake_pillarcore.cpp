// A pillarcore.dll of another version: its 取十神关系 takes two arguments
// instead of three, so it removes 8 argument bytes where pairview pushes 12.
// The other three exports answer as for any valid chart.
#include <cstdint>

#define FAKE_CALL __attribute__((stdcall))

extern "C" {

std::int32_t FAKE_CALL fake_chart_is_valid(const char*, const char*,
                                                                 const char*, const char*,
                                                                 const char*, const char*,
                                                                 const char*, const char*) {
  return 1;
}

std::int32_t FAKE_CALL fake_count(const char*, const char*, const char*,
                                                        const char*, const char*, const char*,
                                                        const char*, const char*, const char*) {
  return 1;
}

const char* FAKE_CALL fake_element(const char*) { return "木"; }

const char* FAKE_CALL fake_ten_god(const char*, const char*) {
  return "比肩";
}
}
