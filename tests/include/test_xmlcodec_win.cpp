#include <doctest/doctest.h>

#include <windows.h>

#include "include/xml.h"
#include "include/xmlcodec_win.h"
#include "tests/winsupport.h"

namespace {

// Puts the portable defaults back when a test ends.
struct Win32Platform {
  Win32Platform() { xml::InstallWin32Platform(); }
  ~Win32Platform() {
    xml::SetAnsiCodec({nullptr, nullptr});
    xml::SetFileReplacer(nullptr);
  }
};

// What the system code page makes of one UTF-16 character, or empty when it has no byte for it.
std::string AnsiOf(wchar_t c) {
  char buf[8] = {};
  BOOL usedDefault = FALSE;
  int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &c, 1, buf, sizeof buf, nullptr, &usedDefault);
  return (n <= 0 || usedDefault) ? std::string() : std::string(buf, static_cast<size_t>(n));
}

}  // namespace

TEST_CASE("ANSI strings convert through the system code page") {
  Win32Platform platform;
  CHECK(xml::FromAnsi("plain text") == "plain text");
  CHECK(xml::ToAnsi("plain text") == "plain text");
  CHECK(xml::FromAnsi("").empty());
  const std::string eAcute = AnsiOf(L'\x00E9');
  if (!eAcute.empty()) {
    CHECK(xml::FromAnsi("caf" + eAcute) == "caf\xC3\xA9");
    CHECK(xml::ToAnsi("caf\xC3\xA9") == "caf" + eAcute);
  }
  if (AnsiOf(L'\x4E2D').empty()) CHECK(xml::ToAnsi("\xE4\xB8\xAD") == "?");
  // A broken sequence from a caller does not stop the conversion.
  CHECK(xml::ToAnsi("a\xC3").substr(0, 1) == "a");
}

TEST_CASE("saving replaces the file in one step") {
  Win32Platform platform;
  TempDir dir;
  const std::string file = dir / "data.xml";
  WriteFileBytes(file, "<config><item name=\"a\"/></config>");
  CXmlDocument doc;
  REQUIRE(doc.Load(file));
  xml::NodePtr config;
  REQUIRE(doc.SelectSingleNode(doc.m_pDoc, "config", config) == XML_S_OK);
  CHECK(doc.SetAttribute(config->FirstChild(), "name", "b") == XML_S_OK);
  REQUIRE(doc.Save() == XML_S_OK);
  CHECK(ReadFileBytes(file).substr(0, 2) == "\xFF\xFE");
  CHECK(!FileExists(xml::TemporaryPathFor(file)));
  CXmlDocument again;
  REQUIRE(again.Load(file));
  std::string name;
  again.GetAttribute(again.m_pDoc->SelectSingleNode("/config/item"), "name", name);
  CHECK(name == "b");
}

TEST_CASE("a read-only target is not replaced and the temporary goes") {
  Win32Platform platform;
  TempDir dir;
  const std::string file = dir / "data.xml";
  const std::string original = "<config/>";
  WriteFileBytes(file, original);
  CXmlDocument doc;
  REQUIRE(doc.Load(file));
  ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
  CHECK(doc.Save() == XML_E_FAIL);
  CHECK(ReadFileBytes(file) == original);
  CHECK(!FileExists(xml::TemporaryPathFor(file)));
  ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  CHECK(xml::ReplaceFileWin32(dir / "missing", file) == false);
  CHECK(ReadFileBytes(file) == original);
}
