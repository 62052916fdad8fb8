// The program's own small XML document model: parsed from bytes, edited in memory, written back to
// bytes. Portable (no <windows.h>), so it is tested and fuzzed natively. Strings are UTF-8 here;
// CXmlDocument (xml.h) converts them to and from the program's ANSI code page.
//
// Nodes are reference counted. The tree owns its nodes downwards (a parent holds one reference on
// each child); a node only knows its parent by a plain pointer. Releasing the last reference on a
// node frees its subtree without recursion, so a tree of any depth is freed safely; a child that is
// still referenced elsewhere survives as a detached subtree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xml {

enum class NodeType { Document, Element, Text, CData, Comment, ProcessingInstruction };

// Encodings the model reads and writes. UTF-16 is what the program's own files use
// (declared encoding="UNICODE", little-endian with a byte-order mark).
enum class Encoding { Utf8, Utf16LE, Utf16BE, Windows1252, Latin1, Ascii };

struct Attribute {
  std::string name;
  std::string value;
};

class Node;

// One counted reference on a node.
class NodePtr {
 public:
  NodePtr() noexcept = default;
  NodePtr(std::nullptr_t) noexcept {}  // NOLINT: null converts implicitly, as for any pointer
  // Takes a reference of its own on `node`.
  explicit NodePtr(Node* node) noexcept;
  NodePtr(const NodePtr& other) noexcept : NodePtr(other.p_) {}
  NodePtr(NodePtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  NodePtr& operator=(const NodePtr& other) noexcept;
  NodePtr& operator=(NodePtr&& other) noexcept;
  ~NodePtr();

  // Wraps a reference the caller already holds (one that was given up with Detach).
  static NodePtr Adopt(Node* node) noexcept;
  // Gives up the reference without releasing it; the caller must Release it later.
  Node* Detach() noexcept { return std::exchange(p_, nullptr); }

  Node* get() const noexcept { return p_; }
  Node* operator->() const noexcept { return p_; }
  Node& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  void reset() noexcept { *this = NodePtr(); }

  friend bool operator==(const NodePtr& a, const NodePtr& b) noexcept { return a.p_ == b.p_; }
  friend bool operator!=(const NodePtr& a, const NodePtr& b) noexcept { return a.p_ != b.p_; }
  friend bool operator==(const NodePtr& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }
  friend bool operator!=(const NodePtr& a, std::nullptr_t) noexcept { return a.p_ != nullptr; }

 private:
  Node* p_ = nullptr;
};

// A selection or a snapshot of child nodes. NextNode walks it once, yielding null at the end.
class NodeList {
 public:
  NodeList() = default;
  explicit NodeList(std::vector<NodePtr> nodes) : nodes_(std::move(nodes)) {}

  size_t Length() const { return nodes_.size(); }
  bool Empty() const { return nodes_.empty(); }
  NodePtr Item(size_t index) const { return index < nodes_.size() ? nodes_[index] : NodePtr(); }
  NodePtr NextNode() { return next_ < nodes_.size() ? nodes_[next_++] : NodePtr(); }
  void Reset() { next_ = 0; }

  std::vector<NodePtr>::const_iterator begin() const { return nodes_.begin(); }
  std::vector<NodePtr>::const_iterator end() const { return nodes_.end(); }

 private:
  std::vector<NodePtr> nodes_;
  size_t next_ = 0;
};

class Node {
 public:
  // Factories. Names must be XML names; CreateElement and CreateProcessingInstruction return null
  // for a name that is not one (and for a declaration "xml" whose data is not a valid declaration).
  static NodePtr CreateDocument();
  static NodePtr CreateElement(std::string_view tagName);
  static NodePtr CreateTextNode(std::string_view text);
  static NodePtr CreateCDataSection(std::string_view text);
  static NodePtr CreateComment(std::string_view text);
  static NodePtr CreateProcessingInstruction(std::string_view target, std::string_view data);

  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  void AddRef() const noexcept { ++refs_; }
  void Release() const noexcept;
  size_t RefCount() const noexcept { return refs_; }

  NodeType Type() const { return type_; }
  bool IsElement() const { return type_ == NodeType::Element; }
  bool IsDocument() const { return type_ == NodeType::Document; }
  // The XML declaration: the processing instruction "xml" at the head of a document.
  bool IsDeclaration() const;

