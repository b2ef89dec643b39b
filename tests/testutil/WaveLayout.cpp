#include "testutil/WaveLayout.h"

namespace testutil {

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutId(std::vector<std::uint8_t>& out, const char* id) { out.insert(out.end(), id, id + 4); }

} // namespace

std::vector<std::uint8_t> MakeWave(const std::vector<std::uint8_t>& payload, const WaveLayout& layout) {
  std::vector<std::uint8_t> body;
  PutId(body, layout.formType);
  PutId(body, layout.firstChunk);
  Put32(body, layout.fmtSize);
  std::vector<std::uint8_t> fmt;
  Put16(fmt, layout.formatTag);
  Put16(fmt, layout.channels);
  Put32(fmt, layout.sampleRate);
  const int bytesPerSample = (layout.bitsPerSample + 7) / 8;
  const int blockAlign = layout.blockAlign >= 0 ? layout.blockAlign : layout.channels * bytesPerSample;
  Put32(fmt, layout.sampleRate * static_cast<std::uint32_t>(blockAlign));
  Put16(fmt, static_cast<std::uint16_t>(blockAlign));
  Put16(fmt, layout.bitsPerSample);
  fmt.resize(layout.fmtSize, 0);
  body.insert(body.end(), fmt.begin(), fmt.end());
  if (layout.factChunk) {
    PutId(body, "fact");
    Put32(body, 4);
    Put32(body, static_cast<std::uint32_t>(payload.size()));
  }
  if (layout.listChunk) {
    PutId(body, "LIST");
    Put32(body, 4);
    PutId(body, "INFO");
  }
  PutId(body, "data");
  Put32(body, static_cast<std::uint32_t>(static_cast<std::int64_t>(payload.size()) + layout.dataSizeDelta));
  body.insert(body.end(), payload.begin(), payload.end());

  std::vector<std::uint8_t> file;
  PutId(file, layout.riffId);
  Put32(file, static_cast<std::uint32_t>(static_cast<std::int64_t>(body.size()) + layout.riffSizeDelta));
  file.insert(file.end(), body.begin(), body.end());
  file.insert(file.end(), layout.trailing.begin(), layout.trailing.end());
  return file;
}

std::vector<std::uint8_t> Pcm16Bytes(const std::vector<std::int16_t>& interleaved) {
  std::vector<std::uint8_t> bytes;
  for (std::int16_t s : interleaved)
    Put16(bytes, static_cast<std::uint16_t>(s));
  return bytes;
}

} // namespace testutil
