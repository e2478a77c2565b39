#include "TextBlock.h"

#include "Banner.h"
#include "Caption.h"
#include "Messages.h"

namespace {
// Kept scrambled, like the banner, so that editing the binary cannot change it.
const unsigned char Line5[] = {0x0C, 0x02, 0x06, 0xF2, 0xE7, 0xF4, 0xC6, 0x95, 0xF3, 0xE1, 0xEC, 0xC9,
                               0xDB, 0x23, 0x46, 0x7C, 0x44, 0x43, 0x36, 0x34, 0x32, 0x07, 0x1D, 0xA9,
                               0xB2, 0xCF, 0xC9, 0xD5, 0xB0, 0xB2, 0x92, 0x84, 0x94, 0x29};
constexpr const char* SmallFont = "Courier New";
constexpr int SmallPoints = 7;
}  // namespace

std::string TextBlockLine(int index) {
  if (index == 0) return Msg::AppCaption;
  if (index >= 1 && index <= 3) return BannerText(index - 1);
  if (index == 4) return Scramble(StoredText(Line5));
  return std::string();
}

void StyleTextBlock(TRichEdit& edit) {
  TFont text;
  text.Name = "Arial";
  text.Height = 13;
  edit.SetFont(text);
  edit.SetColor(clBtnFace);
  edit.SetReadOnly(true);
}

void FillTextBlock(TRichEdit& edit) {
  edit.Clear();
  std::pair<int, int> first, last;
  for (int i = 0; i < TextBlockLines; ++i) {
    const std::pair<int, int> range = edit.AppendParagraph(TextBlockLine(i));
    if (i == 0) first = range;
    if (i == TextBlockLines - 1) last = range;
  }
  edit.SelectAll();
  edit.SetParagraphAlignment(taCenter);
  edit.SetSel(first.first, first.second - first.first);
  edit.SetSelBold(true);
  edit.SetSel(last.first, last.second - last.first);
  edit.SetSelFont(SmallFont, SmallPoints, true);
  edit.SetSel(0, 0);
  edit.SetModified(false);
  edit.HideCaret();
}
