#include "support/FileByteSource.h"

FileByteSource::FileByteSource(const char* path) : path_(path) { file_.Open(path, RFile::kRead); }

std::unique_ptr<ByteSource> FileByteSource::Reopen() const { return std::make_unique<FileByteSource>(path_.c_str()); }
