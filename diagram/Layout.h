// Geometry of the diagram: a staircase of labels, one row per unit, the
// last unit of the array at the top right, links hanging from the bottom
// edge of each label in columns of their own.
#pragma once

#include <windows.h>

#include <cstdint>

#include "Units.h"

// The space every composition starts from; one unit is one screen pixel.
inline constexpr RECT LayoutSpace{0, 0, 2700, 2000};

// Radius of the dot where a link turns.
extern uint16_t DotRadius;

// Entries of the interface list plus entries of the implementation list.
int UsesCount(const TFile& unit);
int InterfaceCount(const TFile& unit);
// (interface count + 1) + (implementation count + 1).
int SlotCount(const TFile& unit);

// Fills the layout fields of the array and DotRadius, and shrinks r to the
// diagram's size. An empty array changes nothing.
void ComputeLayout(TFileArray& array, RECT& r);

// A label narrower than its link columns grows to the left (never past 0).
RECT WidenLabel(RECT label, int usesCount, int pitch);

// The basic-units box: the full width of the last row. A box that the
// layout leaves with no height is empty (drawn nowhere, hit nowhere).
RECT BasicBoxRect(const TFileArray& array, const RECT& diagram);

// The label, not hidden, under the point; else the basic-units box (hidden
// or not); else nil.
TFile* UnitAt(const TFileArray& array, POINT point);

// Where a unit's links run, from its recorded label and pitch. Coordinates
// are 16-bit.
struct TLinkColumns {
  int Pitch = 0;
  int Interfaces = 0;  // a
  int Uses = 0;        // n
  int Bottom = 0;      // B
  int16_t X0 = 0;

  int16_t InterfaceColumn(int k) const;
  int16_t ImplementationColumn(int k) const;
  RECT InterfaceBar() const;
  POINT BaselineFrom() const;
  POINT BaselineTo() const;
};
TLinkColumns LinkColumns(const TFile& unit);
