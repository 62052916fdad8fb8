// Any input either fails to parse or gives a document that writes, reads back equal, and writes
// the same bytes again. Also exercises selection, copying and text on whatever was read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "include/xmldom.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  xml::ParseResult first = xml::Parse(data, size);
  if (!first) return 0;
  const xml::Node& doc = *first.document;
  std::string bytes;
  Check(xml::SerializeDocument(doc, bytes));
  xml::ParseResult second = xml::Parse(bytes);
  Check(static_cast<bool>(second));
  Check(xml::DeepEqual(doc, *second.document));
  std::string again;
  Check(xml::SerializeDocument(*second.document, again));
  Check(again == bytes);

  xml::NodePtr copy = doc.CloneNode(true);
  Check(xml::DeepEqual(doc, *copy));
  xml::NodePtr root = doc.DocumentElement();
  Check(root != nullptr);
  Check(doc.SelectSingleNode("/" + root->Name()) == root);
  Check(doc.SelectNodes("/*/*").Length() <= root->ChildCount());
  (void)doc.Text();
  // Moving the root element's children to the copy and back leaves an equal document.
  xml::NodePtr copyRoot = copy->DocumentElement();
  while (copyRoot->HasChildNodes()) copyRoot->RemoveChild(copyRoot->ChildPtr(0));
  while (root->HasChildNodes()) Check(copyRoot->AppendChild(root->FirstChild()));
  while (copyRoot->HasChildNodes()) Check(root->AppendChild(copyRoot->FirstChild()));
  Check(xml::DeepEqual(doc, *second.document));
  return 0;
}
