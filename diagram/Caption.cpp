#include "Caption.h"

namespace {
const unsigned char Line0[] = {0x0F, 0x14, 0x15, 0xE6, 0xFC, 0xFA, 0xC5, 0x95, 0xA6, 0xBD, 0xBD, 0x9E, 0x85};
const unsigned char Line1[] = {0x2F, 0x09, 0x1D, 0xF5, 0xAE, 0xFC, 0xDA, 0xD4, 0xB2, 0xA7, 0xAF};
const unsigned char Line2[] = {0x3C, 0x08, 0x06, 0xA1, 0xCA, 0xFE, 0xC4, 0xC5, 0xAA, 0xA6, 0xFC,
                               0xDA, 0xD6, 0x73, 0x62, 0x72, 0x40, 0x52, 0x27, 0x25, 0x2D, 0x45};
}  // namespace

std::string Scramble(const std::string& text) {
  std::string result = text;
  for (size_t i = 0; i < result.size(); ++i)
    result[i] = static_cast<char>(static_cast<unsigned char>(result[i]) ^ ((0x5A + 13 * i) & 0xFF));
  return result;
}

std::string StoredCaptionLine(int index) {
  switch (index) {
    case 0: return StoredText(Line0);
    case 1: return StoredText(Line1);
    case 2: return StoredText(Line2);
    default: return std::string();
  }
}

std::string CaptionLine(int index) { return Scramble(StoredCaptionLine(index)); }

std::string CaptionText() { return CaptionLine(0) + "\r\n" + CaptionLine(1) + "\r\n" + CaptionLine(2); }
