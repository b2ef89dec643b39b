// Runs a program's main window: the dialog template of the executable's
// resources, driven by a controller (platform/DialogView.h). Windows only; the
// other builds have no windows.
#pragma once

class DialogController;

namespace plat {

// Creates the modeless dialog, runs the message loop (with the dialog's own
// keyboard navigation) until the window is closed, and returns the exit code.
int RunMainDialog(int templateId, DialogController& controller);

} // namespace plat
