#include "Reg.h"

#include "Messages.h"
#include "RegIniFile.h"

namespace Reg {

namespace {

std::string Indexed(const char* prefix, int i) { return prefix + std::to_string(i); }

// A text that is absent, or "#", is not set.
bool ReadSetText(const TRegIniFile& store, const char* section, const std::string& ident, std::string& text) {
  return store.ReadText(section, ident, text) && text != NotSet;
}

}  // namespace

// ---- "Localisations"

int32_t ReadLocationCount(const TRegIniFile& store) { return store.ReadInteger(Locations, Count, UnreadableCount); }
void WriteLocationCount(TRegIniFile& store, int32_t count) { store.WriteInteger(Locations, Count, count); }

bool ReadLocationPath(const TRegIniFile& store, int i, std::string& path) {
  return ReadSetText(store, Locations, Indexed(Location, i), path);
}
void WriteLocationPath(TRegIniFile& store, int i, const std::string& path) {
  store.WriteString(Locations, Indexed(Location, i), path);
}

bool ReadLocationBasic(const TRegIniFile& store, int i) { return store.ReadBool(Locations, Indexed(LocationBasic, i), false); }
void WriteLocationBasic(TRegIniFile& store, int i, bool basic) {
  store.WriteBool(Locations, Indexed(LocationBasic, i), basic);
}

bool ReadLocationActive(const TRegIniFile& store, int i) {
  return store.ReadBool(Locations, Indexed(LocationActive, i), false);
}
void WriteLocationActive(TRegIniFile& store, int i, bool active) {
  store.WriteBool(Locations, Indexed(LocationActive, i), active);
}

COLORREF ReadLocationColour(const TRegIniFile& store, int i) { return store.ReadColour(Locations, Indexed(LocationColour, i)); }
void WriteLocationColour(TRegIniFile& store, int i, COLORREF colour) {
  store.WriteColour(Locations, Indexed(LocationColour, i), colour);
}

COLORREF ReadCurrentDirColour(const TRegIniFile& store) { return store.ReadColour(Locations, CurrentDirColour); }
void WriteCurrentDirColour(TRegIniFile& store, COLORREF colour) { store.WriteColour(Locations, CurrentDirColour, colour); }

COLORREF ReadBasicUnitsColour(const TRegIniFile& store) { return store.ReadColour(Locations, BasicUnitsColour); }
void WriteBasicUnitsColour(TRegIniFile& store, COLORREF colour) { store.WriteColour(Locations, BasicUnitsColour, colour); }

COLORREF ReadNotFoundColour(const TRegIniFile& store) { return store.ReadColour(Locations, NotFoundColour); }
void WriteNotFoundColour(TRegIniFile& store, COLORREF colour) { store.WriteColour(Locations, NotFoundColour, colour); }

// ---- "Unités de base"

int32_t ReadBasicUnitCount(const TRegIniFile& store) {
  if (!store.ValueExists(BasicUnits, Count)) return 0;
  int32_t count = 0;
  return store.TryReadInteger(BasicUnits, Count, count) && count >= 0 ? count : UnreadableCount;
}
void WriteBasicUnitCount(TRegIniFile& store, int32_t count) { store.WriteInteger(BasicUnits, Count, count); }

bool ReadBasicUnit(const TRegIniFile& store, int i, std::string& name) {
  return ReadSetText(store, BasicUnits, Indexed(BasicUnit, i), name);
}
void WriteBasicUnit(TRegIniFile& store, int i, const std::string& name) {
  store.WriteString(BasicUnits, Indexed(BasicUnit, i), name);
}

std::string ReadBasicUnitsTitle(const TRegIniFile& store) { return store.ReadString(BasicUnits, Title, Msg::DefaultBasicUnitsTitle); }
void WriteBasicUnitsTitle(TRegIniFile& store, const std::string& title) { store.WriteString(BasicUnits, Title, title); }

bool ReadBasicUnitsHidden(const TRegIniFile& store) { return store.ReadBool(BasicUnits, Hide, false); }
void WriteBasicUnitsHidden(TRegIniFile& store, bool hidden) { store.WriteBool(BasicUnits, Hide, hidden); }

// ---- "Unit scope names"

int32_t ReadScopeNameCount(const TRegIniFile& store) {
  if (!store.ValueExists(ScopeNames, Count)) return 0;
  int32_t count = 0;
  return store.TryReadInteger(ScopeNames, Count, count) && count >= 0 ? count : UnreadableCount;
}
void WriteScopeNameCount(TRegIniFile& store, int32_t count) { store.WriteInteger(ScopeNames, Count, count); }

bool ReadScopeName(const TRegIniFile& store, int i, std::string& name) {
  return ReadSetText(store, ScopeNames, Indexed(ScopeName, i), name);
}
void WriteScopeName(TRegIniFile& store, int i, const std::string& name) {
  store.WriteString(ScopeNames, Indexed(ScopeName, i), name);
}

// ---- "Disque"

std::string ReadImagesDirectory(const TRegIniFile& store, const std::string& def) {
  return store.ReadString(Disk, ImagesDirectory, def);
}
void WriteImagesDirectory(TRegIniFile& store, const std::string& directory) {
  store.WriteString(Disk, ImagesDirectory, directory);
}

// ---- "Options"

bool ReadMSWord95(const TRegIniFile& store) { return store.ReadBool(Options, MSWord95, true); }
void WriteMSWord95(TRegIniFile& store, bool word95) { store.WriteBool(Options, MSWord95, word95); }

TAutoOrientation ReadAutoOrientation(const TRegIniFile& store) {
  if (store.ReadString(Options, AutoOrientation, NotSet) == NotSet) return TAutoOrientation::NotSet;
  return store.ReadBool(Options, AutoOrientation, false) ? TAutoOrientation::On : TAutoOrientation::Off;
}
void WriteAutoOrientation(TRegIniFile& store, bool automatic) { store.WriteBool(Options, AutoOrientation, automatic); }

bool ReadFilesList(const TRegIniFile& store) { return store.ReadBool(Options, FilesList, true); }
void WriteFilesList(TRegIniFile& store, bool show) { store.WriteBool(Options, FilesList, show); }

// ---- "Aeration"

bool ReadAmont(const TRegIniFile& store) { return store.ReadBool(Simplification, Amont, true); }
void WriteAmont(TRegIniFile& store, bool on) { store.WriteBool(Simplification, Amont, on); }
bool ReadAval(const TRegIniFile& store) { return store.ReadBool(Simplification, Aval, true); }
void WriteAval(TRegIniFile& store, bool on) { store.WriteBool(Simplification, Aval, on); }
bool ReadVignette(const TRegIniFile& store) { return store.ReadBool(Simplification, Vignette, true); }
void WriteVignette(TRegIniFile& store, bool on) { store.WriteBool(Simplification, Vignette, on); }
bool ReadDoc(const TRegIniFile& store) { return store.ReadBool(Simplification, Doc, true); }
void WriteDoc(TRegIniFile& store, bool on) { store.WriteBool(Simplification, Doc, on); }

// ---- "Internet"

std::string ReadSmtpServer(const TRegIniFile& store) { return store.ReadString(Internet, SmtpServer, NotSet); }
void WriteSmtpServer(TRegIniFile& store, const std::string& server) { store.WriteString(Internet, SmtpServer, server); }
std::string ReadEmailAddress(const TRegIniFile& store) { return store.ReadString(Internet, EmailAddress, NotSet); }
void WriteEmailAddress(TRegIniFile& store, const std::string& address) {
  store.WriteString(Internet, EmailAddress, address);
}

}  // namespace Reg
