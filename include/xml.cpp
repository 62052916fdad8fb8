#include "include/xml.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "include/wholefile.h"

namespace xml {

namespace {

std::string DefaultToUtf8(std::string_view ansi) { return Utf8FromWindows1252(ansi); }
std::string DefaultFromUtf8(std::string_view utf8) { return Windows1252FromUtf8(utf8, '?'); }

AnsiCodec g_codec = {DefaultToUtf8, DefaultFromUtf8};
FileReplacer g_replacer = ReplaceFileByRename;

bool IsPlainFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

AnsiCodec SetAnsiCodec(AnsiCodec codec) {
  AnsiCodec previous = g_codec;
  g_codec = (codec.toUtf8 && codec.fromUtf8) ? codec : AnsiCodec{DefaultToUtf8, DefaultFromUtf8};
  return previous;
}

std::string FromAnsi(std::string_view ansi) { return g_codec.toUtf8(ansi); }
std::string ToAnsi(std::string_view utf8) { return g_codec.fromUtf8(utf8); }

FileReplacer SetFileReplacer(FileReplacer replacer) {
  FileReplacer previous = g_replacer;
  g_replacer = replacer ? replacer : ReplaceFileByRename;
  return previous;
}

bool ReplaceFileByRename(const std::string& source, const std::string& target) {
  if (std::rename(source.c_str(), target.c_str()) == 0) return true;
  // Some systems refuse to rename onto an existing file: move it aside so it can come back.
  if (!IsPlainFile(target)) return false;
  const std::string aside = target + ".~old";
  std::remove(aside.c_str());
  if (std::rename(target.c_str(), aside.c_str()) != 0) return false;
  if (std::rename(source.c_str(), target.c_str()) == 0) {
    std::remove(aside.c_str());
    return true;
  }
  std::rename(aside.c_str(), target.c_str());
  return false;
}

NodePtr LoadDocument(const std::string& path, const ParseOptions& options) {
  if (path.empty()) return {};
  std::string bytes;
  if (!wholefile::Read(path, bytes, options.maxInputBytes)) return {};
  return Parse(bytes, options).document;
}

NodePtr NewUnicodeDocument(const NodePtr& root) {
  NodePtr document = Node::CreateDocument();
  NodePtr declaration = Node::CreateProcessingInstruction("xml", kUnicodeDeclaration);
  if (!root || !document || !declaration || !document->AppendChild(declaration) || !document->AppendChild(root)) {
    return {};
  }
  return document;
}

std::string TemporaryPathFor(const std::string& path) { return path + ".~tmp"; }

long SaveDocument(const Node& document, const std::string& path) {
  std::string bytes;
  if (path.empty() || !SerializeDocument(document, bytes)) return XML_E_FAIL;
  const std::string temporary = TemporaryPathFor(path);
  if (wholefile::Write(temporary, bytes) && g_replacer(temporary, path)) return XML_S_OK;
  std::remove(temporary.c_str());
  return XML_E_FAIL;
}

}  // namespace xml

bool CXmlDocument::Load(const std::string& fileName) {
  m_bstrFileName.clear();
  m_pDoc.reset();
  m_pDoc = xml::LoadDocument(fileName);
  if (!m_pDoc) {
    m_pDoc = xml::Node::CreateDocument();
    return false;
  }
  m_bstrFileName = fileName;
  return true;
}

void CXmlDocument::New(xml::NodePtr document, const std::string& fileName) {
  m_pDoc = document ? std::move(document) : xml::Node::CreateDocument();
  m_bstrFileName = fileName;
}

long CXmlDocument::Save() {
  if (!m_pDoc || m_bstrFileName.empty()) return XML_S_FALSE;
  return xml::SaveDocument(*m_pDoc, m_bstrFileName);
}

long CXmlDocument::SelectSingleNode(const xml::NodePtr& node, const std::string& xpath, xml::NodePtr& out) const {
  out.reset();
  if (!node) return XML_S_FALSE;
  if (!xml::IsSupportedPath(xpath)) return XML_E_FAIL;
  out = node->SelectSingleNode(xpath);
  return out ? XML_S_OK : XML_S_FALSE;
}

long CXmlDocument::GetAttribute(const xml::NodePtr& node, const std::string& name, std::string& value) const {
  if (!node || name.empty() || !node->HasAttributeMap()) return XML_S_FALSE;
  const xml::Attribute* attribute = node->GetNamedItem(name);
  if (!attribute) return XML_S_FALSE;
  value = attribute->value;
  return XML_S_OK;
}

long CXmlDocument::SetAttribute(const xml::NodePtr& node, const std::string& name, const std::string& value) {
  if (!node || name.empty() || !node->IsElement()) return XML_S_FALSE;
  return node->SetAttribute(name, value) ? XML_S_OK : XML_E_FAIL;
}

long CXmlDocument::AddChildElement(const xml::NodePtr& parent, const std::string& tagName, const std::string& text,
                                   const std::map<std::string, std::string>& attributes, xml::NodePtr& child) {
  child.reset();
  if (!parent || !m_pDoc) return XML_S_FALSE;
  xml::NodePtr element = xml::Node::CreateElement(tagName);
  if (!element) return XML_S_FALSE;
  if (!text.empty()) element->SetText(text);
  for (const auto& [name, value] : attributes) element->SetAttribute(name, value);
  if (!parent->AppendChild(element)) return XML_E_FAIL;
  child = element;
  return XML_S_OK;
}

long CXmlDocument::RemoveChild(const xml::NodePtr& parent, const xml::NodePtr& child, xml::NodePtr& removed) {
  removed.reset();
  if (!parent || !child) return XML_S_FALSE;
  removed = parent->RemoveChild(child.get());
  return removed ? XML_S_OK : XML_E_INVALIDARG;
}
