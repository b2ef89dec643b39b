// TkrConverter for Windows: the dialog program.
#include "converter/ConverterMainWindow.h"
#include "converter/resources/resource.h"
#include "platform/DialogHost.h"

int main() {
  ConverterMainWindow window(TkrConverterSettings::IniPath(), TkrConverterSettings::QueueFilePath());
  return plat::RunMainDialog(IDD_CONVERTER_MAIN, window);
}
