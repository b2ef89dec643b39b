// tkwEncoder for Windows: the dialog program.
#include "encoder_app/EncoderMainWindow.h"
#include "encoder_app/SettingsFile.h"
#include "encoder_app/resources/resource.h"
#include "platform/DialogHost.h"

int main() {
  EncoderMainWindow window(DefaultSettingsPath());
  return plat::RunMainDialog(IDD_ENCODER_MAIN, window);
}
