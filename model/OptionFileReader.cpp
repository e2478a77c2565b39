#include "OptionFileReader.h"

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <cstdio>

#include "ComOwners.h"
#include "FileSystem.h"
#include "Globales.h"
#include "Handle.h"
#include "Library.h"
#include "WideText.h"
#include "uChaines.h"

namespace {

// xmllite.dll is a library of Windows (and of Wine), but the cross
// compiler has no import library for it: its one entry is taken at run time.
using TCreateXmlReader = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

class TXmlLite {
 public:
  TXmlLite() {
    if (_library.Load("xmllite.dll"))
      _create = reinterpret_cast<TCreateXmlReader>(reinterpret_cast<void*>(_library.Procedure("CreateXmlReader")));
  }
  bool Create(TComPtr<IXmlReader>& reader) const {
    return _create && SUCCEEDED(_create(__uuidof(IXmlReader), reader.PutVoid(), nullptr));
  }

 private:
  TLibrary _library;
  TCreateXmlReader _create = nullptr;
};

std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

std::string Narrow(const WCHAR* text, UINT length) { return NarrowFileName(std::wstring(text, length)); }

// The element's name and attributes; the reader stays on the element.
bool ReadElement(IXmlReader& reader, TXmlElement& element) {
  const WCHAR* text = nullptr;
  UINT length = 0;
  if (FAILED(reader.GetLocalName(&text, &length))) return false;
  element.Name = Narrow(text, length);
  for (HRESULT hr = reader.MoveToFirstAttribute(); hr == S_OK; hr = reader.MoveToNextAttribute()) {
    const WCHAR* value = nullptr;
    UINT valueLength = 0;
    if (FAILED(reader.GetLocalName(&text, &length)) || FAILED(reader.GetValue(&value, &valueLength))) return false;
    element.Attributes.emplace_back(Narrow(text, length), Narrow(value, valueLength));
  }
  return SUCCEEDED(reader.MoveToElement());
}

std::string Position(IXmlReader& reader) {
  UINT line = 0, column = 0;
  reader.GetLineNumber(&line);
  reader.GetLinePosition(&column);
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace

bool ParseXmlDocument(const std::string& bytes, TXmlElement& root, std::string& error) {
  root = TXmlElement();
  static const TXmlLite xmlLite;
  TComPtr<IXmlReader> reader;
  if (!xmlLite.Create(reader)) {
    error = "Windows' XML reader (xmllite.dll) is not available";
    return false;
  }
  TComPtr<IStream> stream(SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
  if (!stream) {
    error = "out of memory";
    return false;
  }
  reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
  reader->SetProperty(XmlReaderProperty_MaxElementDepth, MaxXmlDepth);
  if (FAILED(reader->SetInput(stream.Get()))) {
    error = "the XML reader refuses it";
    return false;
  }
  // The open elements, outermost first; each lives in its parent's
  // children, which do not move while it is open.
  std::vector<TXmlElement*> open;
  bool rootSeen = false;
  std::size_t elements = 0;
  XmlNodeType type;
  HRESULT hr;
  std::size_t nodes = 0;
  while ((hr = reader->Read(&type)) == S_OK && type != XmlNodeType_None) {
    // Every node takes at least one byte of the input; more nodes than
    // bytes means a reader going round at the end of a truncated document,
    // as Wine's does with the blanks after an unclosed element.
    if (++nodes > bytes.size() + 1) break;
    switch (type) {
      case XmlNodeType_Element: {
        if (++elements > MaxXmlElements) {
          error = "it holds more than " + std::to_string(MaxXmlElements) + " elements";
          return false;
        }
        if (open.size() >= static_cast<std::size_t>(MaxXmlDepth)) {
          error = "its elements are nested more than " + std::to_string(MaxXmlDepth) + " levels deep (" +
                  Position(*reader.Get()) + ")";
          return false;
        }
        if (open.empty() && rootSeen) break;  // the reader refuses a second root itself
        TXmlElement* element = open.empty() ? &root : &open.back()->Children.emplace_back();
        rootSeen = true;
        if (!ReadElement(*reader.Get(), *element)) {
          error = "an element cannot be read (" + Position(*reader.Get()) + ")";
          return false;
        }
        if (!reader->IsEmptyElement()) open.push_back(element);
        break;
      }
      case XmlNodeType_EndElement:
        if (!open.empty()) open.pop_back();
        break;
      case XmlNodeType_Text:
      case XmlNodeType_CDATA:
      case XmlNodeType_Whitespace:
        if (!open.empty()) {
          const WCHAR* text = nullptr;
          UINT length = 0;
          if (SUCCEEDED(reader->GetValue(&text, &length))) open.back()->Text += Narrow(text, length);
        }
        break;
      default:
        break;
    }
  }
  if (hr == static_cast<HRESULT>(SC_E_MAXELEMENTDEPTH)) {
    error = "its elements are nested more than " + std::to_string(MaxXmlDepth) + " levels deep (" +
            Position(*reader.Get()) + ")";
    return false;
  }
  if (FAILED(hr)) {
    error = "it is not well-formed XML (error " + Hex(hr) + " at " + Position(*reader.Get()) + ")";
    return false;
  }
  if (!rootSeen) {
    error = "it holds no XML element";
    return false;
  }
  if (!open.empty()) {
    error = "it ends inside the element <" + open.back()->Name + ">";
    return false;
  }
  return true;
}

namespace {

// The whole file, at most MaxOptionFileSize bytes; false with the reason.
bool ReadWholeFile(const std::string& fileName, std::string& bytes, std::string& error) {
  THandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND ? "it does not exist"
                                                                                            : "it cannot be opened";
    return false;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) {
    error = "its size cannot be read";
    return false;
  }
  if (size.QuadPart > static_cast<LONGLONG>(MaxOptionFileSize)) {
    error = "it is larger than " + std::to_string(MaxOptionFileSize >> 20) + " MB";
    return false;
  }
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size())) {
    error = "it cannot be read";
    return false;
  }
  return true;
}

TOptionFileSettings Failed(const std::string& fileName, const std::string& what) {
  TOptionFileSettings settings;
  settings.Problems.push_back(OptionFileProblem(fileName, what));
  return settings;
}

}  // namespace

