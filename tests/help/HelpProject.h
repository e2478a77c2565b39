// The help sources as the tests read them: the pages of a help folder, the
// sections of its help project (.hhp), the links of a page and the topics
// of a contents or index file.
#pragma once

#include <windows.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "HostPath.h"

inline std::string ReadText(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

inline std::string LowerCase(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The file names of a directory that end with the extension (".htm").
inline std::set<std::string> FilesOf(const std::string& dir, const std::string& ext) {
  std::set<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*" + ext).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::string n = fd.cFileName;
    if (n.size() > ext.size() && LowerCase(n.substr(n.size() - ext.size())) == ext) names.insert(n);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

// A help project: its sections, each as its lines without blanks or comments.
inline std::map<std::string, std::vector<std::string>> ReadProject(const std::string& path) {
  std::map<std::string, std::vector<std::string>> sections;
  std::istringstream in(ReadText(path));
  std::string line, section;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      sections[section];
    } else {
      sections[section].push_back(line);
    }
  }
  return sections;
}

// Every match of the pattern's first group in the text.
inline std::vector<std::string> Matches(const std::string& text, const char* pattern) {
  std::vector<std::string> found;
  const std::regex re(pattern, std::regex::icase);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
    found.push_back((*it)[1].str());
  return found;
}

// The links of a page (href and src), the anchors it defines, its title.
inline std::vector<std::string> LinksOf(const std::string& html) {
  std::vector<std::string> links = Matches(html, R"re(\bhref\s*=\s*"([^"]*)")re");
  for (const std::string& s : Matches(html, R"re(\bsrc\s*=\s*"([^"]*)")re")) links.push_back(s);
  return links;
}
inline std::set<std::string> AnchorsOf(const std::string& html) {
  std::set<std::string> anchors;
  for (const std::string& a : Matches(html, R"re(<a\s+name\s*=\s*"([^"]*)")re")) anchors.insert(a);
  for (const std::string& a : Matches(html, R"re(\bid\s*=\s*"([^"]*)")re")) anchors.insert(a);
  return anchors;
}
inline std::string TitleOf(const std::string& html) {
  const std::vector<std::string> t = Matches(html, R"re(<title>([^<]*)</title>)re");
  return t.empty() ? std::string() : t.front();
}
// The topics ("Local" values) of a contents (.hhc) or index (.hhk) file.
inline std::vector<std::string> TopicsOf(const std::string& sitemap) {
  return Matches(sitemap, R"re(<param\s+name\s*=\s*"Local"\s+value\s*=\s*"([^"]*)")re");
}
