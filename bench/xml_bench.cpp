// Parse-and-walk time of the program's XML model against pugixml, on a predefined text file of
// 10,000 nested items in the program's own format (UTF-16LE, byte-order mark, encoding="UNICODE").
//   xml_bench FILE [REPETITIONS]   writes FILE, then times both on its bytes (disk reads excluded)
#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "include/xmldom.h"

namespace {

constexpr int kTop = 100, kMiddle = 9, kLeaves = 10;  // 100 * (1 + 9 * (1 + 10)) = 10,000 items

void AppendItem(std::string& out, int id, int depth, bool open) {
  out.append(static_cast<size_t>(depth) * 2 + 2, ' ');
  out += "<item name=\"Entry ";
  out += std::to_string(id);
  out += "\" value=\"Caf\xC3\xA9 &amp; co.\\r\\nLine two of entry ";
  out += std::to_string(id);
  out += ", with some more text to make it a realistic length\"";
  out += open ? ">\r\n" : "/>\r\n";
}

std::string GenerateStore() {
  std::string utf8 = "<?xml version=\"1.0\" encoding=\"UNICODE\"?>\r\n<config>\r\n";
  int id = 0;
  for (int t = 0; t < kTop; ++t) {
    AppendItem(utf8, ++id, 0, true);
    for (int m = 0; m < kMiddle; ++m) {
      AppendItem(utf8, ++id, 1, true);
      for (int l = 0; l < kLeaves; ++l) AppendItem(utf8, ++id, 2, false);
      utf8 += "    </item>\r\n";
    }
    utf8 += "  </item>\r\n";
  }
  utf8 += "</config>\r\n";
  // The text is ASCII apart from U+00E9, so the UTF-16 units are easy to produce here.
  std::string bytes = "\xFF\xFE";
  for (size_t i = 0; i < utf8.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c == 0xC3) {
      bytes += static_cast<char>(0xC0 | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
      bytes += '\0';
    } else {
      bytes += static_cast<char>(c);
      bytes += '\0';
    }
  }
  return bytes;
}

struct Tally {
  size_t items = 0;
  size_t attributeBytes = 0;
  bool operator==(const Tally& o) const { return items == o.items && attributeBytes == o.attributeBytes; }
};

Tally WalkOurs(const std::string& bytes) {
  Tally tally;
  xml::ParseResult parsed = xml::Parse(bytes);
  if (!parsed) return tally;
  std::vector<const xml::Node*> stack{parsed.document->SelectSingleNode("config").get()};
  while (!stack.empty()) {
    const xml::Node* node = stack.back();
    stack.pop_back();
    for (size_t i = 0; i < node->ChildCount(); ++i) {
      const xml::Node* child = node->ChildPtr(i);
      if (!child->IsElement() || child->Name() != "item") continue;
      ++tally.items;
      if (const xml::Attribute* a = child->GetNamedItem("name")) tally.attributeBytes += a->value.size();
      if (const xml::Attribute* a = child->GetNamedItem("value")) tally.attributeBytes += a->value.size();
      stack.push_back(child);
    }
  }
  return tally;
}

// The same walk the way the program's tree fill does it: a selection of "item" per node.
Tally WalkOursBySelection(const std::string& bytes) {
  Tally tally;
  xml::ParseResult parsed = xml::Parse(bytes);
  if (!parsed) return tally;
  std::vector<xml::NodePtr> stack{parsed.document->SelectSingleNode("config")};
  while (!stack.empty()) {
    xml::NodePtr node = stack.back();
    stack.pop_back();
    xml::NodeList items = node->SelectNodes("item");
    for (xml::NodePtr item = items.NextNode(); item; item = items.NextNode()) {
      ++tally.items;
      if (const xml::Attribute* a = item->GetNamedItem("name")) tally.attributeBytes += a->value.size();
      if (const xml::Attribute* a = item->GetNamedItem("value")) tally.attributeBytes += a->value.size();
      stack.push_back(item);
    }
  }
  return tally;
}

Tally WalkPugi(const std::string& bytes) {
  Tally tally;
  pugi::xml_document doc;
  if (!doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto)) return tally;
  std::vector<pugi::xml_node> stack{doc.child("config")};
  while (!stack.empty()) {
    pugi::xml_node node = stack.back();
    stack.pop_back();
    for (pugi::xml_node item : node.children("item")) {
      ++tally.items;
      tally.attributeBytes += std::char_traits<char>::length(item.attribute("name").value());
      tally.attributeBytes += std::char_traits<char>::length(item.attribute("value").value());
      stack.push_back(item);
    }
  }
  return tally;
}

struct Timing {
  std::vector<double> ms;
  double Min() const { return *std::min_element(ms.begin(), ms.end()); }
  double Median() const {
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
  }
};

template <typename Walk>
double Milliseconds(Walk walk, const std::string& bytes, const Tally& expected) {
  auto start = std::chrono::steady_clock::now();
  Tally t = walk(bytes);
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (!(t == expected)) std::abort();
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: xml_bench FILE [REPETITIONS]\n");
    return 2;
  }
  const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  {
    std::ofstream out(argv[1], std::ios::binary);
    out << GenerateStore();
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  // One warm-up each; then the three take turns, so a busy machine slows them alike.
  const Tally ours = WalkOurs(bytes), selection = WalkOursBySelection(bytes), pugi = WalkPugi(bytes);
  if (!(ours == pugi) || !(selection == pugi) || ours.items != 10000) {
    std::fprintf(stderr, "the walks disagree: %zu/%zu/%zu items\n", ours.items, selection.items, pugi.items);
    return 1;
  }
  Timing oursTime, selectionTime, pugiTime, saveTime;
  xml::NodePtr doc = xml::Parse(bytes).document;
  std::string written;
  for (int r = 0; r < repetitions; ++r) {
    oursTime.ms.push_back(Milliseconds(WalkOurs, bytes, ours));
    selectionTime.ms.push_back(Milliseconds(WalkOursBySelection, bytes, ours));
    pugiTime.ms.push_back(Milliseconds(WalkPugi, bytes, ours));
    auto start = std::chrono::steady_clock::now();
    xml::SerializeDocument(*doc, written);
    saveTime.ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }

  std::printf("data.xml: %zu bytes, %zu items, %zu attribute bytes; %d runs each, milliseconds\n", bytes.size(),
              ours.items, ours.attributeBytes, repetitions);
  std::printf("                                         min    median\n");
  const auto row = [](const char* what, const Timing& t) {
    std::printf("  %-36s %7.2f %9.2f\n", what, t.Min(), t.Median());
  };
  row("quorvel xml parse+walk", oursTime);
  row("quorvel xml parse+walk (selections)", selectionTime);
  row("pugixml parse+walk", pugiTime);
  row("quorvel xml serialise (UTF-16LE)", saveTime);
  std::printf("  ratio quorvel/pugixml parse+walk:    %7.2f %9.2f\n", oursTime.Min() / pugiTime.Min(),
              oursTime.Median() / pugiTime.Median());
  return 0;
}
