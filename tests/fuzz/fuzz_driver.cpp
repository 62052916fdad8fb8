// Runs a fuzz target without libFuzzer: every file named on the command line, then a bounded
// number of random and mutated inputs from a fixed seed, so a ctest run is repeatable.
// tools/fuzz.sh builds the same targets with clang's libFuzzer for open-ended runs.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  std::vector<std::string> seeds;
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(seeds.back().data()), seeds.back().size());
  }
  const char* env = std::getenv("FUZZ_RUNS");
  long runs = env ? std::atol(env) : 20000;
  std::mt19937 rng(12345);
  const std::string alphabet = "<>/=\"' \t\r\n!?-[]&#;:%abcXYZ019.,\\{}";
  for (long r = 0; r < runs; ++r) {
    std::string input;
    if (!seeds.empty() && r % 2 == 0) {
      input = seeds[rng() % seeds.size()];
      int edits = 1 + static_cast<int>(rng() % 8);
      for (int e = 0; e < edits && !input.empty(); ++e) {
        size_t pos = rng() % input.size();
        switch (rng() % 4) {
          case 0: input[pos] = static_cast<char>(rng()); break;
          case 1: input.erase(pos, 1 + rng() % 16); break;
          case 2: input.insert(pos, input.substr(rng() % input.size(), 1 + rng() % 32)); break;
          default: input.resize(pos); break;
        }
      }
    } else {
      size_t len = rng() % 256;
      for (size_t i = 0; i < len; ++i) {
        input += rng() % 4 ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng());
      }
    }
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
  }
  std::cout << "fuzz: " << seeds.size() << " seed files and " << runs << " generated inputs ran clean\n";
  return 0;
}
