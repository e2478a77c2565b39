#include "DiagramTestUtil.h"

#include "Settings.h"
#include "Yield.h"

namespace diagtest {

TSimplification TestOptions;

namespace {
TSimplification ReadTestOptions() { return TestOptions; }

int CALLBACK CollectRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  auto* records = reinterpret_cast<std::vector<TRecord>*>(data);
  TRecord copy;
  copy.Type = record->iType;
  const size_t params = (record->nSize - 8) / 4;
  copy.Params.assign(record->dParm, record->dParm + params);
  records->push_back(std::move(copy));
  return 1;
}
}  // namespace

std::vector<TRecord> ReadRecords(HENHMETAFILE metafile) {
  std::vector<TRecord> records;
  EnumEnhMetaFile(nullptr, metafile, CollectRecord, &records, nullptr);
  return records;
}

int CountRecords(const std::vector<TRecord>& records, DWORD type) {
  int n = 0;
  for (const TRecord& r : records)
    if (r.Type == type) ++n;
  return n;
}

std::vector<std::string> TextsDrawn(HENHMETAFILE metafile) {
  std::vector<std::string> texts;
  for (const TRecord& r : ReadRecords(metafile)) {
    if (r.Type != EMR_EXTTEXTOUTW) continue;
    // Rebuild the record to read it through its structure.
    std::vector<DWORD> raw(2 + r.Params.size());
    raw[0] = r.Type;
    raw[1] = static_cast<DWORD>(raw.size() * 4);
    std::copy(r.Params.begin(), r.Params.end(), raw.begin() + 2);
    const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(raw.data());
    const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const char*>(raw.data()) + text->emrtext.offString);
    std::wstring wide(chars, text->emrtext.nChars);
    std::string narrow(wide.size() * 2 + 1, '\0');
    int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), narrow.data(),
                                static_cast<int>(narrow.size()), nullptr, nullptr);
    narrow.resize(n > 0 ? n : 0);
    texts.push_back(narrow);
  }
  return texts;
}

std::string NameOfLength(int index, int length) {
  std::string name(1, 'U');
  name += std::to_string(index);
  while (static_cast<int>(name.size()) < length) name += 'x';
  return name.substr(0, length);
}

void DiagramTest::SetUp() {
  FileArray = std::make_unique<TFileArray>(true);
  Settings.reset();
  UBase = std::make_unique<TUBase>();
  ClearLocations();
  TestOptions = TSimplification{};
  PreviousSource = SetSimplificationSource(ReadTestOptions);
  SetStatusHooks(nullptr, nullptr);
  GeneratingDocument = false;
  Composing = false;
  DocumentGenerator = nullptr;
}

void DiagramTest::TearDown() {
  SetSimplificationSource(PreviousSource);
  FileArray.reset();
  UBase.reset();
  ClearLocations();
  GeneratingDocument = false;
  DocumentGenerator = nullptr;
}

TFile* DiagramTest::Add(const std::string& name, int location) {
  auto* unit = new TFile(name, "");
  unit->Location = location;
  unit->Found = location >= 0;
  FileArray->Items[FileArray->Count++] = unit;
  return unit;
}

void DiagramTest::Uses(TFile* unit, const std::vector<TFile*>& interfaceUses,
                       const std::vector<TFile*>& implementationUses) {
  for (TFile* u : interfaceUses) unit->InterfaceUses->Items[unit->InterfaceUses->Count++] = u;
  for (TFile* u : implementationUses) unit->ImplementationUses->Items[unit->ImplementationUses->Count++] = u;
}

void DiagramTest::MakeLocations(const std::vector<COLORREF>& colours) {
  ClearLocations();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  for (COLORREF colour : colours) {
    const int i = LocationCount;
    Locations[i] = std::make_unique<TLocation>(i + 1 == static_cast<int>(colours.size()) ? "." : temp);
    Locations[i]->Colour = colour;
    ++LocationCount;
  }
}

TMetafile DiagramTest::Compose() {
  TMetafile metafile;
  TNoDiagramHost host;
  ComposeDiagram(host, metafile);
  return metafile;
}

}  // namespace diagtest
