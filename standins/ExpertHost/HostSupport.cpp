// The host's log and its long strings.
#include <cstdlib>
#include <cstring>
#include <new>

#include "ExpertHost.h"

THostLog Log;
THostStrings Strings;

// ---- Log ---------------------------------------------------------------------

bool THostLog::Open(const std::string& path) {
  File.open(path, std::ios::out | std::ios::trunc);
  return File.is_open();
}

void THostLog::Event(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& field : fields) {
    if (!line.empty()) line += '\t';
    // One event per line, whatever a message holds.
    for (char c : field) line += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
  }
  if (File.is_open()) {
    File << line << '\n';
    File.flush();  // tests read the log while we run
  }
  if (OnLine) OnLine(line);
}

// ---- Strings -----------------------------------------------------------------

namespace {

TDelphiStrRec* Header(TDelphiStr str) { return reinterpret_cast<TDelphiStrRec*>(const_cast<char*>(str)) - 1; }

}  // namespace

THostStrings::~THostStrings() {
  for (TDelphiStr str : Live) std::free(Header(str));
}

TDelphiStr THostStrings::New(const std::string& text) {
  if (text.empty()) return nullptr;  // Delphi's empty string
  auto* rec = static_cast<TDelphiStrRec*>(std::malloc(sizeof(TDelphiStrRec) + text.size() + 1));
  if (!rec) throw std::bad_alloc();
  rec->RefCount = 1;
  rec->Length = static_cast<int32_t>(text.size());
  char* chars = reinterpret_cast<char*>(rec + 1);
  std::memcpy(chars, text.data(), text.size());
  chars[text.size()] = '\0';
  Live.insert(chars);
  return chars;
}

void THostStrings::Return(TDelphiStr* result, const std::string& text) {
  if (!result) return;
  Free(result);  // a caller should pass a cleared variable; we do not leak if not
  *result = New(text);
}

void THostStrings::Free(TDelphiStr* str) {
  if (!str || !*str) return;
  TDelphiStr s = *str;
  *str = nullptr;
  if (!Owns(s)) {
    // Not ours, or freed already: its memory is not ours to touch.
    Log.Event({"badstring", "FreePascalString"});
    return;
  }
  TDelphiStrRec* rec = Header(s);
  if (--rec->RefCount == 0) {
    Live.erase(s);
    std::free(rec);
  }
}

void THostStrings::Reference(TDelphiStr* str) {
  if (str && *str && Owns(*str)) ++Header(*str)->RefCount;
}

std::string THostStrings::TakeFromExpert(TDelphiStr* str, const char* operation) {
  if (!str || !*str) return std::string();
  std::string text = DelphiStrText(*str);
  if (Owns(*str)) {
    Free(str);  // one of ours, passed back: the expert gave up its reference
  } else {
    if (Header(*str)->RefCount != ConstantRefCount) Log.Event({"badstring", operation});
    *str = nullptr;
  }
  return text;
}

std::string THostStrings::KeepFromExpert(TDelphiStr* str, const char* operation) {
  std::string text = TakeFromExpert(str, operation);
  if (str) *str = New(text);
  return text;
}
