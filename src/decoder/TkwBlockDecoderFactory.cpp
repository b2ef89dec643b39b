#include "decoder/TkwBlockDecoderFactory.h"

#include "decoder/TkwBlockDecoderV1.h"
#include "decoder/TkwBlockDecoderV2.h"
#include "format/TkwHeader.h"

std::unique_ptr<TkwBlockDecoder> MakeTkwBlockDecoder(const TkwHeaderValues& header) {
  if (header.layout == TkwLayout::V1)
    return std::make_unique<TkwBlockDecoderV1>(header.contrastLimit, header.brightnessLimit, header.contrastBits,
                                               header.brightnessBits, header.offsetBits);
  return std::make_unique<TkwBlockDecoderV2>(header.offsetBits, header.CodecVersion() == 3);
}
