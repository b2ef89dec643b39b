#include "encoder/EncoderSettings.h"

std::string SettingsProblem(const EncoderSettings& s) {
  if (s.EncodeVersion < 1 || s.EncodeVersion > 3) return "コーデックのバージョンが不正です";
  if (s.MaxError2 < 0) return "誤差許容値の最大値が不正です";
  if (s.DestBits < 10 || s.DestBits > 13) return "テスト幅（10～13）が不正です";
  if (s.MaxContrast < 1 || s.MaxContrast > 65535) return "コントラストの最大値が不正です";
  if (s.MaxBrightness < 1 || s.MaxBrightness > 65535) return "輝度オフセットの最大値が不正です";
  // The codes are kept in 16 bits and the header holds the widths.
  if (s.ContrastBits < 1 || s.ContrastBits > 16) return "コントラストのビット数が不正です";
  if (s.BrightnessBits < 1 || s.BrightnessBits > 16) return "輝度オフセットのビット数が不正です";
  return {};
}
