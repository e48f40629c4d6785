// Feeds every file of the given corpus folders (or single files) to the
// fuzz entry, so that CI replays what the fuzzers found without libFuzzer.
// -timeout=N gives each input N seconds, as libFuzzer's option of that name
// does: an input that takes longer ends the replay as a failure, naming it.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

const char* laufend = "";  // the input being run, for the time limit's message

void ZuLangsam(int) {
  const char vorne[] = "input took longer than its time limit: ";
  (void)!write(2, vorne, sizeof vorne - 1);
  (void)!write(2, laufend, std::strlen(laufend));
  (void)!write(2, "\n", 1);
  _exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  unsigned sekunden = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "-timeout=", 9) == 0) {
      sekunden = static_cast<unsigned>(std::strtoul(argv[i] + 9, nullptr, 10));
      continue;
    }
    const fs::path p(argv[i]);
    if (fs::is_directory(p)) {
      for (const auto& e : fs::directory_iterator(p))
        if (e.is_regular_file()) files.push_back(e.path());
    } else if (fs::is_regular_file(p)) {
      files.push_back(p);
    } else {
      std::fprintf(stderr, "not found: %s\n", argv[i]);
      return 1;
    }
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    std::fprintf(stderr, "no corpus files\n");
    return 1;
  }
  if (sekunden > 0) signal(SIGALRM, ZuLangsam);
  for (const auto& f : files) {
    std::ifstream in(f, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string name = f.string();
    laufend = name.c_str();
    alarm(sekunden);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    alarm(0);
  }
  std::printf("%zu corpus files replayed\n", files.size());
  return 0;
}
