#include "platform/faults.h"

#include <cstdlib>
#include <cstring>

namespace os {
namespace faults {
namespace {

struct Plan {
  long failAt = 0;  // the call to fail, counting from 1; 0 for none
  Error error;
  long seen = 0;
};

bool gArmed = false;
Plan gPlans[static_cast<int>(Call::Count)];

const char* const kNames[] = {"open", "create", "read", "write", "close", "size"};

}  // namespace

bool Due(Call call, Error* error) {
  if (!gArmed) return false;
  Plan& p = gPlans[static_cast<int>(call)];
  if (++p.seen != p.failAt) return false;
  *error = p.error;
  return true;
}

}  // namespace faults

// "read:3=5,write:1=112,close:2=28!": the third read fails with 5, ... A
// trailing "!" marks a platform number that has no message of its own.
void ArmFaults(const char* plan) {
  if (plan == nullptr) return;
  const char* p = plan;
  while (*p) {
    const char* colon = std::strchr(p, ':');
    if (!colon) return;
    for (int k = 0; k < static_cast<int>(faults::Call::Count); ++k) {
      std::size_t len = std::strlen(faults::kNames[k]);
      if (static_cast<std::size_t>(colon - p) != len || std::strncmp(p, faults::kNames[k], len) != 0)
        continue;
      char* end = nullptr;
      faults::gPlans[k].failAt = std::strtol(colon + 1, &end, 10);
      if (*end == '=') faults::gPlans[k].error.number = static_cast<int>(std::strtol(end + 1, &end, 10));
      if (*end == '!') {
        faults::gPlans[k].error.native = true;
        ++end;
      }
      faults::gArmed = true;
      colon = end;
    }
    p = std::strchr(colon, ',');
    if (!p) return;
    ++p;
  }
}

}  // namespace os
