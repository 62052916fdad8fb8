// CXmlDocument: one XML document and the file it came from, with the few node and attribute
// operations the predefined text store and the backup files use. The document model behind it is
// the program's own (xmldom.h); this layer returns COM-style result codes, so callers read the same
// as against any DOM. Its strings are the model's own UTF-8: the predefined texts keep every
// character a user stored, whatever the system's code page.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "include/xmldom.h"

// Result codes; the values are the usual HRESULTs, so they compare the same everywhere.
constexpr long XML_S_OK = 0;
constexpr long XML_S_FALSE = 1;                  // refused: null node, empty name, not an element
constexpr long XML_E_FAIL = -2147467259L;        // 0x80004005: the operation itself failed
constexpr long XML_E_INVALIDARG = -2147024809L;  // 0x80070057: e.g. a node that is no child

namespace xml {

// Conversion between the program's ANSI strings (the hotkey fields of backups, language texts) and
// the model's UTF-8. The default treats ANSI as Windows-1252; the Windows build installs the system
// code page (xmlcodec_win.h).
struct AnsiCodec {
  std::string (*toUtf8)(std::string_view ansi);
  std::string (*fromUtf8)(std::string_view utf8);
};
// Returns the codec that was installed before. A null member restores the default one.
AnsiCodec SetAnsiCodec(AnsiCodec codec);
std::string FromAnsi(std::string_view ansi);
std::string ToAnsi(std::string_view utf8);

// Puts a finished temporary file in place of the target, which may exist. The default renames,
// and where a rename cannot overwrite it moves the old file aside first and back on failure.
using FileReplacer = bool (*)(const std::string& source, const std::string& target);
FileReplacer SetFileReplacer(FileReplacer replacer);  // null restores the default
bool ReplaceFileByRename(const std::string& source, const std::string& target);

// The declaration the program's own files carry: UTF-16 with a byte-order mark.
constexpr char kUnicodeDeclaration[] = "version=\"1.0\" encoding=\"UNICODE\"";
// A new document of that declaration and `root`; null when `root` is null or cannot be placed.
NodePtr NewUnicodeDocument(const NodePtr& root);

// The document in a file (ANSI path); null when it is missing, unreadable, too large or not
// well-formed.
NodePtr LoadDocument(const std::string& path, const ParseOptions& options = {});
// Writes the document to a temporary file beside `path`, checks every step, then replaces `path`
// with it. XML_S_OK, or XML_E_FAIL with `path` untouched and no temporary file left behind.
long SaveDocument(const Node& document, const std::string& path);
// Where SaveDocument writes first.
std::string TemporaryPathFor(const std::string& path);

}  // namespace xml

class CXmlDocument {
 public:
  CXmlDocument() = default;
  CXmlDocument(const CXmlDocument&) = delete;
  CXmlDocument& operator=(const CXmlDocument&) = delete;

  // Forgets the previous document and file name, then reads the file. On failure the document is
  // a fresh empty one that finds nothing, and the file name stays empty, so Save writes nothing.
  bool Load(const std::string& fileName);
  // Takes `document` as the document of `fileName`, a file that is not there yet, so that Save
  // writes it.
  void New(xml::NodePtr document, const std::string& fileName);
  // Writes the document back to the file it was loaded from (or made for): XML_S_FALSE when there
  // is none.
  long Save();

  // XML_S_OK with the first match, XML_S_FALSE when nothing matches (out is then null),
  // XML_E_FAIL for an expression of an unsupported form.
  long SelectSingleNode(const xml::NodePtr& node, const std::string& xpath, xml::NodePtr& out) const;
  // XML_S_OK with the value; XML_S_FALSE leaves `value` as the caller prepared it.
  long GetAttribute(const xml::NodePtr& node, const std::string& name, std::string& value) const;
  long SetAttribute(const xml::NodePtr& node, const std::string& name, const std::string& value);
  // A new element with the given text (none when empty) and attributes, appended as the parent's
  // last child.
  long AddChildElement(const xml::NodePtr& parent, const std::string& tagName, const std::string& text,
                       const std::map<std::string, std::string>& attributes, xml::NodePtr& child);
  long RemoveChild(const xml::NodePtr& parent, const xml::NodePtr& child, xml::NodePtr& removed);

  // The document is also the context node for selecting the root element ("config").
  xml::NodePtr m_pDoc;          // null until the first Load
  std::string m_bstrFileName;   // non-empty only while m_pDoc was loaded from (or made for) this file
};
