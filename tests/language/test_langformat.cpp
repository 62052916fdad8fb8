#include <doctest/doctest.h>

#include "language/langformat.h"

using lang::FormatArg;
using lang::FormatChecked;

TEST_CASE("escapes become characters") {
  CHECK(lang::Unescape("one\\ntwo") == "one\ntwo");
  CHECK(lang::Unescape("a\\r\\nb\\tc") == "a\r\nb\tc");
  CHECK(lang::Unescape("no escapes") == "no escapes");
  CHECK(lang::Unescape("trailing\\") == "trailing\\");
}

TEST_CASE("well-formed format texts are filled in") {
  std::string out;
  REQUIRE(FormatChecked("Total: %d hotkeys", {FormatArg::Int(12)}, out));
  CHECK(out == "Total: 12 hotkeys");
  REQUIRE(FormatChecked("%s v%s (%s)", {FormatArg::Str("Q"), FormatArg::Str("1.0"), FormatArg::Str("x")}, out));
  CHECK(out == "Q v1.0 (x)");
  REQUIRE(FormatChecked("%04d.%02d.%02d", {FormatArg::Int(2026), FormatArg::Int(3), FormatArg::Int(9)}, out));
  CHECK(out == "2026.03.09");
  REQUIRE(FormatChecked("%ld%% done, %-3s|", {FormatArg::Int(-5), FormatArg::Str("a")}, out));
  CHECK(out == "-5% done, a  |");
  // A translation may leave an argument out.
  REQUIRE(FormatChecked("No number here", {FormatArg::Int(3)}, out));
  CHECK(out == "No number here");
}

TEST_CASE("format texts that ask for what the call does not pass are refused") {
  std::string out = "unchanged";
  CHECK_FALSE(FormatChecked("%s", {FormatArg::Int(1)}, out));           // wrong kind: would read a pointer
  CHECK_FALSE(FormatChecked("%d", {FormatArg::Str("x")}, out));
  CHECK_FALSE(FormatChecked("%d %d", {FormatArg::Int(1)}, out));        // reads past the arguments
  CHECK_FALSE(FormatChecked("%n", {FormatArg::Int(1)}, out));           // writes memory
  CHECK_FALSE(FormatChecked("%p %f", {FormatArg::Int(1)}, out));
  CHECK_FALSE(FormatChecked("%*d", {FormatArg::Int(1)}, out));
  CHECK_FALSE(FormatChecked("%1$s", {FormatArg::Str("a")}, out));
  CHECK_FALSE(FormatChecked("%99999d", {FormatArg::Int(1)}, out));      // huge width
  CHECK_FALSE(FormatChecked("%.99999s", {FormatArg::Str("a")}, out));
  CHECK_FALSE(FormatChecked("50%", {}, out));                           // lone percent at the end
  CHECK(out == "unchanged");
}

TEST_CASE("formatted output is bounded") {
  std::string big(70000, 'x');
  std::string out;
  REQUIRE(FormatChecked(big + "%s", {FormatArg::Str(big)}, out));
  CHECK(out.size() == lang::kMaxFormattedLength);
}

TEST_CASE("conversion kinds of a format text") {
  std::string kinds;
  REQUIRE(lang::ConversionKinds("%s has %d of %ld, 100%%", kinds));
  CHECK(kinds == "sdd");
  REQUIRE(lang::ConversionKinds("plain", kinds));
  CHECK(kinds.empty());
  CHECK_FALSE(lang::ConversionKinds("%n", kinds));
  CHECK_FALSE(lang::ConversionKinds("ends in %", kinds));
}

TEST_CASE("access key marks: the key they mark, and the text without them") {
  CHECK(lang::AccessKeys("&Add hotkey") == "A");
  CHECK(lang::AccessKeys("Ac&tions (run in this order):") == "t");
  CHECK(lang::AccessKeys("Copy && paste") == "");
  CHECK(lang::AccessKeys("Copy && &paste") == "p");
  CHECK(lang::AccessKeys("&One &two") == "Ot");
  CHECK(lang::AccessKeys("none&") == "");
  CHECK(lang::AccessKeys("") == "");

  CHECK(lang::StripAccessKey("&Add hotkey") == "Add hotkey");
  CHECK(lang::StripAccessKey("Ac&tions") == "Actions");
  CHECK(lang::StripAccessKey("Copy && paste") == "Copy & paste");
  CHECK(lang::StripAccessKey("&&&x") == "&x");
  CHECK(lang::StripAccessKey("end&") == "end");
  CHECK(lang::StripAccessKey("plain") == "plain");
  CHECK(lang::StripAccessKey("") == "");
}
