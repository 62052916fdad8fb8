// Checks every shipped language file against the table of L-keys: each key is there with a text,
// every text the program formats carries exactly the placeholders the program passes, and every
// text of a label, button or menu entry marks one access key, a letter or digit the user can press.
#include <dirent.h>

#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "include/textutil.h"
#include "language/langformat.h"

namespace {

std::map<std::string, std::string> ReadStringSection(const std::string& path) {
  std::map<std::string, std::string> values;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  bool inSection = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      inSection = text::LowerAscii(line) == "[string]";
      continue;
    }
    size_t eq = line.find('=');
    if (!inSection || eq == std::string::npos || line[0] == ';') continue;
    std::string key = text::LowerAscii(line.substr(0, eq));
    if (!values.count(key)) values[key] = line.substr(eq + 1);  // the first occurrence wins
  }
  return values;
}

// A key every keyboard has: the letters A to Z and the digits.
bool Pressable(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: check_language_files lkeys.tsv language-folder\n";
    return 2;
  }
  struct Expected {
    std::string kinds;        // the arguments the program passes
    bool accessKey = false;   // the text marks exactly one access key
  };
  std::map<std::string, Expected> expected;  // by lowered key
  std::ifstream table(argv[1]);
  std::string row;
  std::getline(table, row);  // header: key, args, access, use
  while (std::getline(table, row)) {
    std::istringstream cols(row);
    std::string key, kinds, access;
    std::getline(cols, key, '\t');
    std::getline(cols, kinds, '\t');
    std::getline(cols, access, '\t');
    if (!key.empty()) expected[text::LowerAscii(key)] = Expected{kinds, access == "&"};
  }
  if (expected.size() < 191) {
    std::cerr << "the key table holds " << expected.size() << " keys, expected L0001 to L0191\n";
    return 1;
  }
  int failures = 0, files = 0;
  DIR* dir = opendir(argv[2]);
  if (!dir) return 1;
  while (dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    if (name.size() < 5 || name.substr(name.size() - 4) != ".txt") continue;
    ++files;
    auto values = ReadStringSection(std::string(argv[2]) + "/" + name);
    for (const auto& [key, want] : expected) {
      auto it = values.find(key);
      std::string found;
      if (it == values.end() || it->second.empty()) {
        std::cerr << name << ": " << key << " has no text\n";
        ++failures;
        continue;
      }
      if (!lang::ConversionKinds(it->second, found) || found != want.kinds) {
        std::cerr << name << ": " << key << " asks for \"" << found << "\", the program passes \"" << want.kinds
                  << "\"\n";
        ++failures;
      }
      std::string keys = lang::AccessKeys(it->second);
      if (want.accessKey && (keys.size() != 1 || !Pressable(keys[0]))) {
        std::cerr << name << ": " << key << " marks the access keys \"" << keys
                  << "\", one letter or digit (A to Z, 0 to 9) is wanted\n";
        ++failures;
      }
    }
  }
  closedir(dir);
  std::cout << files << " language files checked, " << failures << " problems\n";
  return files >= 2 && failures == 0 ? 0 : 1;
}
