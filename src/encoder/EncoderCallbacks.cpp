#include "encoder/EncoderCallbacks.h"

#include "support/LogWriter.h"

void EncoderCallbacks::WriteLog(const char* line) { LogWriter::Instance().Write(line); }
