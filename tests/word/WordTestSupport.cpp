#include "WordTestSupport.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "HostPath.h"
#include "Units.h"

TSampleProject::TSampleProject() {
  std::filesystem::copy(std::filesystem::path(HostPath(USAGRAM_SAMPLES "/Document")), Work.Path(),
                        std::filesystem::copy_options::recursive);
}

TCallLog::TCallLog(const std::string& dir) : File(dir + "\\calls.log") { SetSwitch("CallLog", File); }

std::vector<TCall> TCallLog::Calls() const { return hostrun::ReadLog(File); }

std::vector<TCall> TCallLog::Of(const std::string& member) const {
  std::vector<TCall> calls;
  for (const TCall& call : Calls())
    if (call.size() > 1 && call[1] == member) calls.push_back(call);
  return calls;
}

void TCallLog::Clear() const { DeleteFileA(File.c_str()); }

bool HasField(const TCall& call, const std::string& start) {
  for (const std::string& field : call)
    if (field.rfind(start, 0) == 0) return true;
  return false;
}

bool TRecordingHost::SaveDiagram(const std::string& fileName) { return Metafile && Metafile->SaveToFile(fileName); }

std::vector<std::string> FoundUnitsInDrawingOrder() {
  std::vector<std::string> names;
  if (!FileArray) return names;
  for (int i = FileArray->FirstFoundIndex; i < FileArray->Count; ++i)
    if (FileArray->Items[i] && FileArray->Items[i]->Location >= 0) names.push_back(FileArray->Items[i]->Name);
  return names;
}

TRegistration::TRegistration(const std::string& progIds)
    : Result(RunProgram(std::string("\"") + WORDPROC_EXE + "\" " +
                        (progIds.empty() ? std::string("/UnregServer") : "/RegServer " + progIds))) {}

TRegistration::~TRegistration() { RunProgram(std::string("\"") + WORDPROC_EXE + "\" /RegServer"); }

namespace {

// Groups whose text is not the document's text.
bool SkippedDestination(const std::string& word) {
  for (const char* skipped : {"fonttbl", "stylesheet", "info", "pict", "footer", "footerf", "header", "colortbl"})
    if (word == skipped) return true;
  return false;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

}  // namespace

std::vector<std::string> RtfParagraphs(const std::string& rtf) {
  std::vector<std::string> paragraphs;
  std::string current;
  auto endParagraph = [&] {
    const size_t first = current.find_first_not_of(" \t");
    if (first != std::string::npos) paragraphs.push_back(current.substr(first, current.find_last_not_of(" \t") - first + 1));
    current.clear();
  };
  // One entry per open group: whether its text is skipped.
  std::vector<bool> skipped{false};
  bool groupStart = false;
  for (size_t i = 0; i < rtf.size(); ++i) {
    const char c = rtf[i];
    if (c == '{') {
      skipped.push_back(skipped.back());
      groupStart = true;
      continue;
    }
    if (c == '}') {
      if (skipped.size() > 1) skipped.pop_back();
      groupStart = false;
      continue;
    }
    const bool atStart = groupStart;
    groupStart = false;
    if (c == '\r' || c == '\n') continue;
    if (c != '\\') {
      if (!skipped.back()) current += c;
      continue;
    }
    if (i + 1 >= rtf.size()) break;
    const char next = rtf[i + 1];
    if (next == '*') {  // an optional destination: skipped
      skipped.back() = true;
      ++i;
      continue;
    }
    if (next == '\'' && i + 3 < rtf.size()) {
      if (!skipped.back()) current += static_cast<char>(HexDigit(rtf[i + 2]) * 16 + HexDigit(rtf[i + 3]));
      i += 3;
      continue;
    }
    if (!std::isalpha(static_cast<unsigned char>(next))) {  // \\ \{ \} and other symbols
      if (!skipped.back() && (next == '\\' || next == '{' || next == '}')) current += next;
      ++i;
      continue;
    }
    size_t end = i + 1;
    while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end]))) ++end;
    const std::string word = rtf.substr(i + 1, end - i - 1);
    while (end < rtf.size() && (std::isdigit(static_cast<unsigned char>(rtf[end])) || rtf[end] == '-')) ++end;
    if (end < rtf.size() && rtf[end] == ' ') ++end;
    i = end - 1;
    if (atStart && SkippedDestination(word)) skipped.back() = true;
    if (skipped.back()) continue;
    if (word == "par" || word == "sect" || word == "page" || word == "column" || word == "line")
      endParagraph();
    else if (word == "tab")
      current += '\t';
  }
  endParagraph();
  return paragraphs;
}

std::vector<TRtfPicture> RtfPictures(const std::string& rtf) {
  std::vector<TRtfPicture> pictures;
  auto number = [&](size_t from, const char* word) {
    const size_t at = rtf.find(word, from);
    return at == std::string::npos ? 0 : std::atoi(rtf.c_str() + at + std::strlen(word));
  };
  for (size_t at = rtf.find("{\\pict"); at != std::string::npos; at = rtf.find("{\\pict", at + 1)) {
    TRtfPicture picture;
    const std::string head = rtf.substr(at, 64);
    picture.Kind = head.find("\\emfblip") != std::string::npos     ? "emf"
                   : head.find("\\dibitmap") != std::string::npos ? "dib"
                   : head.find("\\pngblip") != std::string::npos  ? "png"
                                                                   : "?";
    picture.Width = number(at, "\\picwgoal");
    picture.Height = number(at, "\\pichgoal");
    pictures.push_back(picture);
  }
  return pictures;
}