  // Tag name, processing-instruction target, or "#document", "#text", "#cdata-section", "#comment".
  std::string NodeName() const;
  // Tag name or target as stored; empty for the other node types.
  const std::string& Name() const { return name_; }
  // Character data of text, CDATA, comment and processing instruction; empty for the others.
  const std::string& NodeValue() const { return value_; }
  // False (and no change) for elements and documents, and for declaration data that is not valid.
  bool SetNodeValue(std::string_view value);

  // Concatenated text and CDATA of all descendants for elements and documents; the node's own data
  // otherwise.
  std::string Text() const;
  // Elements: all children are replaced by one text node (none when `text` is empty). Character
  // data nodes: as SetNodeValue. False for documents.
  bool SetText(std::string_view text);

  // Navigation.
  Node* Parent() const { return parent_; }
  NodePtr ParentNode() const { return NodePtr(parent_); }
  size_t ChildCount() const { return children_.size(); }
  NodePtr ChildAt(size_t index) const { return index < children_.size() ? children_[index] : NodePtr(); }
  Node* ChildPtr(size_t index) const { return index < children_.size() ? children_[index].get() : nullptr; }
  NodeList ChildNodes() const { return NodeList(children_); }
  NodePtr FirstChild() const { return ChildAt(0); }
  NodePtr LastChild() const { return children_.empty() ? NodePtr() : children_.back(); }
  NodePtr NextSibling() const;
  NodePtr PreviousSibling() const;
  bool HasChildNodes() const { return !children_.empty(); }
  // The document's root element; null for other nodes and for a document without one.
  NodePtr DocumentElement() const;

  // Tree edits. A node that is already in a tree is moved. Refused (false or null, tree unchanged):
  // a reference node that is not a child of this node, a node under one of its own descendants,
  // children of nodes that hold none, a document as a child, text or a second element directly
  // in a document, and an XML declaration anywhere but at the head of a document.
  bool AppendChild(const NodePtr& child) { return InsertBefore(child, nullptr); }
  bool InsertBefore(const NodePtr& child, const Node* refChild);
  NodePtr RemoveChild(const Node* child);           // the removed child, or null
  NodePtr ReplaceChild(const NodePtr& newChild, const Node* oldChild);  // the replaced child, or null
  // A copy without parent; with all descendants when deep.
  NodePtr CloneNode(bool deep) const;

  // Attributes (elements only; empty for every other node).
  const std::vector<Attribute>& Attributes() const { return attributes_; }
  bool HasAttributeMap() const { return type_ == NodeType::Element; }
  const Attribute* GetNamedItem(std::string_view name) const;
  // False when this is not an element or the name is not an XML name.
  bool SetAttribute(std::string_view name, std::string_view value);
  bool RemoveAttribute(std::string_view name);

  // Paths: "/A/B/C" from the root of the tree, "a" or "a/b" relative to this node; steps name
  // child elements, "*" any child element, "." this node and ".." its parent. Results come in
  // document order. An expression outside these forms selects nothing (and IsSupportedPath is
  // false for it).
  NodePtr SelectSingleNode(std::string_view path) const;
  NodeList SelectNodes(std::string_view path) const;

 private:
  explicit Node(NodeType type) : type_(type) {}
  ~Node() = default;
  static NodePtr Make(NodeType type, std::string_view name, std::string_view value);
  static void DestroyDetached(Node* root) noexcept;

  bool AcceptsChild(const Node& child) const;
  bool DocumentLayoutAllows(const Node* newChild, size_t position, const Node* leaving) const;
  NodePtr TakeFromParent();
  void PlaceChild(NodePtr child, size_t position);
  void Renumber(size_t from);
  std::vector<NodePtr> Select(std::string_view path) const;

  mutable size_t refs_ = 0;
  NodeType type_;
  Node* parent_ = nullptr;
  size_t index_ = 0;  // position in parent_->children_
  std::string name_;   // tag name or target
  std::string value_;  // character data
  std::vector<NodePtr> children_;
  std::vector<Attribute> attributes_;

