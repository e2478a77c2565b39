// Registration of the server under the program identifiers of Word, in the
// classes of the local machine: wordproc.exe /RegServer and /UnregServer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TServerClass {
  const CLSID* Clsid;
  const char* ProgId;
  const char* Description;
};
// Word.Basic, then Word.Application.
extern const TServerClass ServerClasses[2];

// Registers this program for the program identifiers given (all of them
// when the list is empty). A class that another program serves is left
// alone and reported. False with a message when anything failed.
bool RegisterServer(const std::string& program, const std::vector<std::string>& progIds, std::string& message);
// Removes the registrations that name a wordproc program; others stay.
bool UnregisterServer(std::string& message);
// Whether the class is registered to be served by this program.
bool RegisteredToThisProgram(const CLSID& clsid, const std::string& program);
std::string ClsidText(const CLSID& clsid);
