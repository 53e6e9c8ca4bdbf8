// pbrain-zel: the engine behind the Gomocup "pbrain" protocol and the analysis boards' commands on
// standard input and output.
//   pbrain-zel [--strong | --level L | --max-level L] [--seed S] [--verbose]
// The strong engine plays unless --level or --max-level picks the threat search; --strong, the
// default, undoes those given before it.
#include <charconv>
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>

#include "brain/session.h"

namespace {

template <typename Number>
bool ParseNumber(const char* text, Number& value) {
  const std::string_view s(text);
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  return error == std::errc() && end == s.data() + s.size();
}

int Usage() {
  std::cerr << "usage: pbrain-zel [--strong (the default) | --level L | --max-level L] [--seed S] "
               "[--verbose]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  zel::BrainOptions options;
  for (int k = 1; k < argc; ++k) {
    const std::string_view arg(argv[k]);
    if (arg == "--level" && k + 1 < argc) {
      int level = 0;
      if (!ParseNumber(argv[++k], level) || level > zel::kMaxSearchLevel) return Usage();
      options.level = level;
    } else if (arg == "--max-level" && k + 1 < argc) {
      int level = 0;
      if (!ParseNumber(argv[++k], level) || level > zel::kMaxSearchLevel) return Usage();
      options.maxLevel = level;
    } else if (arg == "--seed" && k + 1 < argc) {
      std::uint32_t seed = 0;
      if (!ParseNumber(argv[++k], seed)) return Usage();
      options.seed = seed;
    } else if (arg == "--strong") {
      options.level.reset();
      options.maxLevel.reset();
    } else if (arg == "--verbose") {
      options.reportLevels = true;
    } else {
      return Usage();
    }
  }
  std::ios::sync_with_stdio(false);
  // The engine's thread writes to standard output while this one reads: reading must not flush it.
  std::cin.tie(nullptr);
  zel::Session session(std::cout, options);
  std::string line;
  while (zel::ReadProtocolLine(std::cin, line)) {
    if (!session.Submit(line)) return 0;
  }
  // At the end of the input the commands already read are still answered.
  session.Finish();
  return 0;
}
