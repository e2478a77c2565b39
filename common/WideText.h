// 8-bit text to UTF-16 and back. Two code pages, for two kinds of text:
//  - the program's own texts (registry names and values, automation names,
//    document text) are code page 1252 whatever the system's settings, so
//    that "Unités de base" is always the same name;
//  - file names are in the system's ANSI code page, as the A functions of
//    the file system take them, so that a name means the same file whichever
//    set of functions opens it.
#pragma once

#include <string>

std::wstring WidenText(const std::string& text);     // code page 1252
std::string NarrowText(const std::wstring& text);    // code page 1252
std::wstring WidenFileName(const std::string& name);  // ANSI code page
std::string NarrowFileName(const std::wstring& name);  // ANSI code page
