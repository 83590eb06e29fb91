// A seam for tests: makes the Nth call of one kind fail with a chosen error,
// so that the failure report, the exit code and the files can be checked for
// failures the real system will not produce on demand. Nothing arms it in
// the product; the test build of the binary arms it from its environment.
#ifndef ROWPLUCK_PLATFORM_FAULTS_H
#define ROWPLUCK_PLATFORM_FAULTS_H

#include "platform/os.h"

namespace os::faults {

enum class Call { Open, Create, Read, Write, Close, Size, Count };

// Counts this call of its kind; true, with the error it must return, when
// it is the one chosen to fail.
bool Due(Call call, Error* error);

}  // namespace os::faults

#endif  // ROWPLUCK_PLATFORM_FAULTS_H
