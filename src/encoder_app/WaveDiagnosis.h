// Why a wave file cannot be encoded, told in words the user can act on. The
// engine only says that a file failed; the command line names the cause.
#pragma once

#include <string>

// The reason, or the empty text when the input looks encodable.
std::string WaveProblem(const std::string& wavePath);
// Why an output of that path cannot be written (too long, folder missing or
// not writable), or the empty text.
std::string OutputProblem(const std::string& outputPath);
// Why no file can be created in the folder, or the empty text.
std::string FolderWriteProblem(const std::string& folder);
