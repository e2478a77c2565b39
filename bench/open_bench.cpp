// open_bench PROJECT: opens a project in the main window, as File/Open
// does, and prints how long the analysis and the composition took, with
// the message loop running at every token as it does for a user.
#include <chrono>
#include <cstdio>

#include "Analysis.h"
#include "Forms.h"
#include "Units.h"
#include "ufUsagram.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: open_bench PROJECT\n");
    return 2;
  }
  Application.Initialize();
  UsagramInitialise();
  CommandLineParameters.clear();
  {
    TfUsagram form;
    form.Show();
    Application.ProcessMessages();
    form.OpenDialog.FileName = argv[1];
    const auto start = std::chrono::steady_clock::now();
    form.LoadProject();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s\t%d units\t%.2f s until \"%s\"\t%dx%d diagram\n", argv[1], FileArray ? FileArray->Count : 0,
                seconds, form.StatusBar.PanelText(0).c_str(), form.Metafile.Width, form.Metafile.Height);
  }
  UsagramFinalise();
  return 0;
}
