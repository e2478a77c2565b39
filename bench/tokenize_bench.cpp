// Throughput of the analyser's token stream over a generated Pascal corpus
// of about 50 MB (identifiers, reserved words, comments of the three kinds,
// strings, numbers, blanks and CR LF line ends), as the header scan reads
// it: TAnalyseur::NextTokenView, every token's text a view into the buffer.
//   tokenize_bench [megabytes]
#include <chrono>
#include <cstdint>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>

#include "PASCAL.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// CPU time of this thread, in seconds: on a shared machine it says more
// than the wall clock.
double ThreadSeconds() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ticks = [](const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
#else
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
#endif
}

class TCorpus {
 public:
  explicit TCorpus(unsigned seed) : Random(seed) {}

  std::string Unit(int number) {
    Text.clear();
    Line({"unit Unit", std::to_string(number), ";"});
    Line({});
    Line({"{ Generated unit ", std::to_string(number), ": a realistic mix of tokens }"});
    Line({"interface"});
    Line({});
    Line({"uses ", Names(3 + Pick(6)), ";"});
    Line({});
    Line({"type"});
    for (int i = Pick(4) + 2; i > 0; --i) {
      Line({"  T", Name(), " = class(TObject)"});
      Line({"  private"});
      for (int f = Pick(5) + 1; f > 0; --f) Line({"    F", Name(), ": ", Type(), ";"});
      Line({"  public"});
      Line({"    procedure ", Name(), "(const ", Name(), ": ", Type(), "); virtual;"});
      Line({"    function ", Name(), ": ", Type(), ";"});
      Line({"  end;"});
      Line({});
    }
    Line({"implementation"});
    Line({});
    Line({"uses ", Names(2 + Pick(4)), ";"});
    Line({});
    for (int p = Pick(6) + 4; p > 0; --p) Procedure();
    Line({"end."});
    return Text;
  }

 private:
  std::mt19937 Random;
  std::string Text;

  int Pick(int n) { return static_cast<int>(Random() % static_cast<unsigned>(n)); }
  // The parts of a line, made left to right (a braced list is evaluated in
  // order, a chain of + is not): the corpus is the same with every compiler.
  void Line(std::initializer_list<std::string> parts) {
    for (const std::string& part : parts) Text += part;
    Text += "\r\n";
  }
  std::string Name() {
    static const char* const parts[] = {"Form", "Data", "Item", "List", "Count", "Index", "Value", "Name",
                                        "Text", "Node", "Size", "Owner", "Buffer", "Stream", "Unit", "Link"};
    std::string name = parts[Pick(16)];
    if (Pick(2)) name += parts[Pick(16)];  // one call per statement: in order
    if (Pick(4) == 0) name += std::to_string(Pick(100));
    return name;
  }
  std::string Names(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
      if (i) s += ", ";
      s += Name();
    }
    return s;
  }
  std::string Type() {
    static const char* const types[] = {"Integer", "string", "Boolean", "TStrings", "Pointer", "Cardinal", "Char"};
    return types[Pick(7)];
  }
  void Procedure() {
    Line({"procedure T", Name(), ".", Name(), "(const ", Name(), ": ", Type(), ");"});
    Line({"var"});
    Line({"  I, J: Integer;"});
    Line({"begin"});
    for (int s = Pick(12) + 4; s > 0; --s) {
      switch (Pick(8)) {
        case 0: Line({"  // ", Name(), " is ", Name(), " when the ", Name(), " is empty"}); break;
        case 1: Line({"  { ", Name(), " ", Name(), " ", Name(), " ", Name(), " }"}); break;
        case 2: Line({"  (* ", Name(), " ", Name(), " *)"}); break;
        case 3: Line({"  ", Name(), " := '", Name(), " isn''t ", Name(), "';"}); break;
        case 4:
          Line({"  for I := 0 to ", Name(), ".Count - 1 do"});
          Line({"    ", Name(), "[I] := nil;"});
          break;
        case 5:
          Line({"  if (", Name(), " <> ", Name(), ") and not ", Name(), " then"});
          Line({"    Exit;"});
          break;
        case 6: Line({"  ", Name(), " := ", Name(), "(", Name(), ", ", std::to_string(Pick(1000)), ");"}); break;
        default: Line({"  while ", Name(), " >= ", Name(), " do Inc(", Name(), ");"}); break;
      }
    }
    Line({"end;"});
    Line({});
  }
};

}  // namespace

int main(int argc, char** argv) {
  const double megabytes = argc > 1 ? std::atof(argv[1]) : 50.0;
  const auto target = static_cast<std::size_t>(megabytes * 1024 * 1024);
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("usagram-tokenize-bench-" + std::to_string(std::random_device()()) + ".pas");
  std::size_t size = 0;
  {
    std::FILE* out = std::fopen(file.string().c_str(), "wb");
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", file.string().c_str());
      return 1;
    }
    TCorpus corpus(2026);
    for (int number = 0; size < target; ++number) {
      const std::string unit = corpus.Unit(number);
      std::fwrite(unit.data(), 1, unit.size(), out);
      size += unit.size();
    }
    std::fclose(out);
  }

  double best = 1e30, bestCpu = 1e30;
  std::size_t tokens = 0, keywords = 0, bytes = 0;
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadSeconds();
    TAnalyseur analyser(file.string());
    tokens = keywords = bytes = 0;
    std::string_view text;
    for (;;) {
      const uint8_t code = analyser.NextTokenView(text);
      if (code == tkEnd) break;
      ++tokens;
      keywords += code >= FirstKeywordCode;
      bytes += text.size();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = ThreadSeconds() - cpuStart;
    if (seconds < best) best = seconds;
    if (cpu < bestCpu) bestCpu = cpu;
  }
  std::filesystem::remove(file);
  if (bytes != size) {
    std::fprintf(stderr, "token texts hold %zu bytes, the file %zu\n", bytes, size);
    return 1;
  }
  std::printf("corpus     %.1f MB, %zu tokens (%zu reserved words)\n", size / 1048576.0, tokens, keywords);
  std::printf("best of 3  %.3f s wall, %.3f s CPU\n", best, bestCpu);
  std::printf("throughput %.1f MB/s, %.2f M tokens/s (wall clock)\n", size / 1048576.0 / best, tokens / best / 1e6);
  std::printf("throughput %.1f MB/s, %.2f M tokens/s (CPU time)\n", size / 1048576.0 / bestCpu, tokens / bestCpu / 1e6);
  return 0;
}
