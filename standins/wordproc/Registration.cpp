#include "Registration.h"

#include <algorithm>

#include "Automation.h"
#include "RegKey.h"
#include "SystemText.h"
#include "Switches.h"
#include "uChaines.h"

const TServerClass ServerClasses[2] = {
    {&CLSID_WordBasic, ProgID_WordBasic, "Microsoft Word 95 WordBasic (wordproc stand-in)"},
    {&CLSID_WordApplication, ProgID_WordApplication, "Microsoft Word 97 Application (wordproc stand-in)"},
};

namespace {

constexpr const char* ServerProgram = "wordproc.exe";

std::string ClsidKey(const CLSID& clsid) {
  return std::string(WordprocReg::Classes) + "\\" + WordprocReg::Clsid + "\\" + ClsidText(clsid);
}
std::string ProgIdKey(const char* progId) { return std::string(WordprocReg::Classes) + "\\" + progId; }

std::string ReadDefault(const std::string& path) {
  TRegKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, path)) return {};
  char buffer[1024] = {};
  DWORD type = 0, size = sizeof buffer - 1;
  if (RegQueryValueExA(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  return std::string(buffer, strnlen(buffer, size));
}

std::string SystemMessage(LONG code) {
  const std::string text = SystemErrorText(static_cast<DWORD>(code));
  return text.empty() ? "error " + std::to_string(code) : text;
}

bool WriteDefault(const std::string& path, const std::string& value, std::string& message) {
  TRegKey key;
  const LONG rc = key.Create(HKEY_LOCAL_MACHINE, path, KEY_WRITE) ? key.SetString(std::string(), value) : key.Result();
  if (rc != ERROR_SUCCESS) message += "Cannot write HKEY_LOCAL_MACHINE\\" + path + ": " + SystemMessage(rc) + "\n";
  return rc == ERROR_SUCCESS;
}

bool DeleteTree(const std::string& path, std::string& message) {
  const LONG rc = RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
  if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) return true;
  message += "Cannot remove HKEY_LOCAL_MACHINE\\" + path + ": " + SystemMessage(rc) + "\n";
  return false;
}

// The program that a LocalServer32 command starts: without quotes and
// without its arguments.
std::string ProgramOf(const std::string& command) {
  if (!command.empty() && command[0] == '"') return command.substr(1, command.find('"', 1) - 1);
  const size_t option = std::min(command.find(" /"), command.find(" -"));
  return command.substr(0, option);
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsWordproc(const std::string& command) { return SameTextAscii(FileNameOf(ProgramOf(command)), ServerProgram); }

bool Unregister(const TServerClass& server, std::string& message) {
  const std::string command = ReadDefault(ClsidKey(*server.Clsid) + "\\" + WordprocReg::LocalServer32);
  if (!command.empty() && !IsWordproc(command)) {
    message += std::string(server.ProgId) + " is served by " + command + ": left alone.\n";
    return true;
  }
  bool ok = DeleteTree(ClsidKey(*server.Clsid), message);
  if (SameTextAscii(ReadDefault(ProgIdKey(server.ProgId) + "\\" + WordprocReg::Clsid), ClsidText(*server.Clsid)))
    ok = DeleteTree(ProgIdKey(server.ProgId), message) && ok;
  return ok;
}

}  // namespace

std::string ClsidText(const CLSID& clsid) {
  wchar_t text[64] = {};
  StringFromGUID2(clsid, text, 64);
  std::string narrow;
  for (const wchar_t* p = text; *p; ++p) narrow += static_cast<char>(*p);
  return narrow;
}

bool RegisteredToThisProgram(const CLSID& clsid, const std::string& program) {
  return SameTextAscii(ProgramOf(ReadDefault(ClsidKey(clsid) + "\\" + WordprocReg::LocalServer32)), program);
}

bool RegisterServer(const std::string& program, const std::vector<std::string>& progIds, std::string& message) {
  for (const std::string& wanted : progIds)
    if (std::none_of(std::begin(ServerClasses), std::end(ServerClasses),
                     [&](const TServerClass& s) { return SameTextAscii(wanted, s.ProgId); })) {
      message += "Unknown program identifier " + wanted + " (wordproc serves Word.Basic and Word.Application).\n";
      return false;
    }
  bool ok = true;
  for (const TServerClass& server : ServerClasses) {
    const bool wanted = progIds.empty() || std::any_of(progIds.begin(), progIds.end(), [&](const std::string& p) {
                          return SameTextAscii(p, server.ProgId);
                        });
    // Registering a list of identifiers leaves exactly those registered.
    if (!wanted) {
      ok = Unregister(server, message) && ok;
      continue;
    }
    const std::string clsidKey = ClsidKey(*server.Clsid);
    const std::string current = ReadDefault(clsidKey + "\\" + WordprocReg::LocalServer32);
    if (!current.empty() && !IsWordproc(current)) {
      message += std::string(server.ProgId) + " is already served by " + current + ": left alone.\n";
      ok = false;
      continue;
    }
    ok = WriteDefault(clsidKey, server.Description, message) &&
         WriteDefault(clsidKey + "\\" + WordprocReg::LocalServer32, "\"" + program + "\"", message) &&
         WriteDefault(clsidKey + "\\" + WordprocReg::ProgId, server.ProgId, message) &&
         WriteDefault(ProgIdKey(server.ProgId), server.Description, message) &&
         WriteDefault(ProgIdKey(server.ProgId) + "\\" + WordprocReg::Clsid, ClsidText(*server.Clsid), message) && ok;
  }
  return ok;
}

bool UnregisterServer(std::string& message) {
  bool ok = true;
  for (const TServerClass& server : ServerClasses) ok = Unregister(server, message) && ok;
  return ok;
}
