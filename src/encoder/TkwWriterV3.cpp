#include "encoder/TkwWriterV3.h"

#include "encoder/TkwBlockEncoderV3.h"

void TkwWriterV3::EncodeChunk(TkwBitWriter& writer, const std::int16_t* samples, int count, std::uint64_t total,
                              std::uint64_t done) {
  WorkingSignal signal(samples, count, context_.search.workspace);
  TkwBlockEncoderV3 encoder(context_.settings, signal, context_.notice, context_.search);
  RunChunkLoop(encoder, signal, writer, total, done);
}
