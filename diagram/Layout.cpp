#include "Layout.h"

#include <algorithm>

uint16_t DotRadius = 1;

namespace {
int ListCount(const std::unique_ptr<TFileArray>& list) { return list ? list->Count : 0; }
}  // namespace

int InterfaceCount(const TFile& unit) { return ListCount(unit.InterfaceUses); }

int UsesCount(const TFile& unit) { return ListCount(unit.InterfaceUses) + ListCount(unit.ImplementationUses); }

int SlotCount(const TFile& unit) { return UsesCount(unit) + 2; }

void ComputeLayout(TFileArray& array, RECT& r) {
  const int count = array.Count;
  if (count == 0) return;

  uint16_t notFound = 0;
  int32_t basic = 0;
  for (int i = 0; i < count; ++i) {
    const TFile* unit = array.Items[i];
    if (!unit) continue;
    if (unit->Location == LocationNotFound) ++notFound;
    if (unit->Location == LocationBasic) ++basic;
  }
  array.NotFoundCount = notFound;
  array.BasicCount = basic;
  array.FirstFoundIndex = static_cast<uint16_t>(basic + notFound);
  array.RowCount = static_cast<uint16_t>(count - basic);

  // An array of basic units only has no label row: its box takes the
  // whole height, as if it were the one row.
  const int rows = array.RowCount == 0 ? 1 : array.RowCount;
  array.RowHeight = (r.bottom - r.top) / rows + 1;

  const int found = count - array.FirstFoundIndex;
  if (found <= 0) {
    array.LabelWidth = r.right;
    array.LinkPitch = 0;
  } else {
    uint16_t s = 0, c = 0;  // both sums wrap at 16 bits
    for (int i = array.FirstFoundIndex; i < count; ++i) {
      const TFile* unit = array.Items[i];
      if (!unit) continue;
      s = static_cast<uint16_t>(s + SlotCount(*unit));
      c = static_cast<uint16_t>(c + unit->Name.size());
    }
    const int width = r.right - r.left;
    // Beyond as many name characters (or link slots) as the space has
    // pixels the divisions give 0 and the whole diagram would vanish; a
    // character and a link column then keep one pixel each, and the
    // diagram grows wider than the space instead.
    const int charWidth = c == 0 ? 0 : std::max(1, width / c);
    // Without any name character there is no text to give room to.
    array.LabelWidth = 2 * (c / found) * charWidth;
    // One or two units would get labels across the whole width and link
    // columns of a pixel; a third of the width stays for the links. With
    // three or more units the formula stays below this bound.
    array.LabelWidth = std::min(array.LabelWidth, 2 * width / 3);
    // Beyond as many link slots as the space has pixels, the links still
    // keep one pixel each rather than a pitch of 0, which would pile them up.
    const int pitch = s == 0 ? 0 : (width - array.LabelWidth) / s;
    array.LinkPitch = s == 0 ? 0 : std::max(1, pitch);
    r.right = r.left + array.LabelWidth + s * array.LinkPitch;
    r.bottom = r.top + (array.RowCount + 1) * array.RowHeight;
  }
  DotRadius = static_cast<uint16_t>(array.LinkPitch / 2);
  if (DotRadius == 0) DotRadius = 1;
}

RECT WidenLabel(RECT label, int usesCount, int pitch) {
  if (label.right - usesCount * pitch < label.left) {
    label.left = label.right - (usesCount + 2) * pitch;
    if (label.left < 0) label.left = 0;
  }
  return label;
}

RECT BasicBoxRect(const TFileArray& array, const RECT& diagram) {
  RECT box{0, array.RowCount * array.RowHeight, diagram.right, diagram.bottom};
  if (box.bottom <= box.top) box.bottom = box.top;
  return box;
}

TFile* UnitAt(const TFileArray& array, POINT point) {
  if (array.Count == 0) return nullptr;
  for (int i = array.BasicCount < 0 ? 0 : array.BasicCount; i < array.Count; ++i) {
    TFile* unit = array.Items[i];
    if (unit && !unit->Hidden && PtInRect(&unit->LabelRect, point)) return unit;
  }
  if (UBase && PtInRect(&UBase->LabelRect, point)) return UBase.get();
  return nullptr;
}

int16_t TLinkColumns::InterfaceColumn(int k) const { return static_cast<int16_t>(X0 + k * Pitch); }

int16_t TLinkColumns::ImplementationColumn(int k) const {
  return static_cast<int16_t>(X0 + (Interfaces + k) * Pitch);
}

RECT TLinkColumns::InterfaceBar() const {
  return RECT{X0 - Pitch, Bottom - Pitch, X0 + (Interfaces - 1) * Pitch + Pitch / 2, Bottom};
}

POINT TLinkColumns::BaselineFrom() const { return POINT{X0 + Interfaces * Pitch - Pitch / 2, Bottom}; }

POINT TLinkColumns::BaselineTo() const { return POINT{X0 + Uses * Pitch, Bottom}; }

TLinkColumns LinkColumns(const TFile& unit) {
  TLinkColumns columns;
  columns.Pitch = unit.LinkPitch;
  columns.Interfaces = InterfaceCount(unit);
  columns.Uses = UsesCount(unit);
  columns.Bottom = unit.LabelRect.bottom;
  columns.X0 = static_cast<int16_t>(unit.LabelRect.right - columns.Uses * columns.Pitch);
  return columns;
}
