// Why an output cannot be written, found before the encoder starts on it, in
// words the user can act on.
#pragma once

#include <string>

// Why an output of that path cannot be written (too long, folder missing or
// not writable), or the empty text.
std::string OutputProblem(const std::string& outputPath);
// Why no file can be created in the folder, or the empty text.
std::string FolderWriteProblem(const std::string& folder);
