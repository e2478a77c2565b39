// The loopback SMTP servers of a test run (smtp_server.py, started by ctest
// as the fixture "smtp"): their ports, the mail they kept, their sessions.
#pragma once

#include <winsock2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "HostPath.h"

struct TReceivedMail {
  std::string From;
  std::vector<std::string> To;
  std::string Data;  // as the server read it: line ends CR LF, dots unstuffed
};

class TSmtpTestServers {
 public:
  static std::filesystem::path Root() { return HostPath(USAGRAM_SMTP_DIR); }

  // 0 when the servers are not running.
  static int Port(const std::string& mode) {
    std::ifstream in(Root() / "ports");
    std::string name;
    int port = 0;
    while (in >> name >> port)
      if (name == mode) return port;
    return 0;
  }
  static std::string Address(const std::string& mode) { return "127.0.0.1:" + std::to_string(Port(mode)); }

  // Forgets what a server kept (between tests; the servers write only while
  // a test talks to them).
  static void Clear(const std::string& mode) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(Root() / mode, ec)) std::filesystem::remove(e.path(), ec);
  }

  static std::vector<TReceivedMail> Mails(const std::string& mode) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(Root() / mode, ec))
      if (e.path().extension() == ".eml") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    std::vector<TReceivedMail> mails;
    for (const auto& f : files) {
      TReceivedMail m;
      m.Data = ReadAll(f);
      std::istringstream env(ReadAll(std::filesystem::path(f).replace_extension(".env")));
      std::getline(env, m.From);
      for (std::string line; std::getline(env, line);) m.To.push_back(line);
      mails.push_back(m);
    }
    return mails;
  }

  // Python's own reading of each mail kept (NNNN.json: defects, headers,
  // decoded body), as JSON text with non-ASCII letters written \uXXXX.
  static std::vector<std::string> Readings(const std::string& mode) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(Root() / mode, ec))
      if (e.path().extension() == ".json") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    std::vector<std::string> readings;
    for (const auto& f : files) readings.push_back(ReadAll(f));
    return readings;
  }

  // Files whose name starts so (conn-, auth-).
  static int Count(const std::string& mode, const std::string& prefix) {
    int n = 0;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(Root() / mode, ec))
      if (e.path().filename().string().rfind(prefix, 0) == 0) ++n;
    return n;
  }

  static int Connections(const std::string& mode) {
    int n = 0;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(Root() / mode, ec))
      if (e.path().filename().string().rfind("conn-", 0) == 0) ++n;
    return n;
  }

  // A port of 127.0.0.1 where nothing listens.
  static int ClosedPort() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof a;
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &length);
    closesocket(s);
    WSACleanup();
    return ntohs(a.sin_port);
  }

 private:
  static std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
};

// Fails the test at once when the servers are not there (the test program
// was run without ctest's fixture).
#define REQUIRE_SMTP_SERVERS()                                                                          \
  ASSERT_NE(TSmtpTestServers::Port("normal"), 0)                                                        \
      << "no SMTP servers: run through ctest, or start them with "                                      \
         "/usr/bin/python3 tests/bugreport/smtp_server.py start " USAGRAM_SMTP_DIR
