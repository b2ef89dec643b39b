#include "format/TkwHeader.h"

#include "format/TkwFormatVersion.h"
#include "support/ByteOrder.h"
#include "support/Exceptions.h"

using namespace tkw;

std::uint32_t TkwHeaderValues::CodecVersion() const {
  if (layout == TkwLayout::V1) return 1;
  return formatVersion == TkwFormatVersion::kV3 ? 3 : 2;
}

TkwHeaderValues TkwHeaderValues::FromV1Fields(const unsigned char* p) {
  TkwHeaderValues h;
  h.layout = TkwLayout::V1;
  h.formatVersion = 1;
  h.length = LoadLe32(p + 0);
  h.sampleRate = LoadLe32(p + 4);
  h.entryCount = LoadLe32(p + 8);
  h.contrastLimit = LoadLe16(p + 12);
  h.brightnessLimit = LoadLe16(p + 14);
  h.channels = p[16];
  h.contrastBits = p[17];
  h.brightnessBits = p[18];
  h.offsetBits = p[19];
  return h;
}

TkwHeaderValues TkwHeaderValues::FromV2Fields(const unsigned char* p, std::uint32_t formatVersion) {
  TkwHeaderValues h;
  h.layout = TkwLayout::V2;
  h.formatVersion = formatVersion;
  h.length = LoadLe32(p + 0);
  h.sampleRate = LoadLe32(p + 4);
  h.entryCount = LoadLe32(p + 8);
  h.channels = p[12];
  h.offsetBits = p[13];
  h.reserved = {p[14], p[15]};
  return h;
}

void TkwHeaderValues::StoreFields(unsigned char* p) const {
  StoreLe32(p + 0, length);
  StoreLe32(p + 4, sampleRate);
  StoreLe32(p + 8, entryCount);
  if (layout == TkwLayout::V1) {
    StoreLe16(p + 12, contrastLimit);
    StoreLe16(p + 14, brightnessLimit);
    p[16] = channels;
    p[17] = contrastBits;
    p[18] = brightnessBits;
    p[19] = offsetBits;
    return;
  }
  p[12] = channels;
  p[13] = offsetBits;
  p[14] = reserved[0];
  p[15] = reserved[1];
}

TkwHeaderValues MakeTkwHeaderValues(std::uint32_t codecVersion, std::uint32_t length, std::uint32_t sampleRate,
                                    std::uint8_t channels) {
  TkwHeaderValues h;
  h.layout = codecVersion == 1 ? TkwLayout::V1 : TkwLayout::V2;
  h.formatVersion = codecVersion;
  h.length = length;
  h.sampleRate = sampleRate;
  h.channels = channels;
  h.entryCount = std::uint32_t{channels} * SectorCount(length);
  return h;
}

void CheckTkwHeaderValues(const TkwHeaderValues& header) {
  if (header.layout == TkwLayout::V2 && !TkwFormatVersion::IsKnown(header.formatVersion)) throw TKW_BadFormat();
  if (header.channels < 1 || header.channels > kMaxChannels) throw TKW_BadFormat();
  const std::uint64_t expected = std::uint64_t{header.channels} * SectorCount(header.length);
  if (header.entryCount != expected) throw TKW_BadFormat();
  if (header.offsetBits > kMaxOffsetBits) throw TKW_BadFormat();
  if (header.layout == TkwLayout::V1 && (header.contrastBits > kMaxFieldBits || header.brightnessBits > kMaxFieldBits))
    throw TKW_BadFormat();
}
