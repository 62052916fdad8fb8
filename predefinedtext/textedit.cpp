#include "predefinedtext/textedit.h"

#include <map>

#include "predefinedtext/placeholders.h"

namespace textedit {

xml::NodePtr ConfigElement(const CXmlDocument& doc) {
  xml::NodePtr config;
  if (doc.SelectSingleNode(doc.m_pDoc, "config", config) != XML_S_OK) return {};
  return config;
}

void StartNewStore(CXmlDocument& doc, const std::string& fileName) {
  doc.New(xml::NewUnicodeDocument(xml::Node::CreateElement("config")), fileName);
}

xml::NodePtr AddEntry(CXmlDocument& doc, const xml::NodePtr& parent, const std::string& name) {
  xml::NodePtr child;
  if (doc.AddChildElement(parent, "item", "", {{"name", name}}, child) != XML_S_OK) return {};
  return child;
}

bool RemoveEntry(CXmlDocument& doc, const xml::NodePtr& parent, const xml::NodePtr& entry) {
  xml::NodePtr removed;
  return doc.RemoveChild(parent, entry, removed) == XML_S_OK && removed;
}

bool SwapEntries(const xml::NodePtr& parent, const xml::NodePtr& first, const xml::NodePtr& second,
                 xml::NodePtr& firstNow, xml::NodePtr& secondNow) {
  firstNow.reset();
  secondNow.reset();
  if (!parent || !first || !second || first == second) return false;
  if (first->Parent() != parent.get() || second->Parent() != parent.get()) return false;
  xml::NodePtr copyOfFirst = first->CloneNode(true);
  xml::NodePtr copyOfSecond = second->CloneNode(true);
  if (!copyOfFirst || !copyOfSecond) return false;
  if (!parent->ReplaceChild(copyOfSecond, first.get())) return false;
  if (!parent->ReplaceChild(copyOfFirst, second.get())) {
    // Put the first one back so the document is as it was.
    parent->ReplaceChild(first, copyOfSecond.get());
    return false;
  }
  firstNow = copyOfSecond;
  secondNow = copyOfFirst;
  return true;
}

bool StoreText(CXmlDocument& doc, const xml::NodePtr& entry, const std::string& boxText) {
  return doc.SetAttribute(entry, "value", EscapeStoredValue(boxText)) == XML_S_OK;
}

bool StoreName(CXmlDocument& doc, const xml::NodePtr& entry, const std::string& name) {
  return doc.SetAttribute(entry, "name", name) == XML_S_OK;
}

bool FitsLoadLimits(const xml::Node& document, const xml::ParseOptions& limits) {
  std::string bytes;
  if (!xml::SerializeDocument(document, bytes)) return false;
  if (bytes.size() > limits.maxInputBytes) return false;
  return static_cast<bool>(xml::Parse(bytes, limits));
}

}  // namespace textedit
