// The usage screen, shown when the tool is run without arguments or with
// "/?" or "?" first.
#ifndef ROWPLUCK_APP_USAGE_H
#define ROWPLUCK_APP_USAGE_H

namespace app {

void ShowUsage();

}  // namespace app

#endif  // ROWPLUCK_APP_USAGE_H
