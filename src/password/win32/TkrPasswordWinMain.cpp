// TkrPassword for Windows: the dialog program.
#include "password/PasswordMainWindow.h"
#include "password/resources/resource.h"
#include "platform/DialogHost.h"

int main() {
  PasswordMainWindow window;
  return plat::RunMainDialog(IDD_PASSWORD_MAIN, window);
}
