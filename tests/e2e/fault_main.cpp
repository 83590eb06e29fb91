// Rowpluck with its fault seam armed from ROWPLUCK_FAULTS, for the
// end-to-end cases of failures the real system will not produce on demand.
#include <cstdlib>

#include "app/Rowpluck.h"
#include "platform/os.h"

int main(int argc, char** argv) {
  os::ArmFaults(std::getenv("ROWPLUCK_FAULTS"));
  app::Start(argc, argv);
}