TOptionFileSettings ReadOptionFile(const std::string& fileName, const std::string& platform, const std::string& config) {
  const TOptionFileKind kind = OptionFileKindOf(fileName);
  if (kind == TOptionFileKind::Unknown)
    return Failed(fileName, "it is none of the option files read here (.dproj, .dof, .cfg, .lpi)");
  std::string bytes, error;
  if (!ReadWholeFile(fileName, bytes, error)) return Failed(fileName, error);
  TOptionFileSettings settings;
  if (kind == TOptionFileKind::Dof) {
    settings = DofSettings(bytes, fileName);
  } else if (kind == TOptionFileKind::Cfg) {
    settings = CfgSettings(bytes, fileName);
  } else {
    TXmlElement root;
    if (!ParseXmlDocument(bytes, root, error)) return Failed(fileName, error);
    settings = kind == TOptionFileKind::Dproj ? DprojSettings(root, fileName, platform, config)
                                              : LpiSettings(root, fileName);
  }
  // Full paths: "lib" and ".\lib\" are one directory, which keeps the
  // place of its last listing.
  std::vector<std::string> full;
  for (const std::string& directory : settings.Directories) {
    const std::string expanded = WithoutTrailingBackslash(ExpandFileName(directory));
    std::erase_if(full, [&](const std::string& d) { return UpperCaseAscii(d) == UpperCaseAscii(expanded); });
    full.push_back(expanded);
  }
  settings.Directories = std::move(full);
  return settings;
}

std::string ProjectOptionFile(const std::string& projectFile) {
  if (projectFile.empty()) return std::string();
  const std::string full = ExpandFileName(projectFile);
  const std::string extension = ExtractFileExt(full);
  const std::string base = full.substr(0, full.size() - extension.size());
  for (const char* optionExtension : OptionFileExtensions)
    if (FileExists(base + optionExtension)) return base + optionExtension;
  return std::string();
}

int AddOptionFileScopeNames(const std::vector<std::string>& names) {
  int added = 0;
  for (const std::string& name : names) {
    bool listed = false;
    for (int i = 0; i < ScopeNameCount && !listed; ++i) listed = SameTextAscii(ScopeNames[i], name);
    if (!listed && AddScopeName(name)) ++added;
  }
  return added;
}
