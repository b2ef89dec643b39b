#include "encoder/ErrorNotice.h"

#include "platform/UserInterface.h"

void ErrorNotice::NegativeError() {
  if (shown_.exchange(true)) return;
  plat::messageBox("Error2 < 0", "FatalError", plat::kMbOk);
}