  friend class Parser;
  friend class NodePtr;
};

inline NodePtr::NodePtr(Node* node) noexcept : p_(node) {
  if (p_) p_->AddRef();
}
inline NodePtr::~NodePtr() {
  if (p_) p_->Release();
}
inline NodePtr& NodePtr::operator=(const NodePtr& other) noexcept {
  NodePtr copy(other);
  std::swap(p_, copy.p_);
  return *this;
}
inline NodePtr& NodePtr::operator=(NodePtr&& other) noexcept {
  NodePtr moved(std::move(other));
  std::swap(p_, moved.p_);
  return *this;
}
inline NodePtr NodePtr::Adopt(Node* node) noexcept {
  NodePtr p;
  p.p_ = node;
  return p;
}

// A counted reference held in an integer, such as a tree-view item's data. NodeToItemData takes a
// new reference; NodeFromItemData hands out another one while the item keeps its own;
// ReleaseItemData gives the item's reference back (once, when the item is deleted).
inline std::intptr_t NodeToItemData(const NodePtr& node) {
  if (node) node->AddRef();
  return reinterpret_cast<std::intptr_t>(node.get());
}
inline NodePtr NodeFromItemData(std::intptr_t data) { return NodePtr(reinterpret_cast<Node*>(data)); }
inline void ReleaseItemData(std::intptr_t data) {
  if (data) reinterpret_cast<Node*>(data)->Release();
}

bool IsValidName(std::string_view name);
bool IsSupportedPath(std::string_view path);

// Same types, names, values, attributes (in order) and children, all the way down.
bool DeepEqual(const Node& a, const Node& b);

// ---- Reading ----

// Limits keep a hostile or broken file from exhausting the stack, memory or time.
struct ParseOptions {
  bool preserveWhitespace = false;  // keep text nodes that hold only white space
  size_t maxInputBytes = size_t{64} << 20;
  size_t maxDepth = 1000;
  size_t maxNameBytes = 1024;
  size_t maxAttributes = 4096;               // per element
  size_t maxValueBytes = size_t{16} << 20;   // one attribute value, text, comment, ...
  size_t maxNodes = 2'000'000;
};

struct ParseResult {
  NodePtr document;        // null when the input was refused
  std::string error;       // why, when it was
  size_t line = 0;         // where (1-based, in the decoded text), when known
  Encoding encoding = Encoding::Utf8;  // what the bytes were read as
  explicit operator bool() const { return document != nullptr; }
};

// Bytes of a whole file: UTF-8 (with or without byte-order mark), UTF-16 LE or BE (with mark, or
// recognised by "<" as first character), or a single-byte encoding the declaration names
// (windows-1252, ISO-8859-1, US-ASCII). "UNICODE" in the declaration means UTF-16.
// No DTD is supported; entities are the five predefined ones and character references.
ParseResult Parse(const void* data, size_t size, const ParseOptions& options = {});
inline ParseResult Parse(std::string_view bytes, const ParseOptions& options = {}) {
  return Parse(bytes.data(), bytes.size(), options);
}

// ---- Writing ----

// The encoding a document is written in: what its declaration names; UTF-16LE when it has none.
Encoding DocumentEncoding(const Node& document);

// A whole document as file bytes in DocumentEncoding (UTF-16 with a byte-order mark), each top-level
// node on a line of its own. False when something cannot be written in that encoding as well-formed
// XML: a comment holding "--", a processing instruction holding "?>", CDATA holding "]]>", or a
// character the encoding lacks outside text and attribute values (there it becomes a reference).
bool SerializeDocument(const Node& document, std::string& bytes);
bool SerializeDocument(const Node& document, Encoding encoding, std::string& bytes);
// The markup of one node and its descendants as UTF-8, no byte-order mark.
bool Serialize(const Node& node, std::string& utf8);

// ---- Single-byte text ----

// Windows-1252 to UTF-8; every byte has a character (the five unassigned ones map to U+0081 ...).
std::string Utf8FromWindows1252(std::string_view bytes);
// UTF-8 to Windows-1252; a character it lacks, or a broken sequence, becomes `missing`.
std::string Windows1252FromUtf8(std::string_view utf8, char missing = '?');

}  // namespace xml
