// zel: Renju against the computer, in a window.
#include <cstdio>
#include <cstring>

#include "shell/czel_app.h"

namespace {

constexpr const char* kUsage =
    "Usage: zel [Qt options]\n"
    "Renju against the computer: five in a row on a 15 x 15 board, with Black's forbidden\n"
    "moves. The game record is written to move.txt in the current directory.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  -v, --version  show the version and exit\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are accepted as well.\n";

}  // namespace

int main(int argc, char** argv) {
  // Help and version are answered without a display.
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "-h") || !std::strcmp(argv[i], "--help")) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (!std::strcmp(argv[i], "-v") || !std::strcmp(argv[i], "--version")) {
      std::puts("zel 1.1");
      return 0;
    }
  }
  zel::CZelApp app(argc, argv);
  // Qt has taken its own options out of argv; anything left is not ours either.
  if (argc > 1) {
    std::fprintf(stderr, "zel: unknown argument '%s'\n%s", argv[1], kUsage);
    return 2;
  }
  if (!app.InitInstance()) return 1;
  return app.exec();
}
