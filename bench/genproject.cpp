// genproject DIR [--units N] [--deep] [--size BYTES] [--subdirs K] [--no-in-paths] [--uses N]
//                 [--seed S]
// Writes a synthetic Delphi project into DIR and prints its project file,
// unit count and size.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "ProjectGenerator.h"

int main(int argc, char** argv) {
  TProjectShape shape;
  const char* dir = nullptr;
  for (int i = 1; i < argc; ++i) {
    auto number = [&](int& out) {
      if (i + 1 >= argc) return false;
      out = std::atoi(argv[++i]);
      return true;
    };
    int seed = 0;
    bool ok = true;
    if (!std::strcmp(argv[i], "--units")) ok = number(shape.Units);
    else if (!std::strcmp(argv[i], "--size")) ok = number(shape.BytesPerUnit);
    else if (!std::strcmp(argv[i], "--subdirs")) ok = number(shape.SubDirectories);
    else if (!std::strcmp(argv[i], "--uses")) ok = number(shape.UsesPerClause);
    else if (!std::strcmp(argv[i], "--seed")) ok = number(seed), shape.Seed = static_cast<uint32_t>(seed);
    else if (!std::strcmp(argv[i], "--deep")) shape.Deep = true;
    else if (!std::strcmp(argv[i], "--no-in-paths")) shape.InPaths = false;
    else if (argv[i][0] != '-' && !dir) dir = argv[i];
    else ok = false;
    if (!ok) dir = nullptr, i = argc;
  }
  if (!dir || shape.Units < 0 || shape.BytesPerUnit < 0 || shape.SubDirectories < 0 || shape.UsesPerClause < 0) {
    std::fprintf(stderr, "usage: genproject DIR [--units N] [--deep] [--size BYTES] [--subdirs K] [--no-in-paths] [--uses N] [--seed S]\n");
    return 2;
  }
  try {
    TGeneratedProject p = GenerateProject(dir, shape);
    std::printf("%s\t%d units\t%llu bytes\n", p.ProjectFile.c_str(), p.Units, static_cast<unsigned long long>(p.Bytes));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "genproject: %s\n", e.what());
    return 1;
  }
  return 0;
}
