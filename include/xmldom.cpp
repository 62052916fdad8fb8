#include "include/xmldom.h"

#include <algorithm>
#include <new>
#include <unordered_set>

#include "include/unicode.h"

namespace xml {

namespace {

// ---- Characters ----

using unicode::AppendUtf8;
using unicode::kReplacement;
using unicode::NextCodePoint;
using unicode::PutUtf8;
using unicode::Utf8SequenceAt;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Characters XML forbids in a document's text: controls other than tab, line feed and carriage
// return, and the two non-characters U+FFFE and U+FFFF.
bool IsRestricted(uint32_t cp) {
  return (cp < 0x20 && cp != 0x09 && cp != 0x0A && cp != 0x0D) || cp == 0xFFFE || cp == 0xFFFF;
}

// The upper half of Windows-1252 that differs from Latin-1. The five unassigned bytes map to the
// C1 control of the same value, as the system's own conversion does.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

uint32_t Cp1252ToUnicode(unsigned char b) { return (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : b; }

// The byte for `cp`, or -1 when Windows-1252 lacks it.
int UnicodeToCp1252(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int k = 0; k < 32; ++k) {
    if (kCp1252High[k] == cp) return 0x80 + k;
  }
  return -1;
}

bool Representable(Encoding enc, uint32_t cp) {
  switch (enc) {
    case Encoding::Windows1252: return UnicodeToCp1252(cp) >= 0;
    case Encoding::Latin1: return cp <= 0xFF;
    case Encoding::Ascii: return cp < 0x80;
    default: return true;
  }
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool EncodingFromName(std::string_view name, Encoding& enc) {
  struct Known {
    const char* name;
    Encoding enc;
  };
  static const Known kKnown[] = {
      {"utf-8", Encoding::Utf8},           {"utf8", Encoding::Utf8},
      {"unicode", Encoding::Utf16LE},      {"utf-16", Encoding::Utf16LE},
      {"utf-16le", Encoding::Utf16LE},     {"ucs-2", Encoding::Utf16LE},
      {"iso-10646-ucs-2", Encoding::Utf16LE}, {"utf-16be", Encoding::Utf16BE},
      {"windows-1252", Encoding::Windows1252}, {"cp1252", Encoding::Windows1252},
      {"iso-8859-1", Encoding::Latin1},    {"iso_8859-1", Encoding::Latin1},
      {"latin1", Encoding::Latin1},        {"us-ascii", Encoding::Ascii},
      {"ascii", Encoding::Ascii},
  };
  for (const Known& k : kKnown) {
    if (EqualsNoCase(name, k.name)) {
      enc = k.enc;
      return true;
    }
  }
  return false;
}

bool IsUtf16(Encoding e) { return e == Encoding::Utf16LE || e == Encoding::Utf16BE; }

// ---- The XML declaration ----

struct Declaration {
  std::string_view version, encoding, standalone;
};

// The data of <?xml ...?>: version, then optionally encoding, then optionally standalone.
bool ParseDeclarationData(std::string_view data, Declaration& decl) {
  static const char* const kOrder[] = {"version", "encoding", "standalone"};
  size_t i = 0, nextKey = 0, count = 0;
  while (true) {
    size_t before = i;
    while (i < data.size() && IsSpace(data[i])) ++i;
    if (i == data.size()) break;
    if (count > 0 && i == before) return false;
    size_t start = i;
    while (i < data.size() && data[i] >= 'a' && data[i] <= 'z') ++i;
    std::string_view key = data.substr(start, i - start);
    while (i < data.size() && IsSpace(data[i])) ++i;
    if (i == data.size() || data[i] != '=') return false;
    ++i;
    while (i < data.size() && IsSpace(data[i])) ++i;
    if (i == data.size() || (data[i] != '"' && data[i] != '\'')) return false;
    const char quote = data[i++];
    size_t end = data.find(quote, i);
    if (end == std::string_view::npos) return false;
    std::string_view value = data.substr(i, end - i);
    i = end + 1;
    size_t k = nextKey;
    while (k < 3 && key != kOrder[k]) ++k;
    if (k == 3 || (count == 0 && k != 0)) return false;
    nextKey = k + 1;
    ++count;
    if (k == 0) {
      if (value.size() < 3 || value.substr(0, 2) != "1.") return false;
      for (char c : value.substr(2)) {
        if (c < '0' || c > '9') return false;
      }
      decl.version = value;
    } else if (k == 1) {
      if (value.empty() || !((value[0] >= 'A' && value[0] <= 'Z') || (value[0] >= 'a' && value[0] <= 'z'))) {
        return false;
      }
      for (char c : value) {
        bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
                  c == '_' || c == '-';
        if (!ok) return false;
      }
      Encoding ignored;
      if (!EncodingFromName(value, ignored)) return false;
      decl.encoding = value;
    } else {
      if (value != "yes" && value != "no") return false;
      decl.standalone = value;
    }
  }
  return count > 0;
}

// The encoding named by a declaration at the very start of `text`, if there is one that parses.
bool PeekDeclaredEncoding(std::string_view text, Encoding& enc) {
  if (text.size() < 6 || text.substr(0, 5) != "<?xml" || !IsSpace(text[5])) return false;
  size_t end = text.substr(0, 1024).find("?>");
  if (end == std::string_view::npos) return false;
  Declaration decl;
  if (!ParseDeclarationData(text.substr(5, end - 5), decl) || decl.encoding.empty()) return false;
  return EncodingFromName(decl.encoding, enc);
}

std::string NormalizeNewlines(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      out += '\n';
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

bool IsNameStartByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}
bool IsNameByte(unsigned char c) { return IsNameStartByte(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// ---- Paths ----

struct ParsedPath {
  bool absolute = false;
  std::vector<std::string_view> steps;
};

bool ParsePath(std::string_view path, ParsedPath& out) {
  if (path.empty()) return false;
  size_t i = 0;
  if (path[0] == '/') {
    out.absolute = true;
    if (path.size() == 1) return true;
    i = 1;
  }
  while (true) {
    size_t slash = path.find('/', i);
    std::string_view step = path.substr(i, slash == std::string_view::npos ? std::string_view::npos : slash - i);
    if (step != "*" && step != "." && step != ".." && !IsValidName(step)) return false;
    out.steps.push_back(step);
    if (slash == std::string_view::npos) return true;
    i = slash + 1;
  }
}

}  // namespace

// ---- Public character helpers ----

bool IsValidName(std::string_view name) {
  if (name.empty() || !IsNameStartByte(static_cast<unsigned char>(name[0]))) return false;
  for (size_t i = 0; i < name.size();) {
    if (!IsNameByte(static_cast<unsigned char>(name[i]))) return false;
    char32_t cp;
    size_t len = Utf8SequenceAt(name, i, cp);
    if (len == 0 || IsRestricted(cp)) return false;
    i += len;
  }
  return true;
}

bool IsSupportedPath(std::string_view path) {
  ParsedPath parsed;
  return ParsePath(path, parsed);
}

std::string Utf8FromWindows1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string Windows1252FromUtf8(std::string_view utf8, char missing) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    int b = UnicodeToCp1252(NextCodePoint(utf8, i));
    // A broken sequence decodes as U+FFFD, which Windows-1252 lacks anyway.
    out += b < 0 ? missing : static_cast<char>(b);
  }
  return out;
}

// ---- Nodes ----

NodePtr Node::Make(NodeType type, std::string_view name, std::string_view value) {
  NodePtr node(new Node(type));
  node->name_.assign(name);
  node->value_.assign(value);
  return node;
}

NodePtr Node::CreateDocument() { return Make(NodeType::Document, {}, {}); }

NodePtr Node::CreateElement(std::string_view tagName) {
  return IsValidName(tagName) ? Make(NodeType::Element, tagName, {}) : NodePtr();
}

NodePtr Node::CreateTextNode(std::string_view text) { return Make(NodeType::Text, {}, text); }
NodePtr Node::CreateCDataSection(std::string_view text) { return Make(NodeType::CData, {}, text); }
NodePtr Node::CreateComment(std::string_view text) { return Make(NodeType::Comment, {}, text); }

NodePtr Node::CreateProcessingInstruction(std::string_view target, std::string_view data) {
  if (!IsValidName(target)) return {};
  if (EqualsNoCase(target, "xml")) {
    Declaration decl;
    if (target != "xml" || !ParseDeclarationData(data, decl)) return {};
  }
  return Make(NodeType::ProcessingInstruction, target, data);
}

void Node::Release() const noexcept {
  if (--refs_ == 0) DestroyDetached(const_cast<Node*>(this));
}

// Frees a node whose last reference went, and every descendant that nobody else holds. The nodes
// waiting to be freed are chained through their (no longer needed) parent pointers, so this
// needs neither recursion nor memory.
void Node::DestroyDetached(Node* root) noexcept {
  root->parent_ = nullptr;
  Node* pending = root;
  while (pending) {
    Node* node = pending;
    pending = node->parent_;
    for (NodePtr& slot : node->children_) {
      Node* child = slot.Detach();
      child->parent_ = nullptr;
      child->index_ = 0;
      if (--child->refs_ == 0) {
        child->parent_ = pending;
        pending = child;
      }
    }
    delete node;
  }
}

bool Node::IsDeclaration() const { return type_ == NodeType::ProcessingInstruction && name_ == "xml"; }

std::string Node::NodeName() const {
  switch (type_) {
    case NodeType::Document: return "#document";
    case NodeType::Text: return "#text";
    case NodeType::CData: return "#cdata-section";
    case NodeType::Comment: return "#comment";
    default: return name_;
  }
}

bool Node::SetNodeValue(std::string_view value) {
  if (type_ == NodeType::Element || type_ == NodeType::Document) return false;
  if (IsDeclaration()) {
    Declaration decl;
    if (!ParseDeclarationData(value, decl)) return false;
  }
  value_.assign(value);
  return true;
}

std::string Node::Text() const {
  if (type_ != NodeType::Element && type_ != NodeType::Document) return value_;
  std::string text;
  std::vector<const Node*> stack;
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) stack.push_back(it->get());
  while (!stack.empty()) {
    const Node* n = stack.back();
    stack.pop_back();
    if (n->type_ == NodeType::Text || n->type_ == NodeType::CData) text += n->value_;
    for (auto it = n->children_.rbegin(); it != n->children_.rend(); ++it) stack.push_back(it->get());
  }
  return text;
}

bool Node::SetText(std::string_view text) {
  if (type_ == NodeType::Document) return false;
  if (type_ != NodeType::Element) return SetNodeValue(text);
  NodePtr textNode = text.empty() ? NodePtr() : CreateTextNode(text);
  std::vector<NodePtr> old;
  old.swap(children_);
  for (NodePtr& c : old) {
    c->parent_ = nullptr;
    c->index_ = 0;
  }
  if (textNode) PlaceChild(std::move(textNode), 0);
  return true;
}

NodePtr Node::NextSibling() const {
  return parent_ && index_ + 1 < parent_->children_.size() ? parent_->children_[index_ + 1] : NodePtr();
}

NodePtr Node::PreviousSibling() const { return parent_ && index_ > 0 ? parent_->children_[index_ - 1] : NodePtr(); }

NodePtr Node::DocumentElement() const {
  if (type_ != NodeType::Document) return {};
  for (const NodePtr& c : children_) {
    if (c->IsElement()) return c;
  }
  return {};
}

bool Node::AcceptsChild(const Node& child) const {
  if (type_ != NodeType::Element && type_ != NodeType::Document) return false;
  if (child.type_ == NodeType::Document) return false;
  if (child.IsDeclaration() && type_ != NodeType::Document) return false;
  // Only a node with children can be an ancestor; new nodes are appended without a walk up.
  if (child.children_.empty()) return &child != this;
  for (const Node* a = this; a; a = a->parent_) {
    if (a == &child) return false;
  }
  return true;
}

// Whether the document's children would still form a document with `newChild` at `position`
// (counted without `newChild` and `leaving`): one root element at most, no text, and the
// declaration only in front.
bool Node::DocumentLayoutAllows(const Node* newChild, size_t position, const Node* leaving) const {
  std::vector<const Node*> kids;
  kids.reserve(children_.size() + 1);
  for (const NodePtr& c : children_) {
    if (c.get() != newChild && c.get() != leaving) kids.push_back(c.get());
  }
  kids.insert(kids.begin() + static_cast<std::ptrdiff_t>(std::min(position, kids.size())), newChild);
  size_t elements = 0;
  for (size_t i = 0; i < kids.size(); ++i) {
    const Node* k = kids[i];
    if (k->type_ == NodeType::Text || k->type_ == NodeType::CData) return false;
    if (k->IsDeclaration() && i != 0) return false;
    if (k->IsElement()) ++elements;
  }
  return elements <= 1;
}

void Node::Renumber(size_t from) {
  for (size_t i = from; i < children_.size(); ++i) children_[i]->index_ = i;
}

void Node::PlaceChild(NodePtr child, size_t position) {
  Node* raw = child.get();
  children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(position), std::move(child));
  raw->parent_ = this;
  Renumber(position);
}

// Takes the node out of its parent. The parent's reference moves into the result, so the node
// lives at least as long as the caller keeps that.
NodePtr Node::TakeFromParent() {
  Node* p = parent_;
  if (!p) return NodePtr(this);
  size_t i = index_;
  NodePtr held = std::move(p->children_[i]);
  p->children_.erase(p->children_.begin() + static_cast<std::ptrdiff_t>(i));
  p->Renumber(i);
  parent_ = nullptr;
  index_ = 0;
  return held;
}

bool Node::InsertBefore(const NodePtr& child, const Node* refChild) {
  if (!child || (refChild && refChild->parent_ != this)) return false;
  if (child.get() == refChild) return true;
  if (!AcceptsChild(*child)) return false;
  const bool ours = child->parent_ == this;
  size_t position = refChild ? refChild->index_ : children_.size();
  if (ours && child->index_ < position) --position;
  if (type_ == NodeType::Document && !DocumentLayoutAllows(child.get(), position, nullptr)) return false;
  NodePtr moving = child->TakeFromParent();
  PlaceChild(std::move(moving), position);
  return true;
}

NodePtr Node::RemoveChild(const Node* child) {
  if (!child || child->parent_ != this) return {};
  return children_[child->index_]->TakeFromParent();
}

NodePtr Node::ReplaceChild(const NodePtr& newChild, const Node* oldChild) {
  if (!newChild || !oldChild || oldChild->parent_ != this) return {};
  if (newChild.get() == oldChild) return newChild;
  if (!AcceptsChild(*newChild)) return {};
  const bool ours = newChild->parent_ == this;
  size_t position = oldChild->index_;
  if (ours && newChild->index_ < position) --position;
  if (type_ == NodeType::Document && !DocumentLayoutAllows(newChild.get(), position, oldChild)) return {};
  NodePtr moving = newChild->TakeFromParent();
  NodePtr old = children_[position]->TakeFromParent();
  PlaceChild(std::move(moving), position);
  return old;
}

NodePtr Node::CloneNode(bool deep) const {
  const auto shallow = [](const Node& src) {
    NodePtr copy = Make(src.type_, src.name_, src.value_);
    copy->attributes_ = src.attributes_;
    return copy;
  };
  NodePtr root = shallow(*this);
  if (!deep) return root;
  std::vector<std::pair<const Node*, Node*>> work{{this, root.get()}};
  while (!work.empty()) {
    auto [src, dst] = work.back();
    work.pop_back();
    dst->children_.reserve(src->children_.size());
    for (const NodePtr& c : src->children_) {
      NodePtr copy = shallow(*c);
      Node* raw = copy.get();
      dst->PlaceChild(std::move(copy), dst->children_.size());
      if (!c->children_.empty()) work.emplace_back(c.get(), raw);
    }
  }
  return root;
}

const Attribute* Node::GetNamedItem(std::string_view name) const {
  for (const Attribute& a : attributes_) {
    if (a.name == name) return &a;
  }
  return nullptr;
}

bool Node::SetAttribute(std::string_view name, std::string_view value) {
  if (type_ != NodeType::Element || !IsValidName(name)) return false;
  for (Attribute& a : attributes_) {
    if (a.name == name) {
      a.value.assign(value);
      return true;
    }
  }
  attributes_.push_back({std::string(name), std::string(value)});
  return true;
}

bool Node::RemoveAttribute(std::string_view name) {
  auto it = std::find_if(attributes_.begin(), attributes_.end(), [&](const Attribute& a) { return a.name == name; });
  if (it == attributes_.end()) return false;
  attributes_.erase(it);
  return true;
}

std::vector<NodePtr> Node::Select(std::string_view path) const {
  ParsedPath parsed;
  if (!ParsePath(path, parsed)) return {};
  std::vector<const Node*> current{this};
  size_t first = 0;
  if (parsed.absolute) {
    const Node* top = this;
    while (top->parent_) top = top->parent_;
    current.assign(1, top);
    if (!top->IsDocument()) {
      // A detached subtree: its top node stands where a document's root element would.
      if (parsed.steps.empty()) return {};
      std::string_view step = parsed.steps[0];
      if (!top->IsElement() || step == "." || step == ".." || (step != "*" && step != top->name_)) return {};
      first = 1;
    }
  }
  // Every step moves the whole set one level, so it stays in document order; a parent step only
  // has to drop neighbouring duplicates.
  for (size_t s = first; s < parsed.steps.size() && !current.empty(); ++s) {
    std::string_view step = parsed.steps[s];
    if (step == ".") continue;
    std::vector<const Node*> next;
    if (step == "..") {
      for (const Node* n : current) {
        if (n->parent_ && (next.empty() || next.back() != n->parent_)) next.push_back(n->parent_);
      }
    } else {
      const bool any = step == "*";
      for (const Node* n : current) {
        for (const NodePtr& c : n->children_) {
          if (c->IsElement() && (any || c->name_ == step)) next.push_back(c.get());
        }
      }
    }
    current.swap(next);
  }
  std::vector<NodePtr> result;
  result.reserve(current.size());
  for (const Node* n : current) result.emplace_back(const_cast<Node*>(n));
  return result;
}

NodePtr Node::SelectSingleNode(std::string_view path) const {
  std::vector<NodePtr> all = Select(path);
  return all.empty() ? NodePtr() : all.front();
}

NodeList Node::SelectNodes(std::string_view path) const { return NodeList(Select(path)); }

bool DeepEqual(const Node& a, const Node& b) {
  std::vector<std::pair<const Node*, const Node*>> work{{&a, &b}};
  while (!work.empty()) {
    auto [x, y] = work.back();
    work.pop_back();
    if (x->Type() != y->Type() || x->Name() != y->Name() || x->NodeValue() != y->NodeValue() ||
        x->ChildCount() != y->ChildCount() || x->Attributes().size() != y->Attributes().size()) {
      return false;
    }
    for (size_t i = 0; i < x->Attributes().size(); ++i) {
      if (x->Attributes()[i].name != y->Attributes()[i].name ||
          x->Attributes()[i].value != y->Attributes()[i].value) {
        return false;
      }
    }
    for (size_t i = 0; i < x->ChildCount(); ++i) work.emplace_back(x->ChildPtr(i), y->ChildPtr(i));
  }
  return true;
}

// ---- Reading ----

namespace {

struct DecodedText {
  std::string storage;    // the converted text, when the input was not UTF-8
  std::string_view text;  // UTF-8, byte-order mark removed
  Encoding encoding = Encoding::Utf8;
};

bool CheckUtf8(std::string_view s, std::string& error) {
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= 0x20 && c < 0x80) {
      ++i;
      continue;
    }
    char32_t cp;
    size_t len = Utf8SequenceAt(s, i, cp);
    if (len == 0) {
      error = "broken UTF-8";
      return false;
    }
    if (IsRestricted(cp)) {
      error = "a character XML does not allow";
      return false;
    }
    i += len;
  }
  return true;
}

bool ConvertUtf16(const unsigned char* p, size_t n, bool bigEndian, std::string& out, std::string& error) {
  if (n % 2 != 0) {
    error = "UTF-16 text of odd length";
    return false;
  }
  const auto unit = [&](size_t i) {
    return bigEndian ? static_cast<uint32_t>((p[i] << 8) | p[i + 1]) : static_cast<uint32_t>(p[i] | (p[i + 1] << 8));
  };
  // Written through a pointer into room for the worst case (three bytes per unit), as this runs
  // over every character of the program's own files.
  out.resize(n / 2 * 3);
  char* w = &out[0];
  const auto put = [&](uint32_t b) { *w++ = static_cast<char>(b); };
  for (size_t i = 0; i < n; i += 2) {
    uint32_t cp = unit(i);
    if (cp >= 0x20 && cp < 0x80) {
      put(cp);
      continue;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      uint32_t low = i + 3 < n ? unit(i + 2) : 0;
      if (low < 0xDC00 || low > 0xDFFF) {
        error = "unpaired UTF-16 surrogate";
        return false;
      }
      cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
      error = "unpaired UTF-16 surrogate";
      return false;
    }
    if (IsRestricted(cp)) {
      error = "a character XML does not allow";
      return false;
    }
    // Two units that made four bytes stay within the room reserved for them.
    w = PutUtf8(w, cp);
  }
  out.resize(static_cast<size_t>(w - out.data()));
  return true;
}

bool ConvertSingleByte(std::string_view in, Encoding enc, std::string& out, std::string& error) {
  out.reserve(in.size() + in.size() / 8);
  for (char ch : in) {
    const unsigned char b = static_cast<unsigned char>(ch);
    if (enc == Encoding::Ascii && b >= 0x80) {
      error = "a byte outside US-ASCII";
      return false;
    }
    uint32_t cp = enc == Encoding::Windows1252 ? Cp1252ToUnicode(b) : b;
    if (IsRestricted(cp)) {
      error = "a character XML does not allow";
      return false;
    }
    AppendUtf8(out, cp);
  }
  return true;
}

bool DecodeInput(const unsigned char* p, size_t n, DecodedText& out, std::string& error) {
  const auto mismatch = [&](bool ok) {
    if (!ok) error = "the declared encoding does not match the byte-order mark";
    return ok;
  };
  Encoding declared;
  if (n >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF) || (p[0] == 0x3C && p[1] == 0) ||
                 (p[0] == 0 && p[1] == 0x3C))) {
    const bool bom = p[0] == 0xFF || p[0] == 0xFE;
    const bool bigEndian = p[0] == 0xFE || p[0] == 0;
    out.encoding = bigEndian ? Encoding::Utf16BE : Encoding::Utf16LE;
    if (!ConvertUtf16(p + (bom ? 2 : 0), n - (bom ? 2 : 0), bigEndian, out.storage, error)) return false;
    out.text = out.storage;
    return mismatch(!PeekDeclaredEncoding(out.text, declared) || IsUtf16(declared));
  }
  std::string_view bytes(reinterpret_cast<const char*>(p), n);
  if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
    out.text = bytes.substr(3);
    if (!CheckUtf8(out.text, error)) return false;
    return mismatch(!PeekDeclaredEncoding(out.text, declared) || declared == Encoding::Utf8);
  }
  if (!PeekDeclaredEncoding(bytes, declared) || declared == Encoding::Utf8) {
    out.text = bytes;
    return CheckUtf8(out.text, error);
  }
  if (IsUtf16(declared)) {
    error = "UTF-16 declared for a file without a byte-order mark";
    return false;
  }
  out.encoding = declared;
  if (!ConvertSingleByte(bytes, declared, out.storage, error)) return false;
  out.text = out.storage;
  return true;
}

}  // namespace

// Builds the tree with an explicit stack of open elements, so nesting depth costs heap, not stack.
class Parser {
 public:
  Parser(std::string_view text, const ParseOptions& options) : s_(text), o_(options) {}

  NodePtr Run() {
    NodePtr doc = Node::Make(NodeType::Document, {}, {});
    open_.push_back(doc.get());
    if (StartsWith("<?xml") && s_.size() > 5 && (IsSpace(s_[5]) || s_[5] == '?') && !ParseDeclaration()) return {};
    while (true) {
      if (open_.size() == 1) {
        SkipSpace();
        if (AtEnd()) break;
        if (s_[pos_] != '<') return Fail("text outside the root element");
      } else if (AtEnd()) {
        return Fail("element not closed");
      }
      bool ok;
      if (s_[pos_] != '<') {
        ok = ParseCharData();
      } else if (StartsWith("</")) {
        ok = ParseEndTag();
      } else if (StartsWith("<!--")) {
        ok = ParseComment();
      } else if (StartsWith("<![CDATA[")) {
        ok = ParseCData();
      } else if (StartsWith("<?")) {
        ok = ParsePI();
      } else if (StartsWith("<!")) {
        ok = Refuse(StartsWith("<!DOCTYPE") ? "document type declarations are not supported" : "unknown markup");
      } else {
        ok = ParseStartTag();
      }
      if (!ok) return {};
    }
    if (!sawRoot_) return Fail("no root element");
    return doc;
  }

  const std::string& Error() const { return error_; }
  size_t ErrorLine() const {
    return 1 + static_cast<size_t>(std::count(s_.begin(), s_.begin() + static_cast<std::ptrdiff_t>(errorPos_), '\n'));
  }

 private:
  NodePtr Fail(const char* why) {
    if (error_.empty()) {
      error_ = why;
      errorPos_ = std::min(pos_, s_.size());
    }
    return {};
  }
  bool Refuse(const char* why) {
    Fail(why);
    return false;
  }

  bool AtEnd() const { return pos_ >= s_.size(); }
  bool StartsWith(std::string_view t) const { return s_.size() - pos_ >= t.size() && s_.compare(pos_, t.size(), t) == 0; }
  bool SkipSpace() {
    size_t start = pos_;
    while (pos_ < s_.size() && IsSpace(s_[pos_])) ++pos_;
    return pos_ != start;
  }

  bool ParseName(std::string_view& name) {
    size_t start = pos_;
    if (AtEnd() || !IsNameStartByte(static_cast<unsigned char>(s_[pos_]))) return Refuse("a name was expected");
    while (pos_ < s_.size() && IsNameByte(static_cast<unsigned char>(s_[pos_]))) ++pos_;
    if (pos_ - start > o_.maxNameBytes) return Refuse("name too long");
    name = s_.substr(start, pos_ - start);
    return true;
  }

  bool CheckSize(size_t size) { return size <= o_.maxValueBytes || Refuse("value too long"); }

  // At '&': an entity or character reference, appended to `out`.
  bool ParseReference(std::string& out) {
    ++pos_;
    if (!AtEnd() && s_[pos_] == '#') {
      ++pos_;
      const bool hex = !AtEnd() && s_[pos_] == 'x';
      if (hex) ++pos_;
      uint32_t cp = 0;
      size_t digits = 0;
      while (!AtEnd() && s_[pos_] != ';') {
        char c = s_[pos_];
        uint32_t d;
        if (c >= '0' && c <= '9') {
          d = static_cast<uint32_t>(c - '0');
        } else if (hex && c >= 'a' && c <= 'f') {
          d = static_cast<uint32_t>(c - 'a' + 10);
        } else if (hex && c >= 'A' && c <= 'F') {
          d = static_cast<uint32_t>(c - 'A' + 10);
        } else {
          return Refuse("bad character reference");
        }
        cp = cp * (hex ? 16 : 10) + d;
        if (cp > 0x10FFFF) return Refuse("character reference out of range");
        ++digits;
        ++pos_;
      }
      if (AtEnd() || digits == 0) return Refuse("bad character reference");
      ++pos_;
      // Controls are let through as references (the writer writes them so); NUL and surrogates
      // are no characters at all.
      if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) return Refuse("character reference out of range");
      AppendUtf8(out, cp);
      return true;
    }
    size_t semi = s_.find(';', pos_);
    if (semi == std::string_view::npos || semi - pos_ > 8) return Refuse("bad entity reference");
    std::string_view name = s_.substr(pos_, semi - pos_);
    char c;
    if (name == "lt") {
      c = '<';
    } else if (name == "gt") {
      c = '>';
    } else if (name == "amp") {
      c = '&';
    } else if (name == "quot") {
      c = '"';
    } else if (name == "apos") {
      c = '\'';
    } else {
      return Refuse("unknown entity");
    }
    out += c;
    pos_ = semi + 1;
    return true;
  }

  bool AddNode(NodePtr node) {
    if (++nodeCount_ > o_.maxNodes) return Refuse("too many nodes");
    Node* parent = open_.back();
    node->parent_ = parent;
    node->index_ = parent->children_.size();
    parent->children_.push_back(std::move(node));
    return true;
  }

  bool ParseDeclaration() {
    size_t end = s_.find("?>", 5);
    if (end == std::string_view::npos) return Refuse("XML declaration not closed");
    size_t start = 5;
    while (start < end && IsSpace(s_[start])) ++start;
    std::string data = NormalizeNewlines(s_.substr(start, end - start));
    Declaration decl;
    if (!ParseDeclarationData(data, decl)) return Refuse("bad XML declaration");
    pos_ = end + 2;
    return AddNode(Node::Make(NodeType::ProcessingInstruction, "xml", data));
  }

  bool ParseStartTag() {
    ++pos_;
    std::string_view name;
    if (!ParseName(name)) return false;
    if (open_.size() == 1 && sawRoot_) return Refuse("a second root element");
    NodePtr element = Node::Make(NodeType::Element, name, {});
    std::vector<std::string_view>& names = attrNames_;
    std::unordered_set<std::string_view>& nameSet = attrSet_;
    names.clear();
    nameSet.clear();
    bool empty = false;
    while (true) {
      const bool spaced = SkipSpace();
      if (AtEnd()) return Refuse("start tag not closed");
      if (s_[pos_] == '>') {
        ++pos_;
        break;
      }
      if (s_[pos_] == '/') {
        if (!StartsWith("/>")) return Refuse("'>' expected");
        pos_ += 2;
        empty = true;
        break;
      }
      if (!spaced) return Refuse("space expected before an attribute");
      std::string_view attrName;
      if (!ParseName(attrName)) return false;
      SkipSpace();
      if (AtEnd() || s_[pos_] != '=') return Refuse("'=' expected");
      ++pos_;
      SkipSpace();
      std::string value;
      if (!ParseAttributeValue(value)) return false;
      if (names.size() >= o_.maxAttributes) return Refuse("too many attributes");
      // Small elements compare names directly; a hash set keeps huge ones linear.
      bool duplicate;
      if (names.size() < 16) {
        duplicate = std::find(names.begin(), names.end(), attrName) != names.end();
      } else {
        if (nameSet.empty()) nameSet.insert(names.begin(), names.end());
        duplicate = !nameSet.insert(attrName).second;
      }
      if (duplicate) return Refuse("attribute given twice");
      names.push_back(attrName);
      element->attributes_.push_back({std::string(attrName), std::move(value)});
    }
    Node* raw = element.get();
    const bool atTop = open_.size() == 1;
    if (!AddNode(std::move(element))) return false;
    if (atTop) sawRoot_ = true;
    if (!empty) {
      if (open_.size() > o_.maxDepth) return Refuse("elements nested too deeply");
      open_.push_back(raw);
    }
    return true;
  }

  bool ParseAttributeValue(std::string& out) {
    if (AtEnd() || (s_[pos_] != '"' && s_[pos_] != '\'')) return Refuse("quoted attribute value expected");
    const char quote = s_[pos_++];
    while (true) {
      if (AtEnd()) return Refuse("attribute value not closed");
      const char c = s_[pos_];
      if (c == quote) {
        ++pos_;
        return true;
      }
      if (c == '<') return Refuse("'<' in an attribute value");
      if (c == '&') {
        if (!ParseReference(out)) return false;
      } else if (c == '\r' || c == '\n' || c == '\t') {
        // Literal white space in a value reads as a space; the writer uses references instead.
        out += ' ';
        ++pos_;
        if (c == '\r' && !AtEnd() && s_[pos_] == '\n') ++pos_;
      } else {
        size_t start = pos_;
        while (pos_ < s_.size() && s_[pos_] != quote && s_[pos_] != '<' && s_[pos_] != '&' && s_[pos_] != '\r' &&
               s_[pos_] != '\n' && s_[pos_] != '\t') {
          ++pos_;
        }
        out.append(s_.data() + start, pos_ - start);
      }
      if (!CheckSize(out.size())) return false;
    }
  }

  bool ParseEndTag() {
    pos_ += 2;
    std::string_view name;
    if (!ParseName(name)) return false;
    SkipSpace();
    if (AtEnd() || s_[pos_] != '>') return Refuse("'>' expected");
    if (open_.size() == 1) return Refuse("end tag without start tag");
    if (open_.back()->name_ != name) return Refuse("end tag does not match start tag");
    ++pos_;
    open_.pop_back();
    return true;
  }

  bool ParseCharData() {
    std::string& text = scratch_;
    text.clear();
    while (!AtEnd()) {
      const char c = s_[pos_];
      if (c == '<') break;
      if (c == '&') {
        if (!ParseReference(text)) return false;
      } else if (c == '\r') {
        text += '\n';
        ++pos_;
        if (!AtEnd() && s_[pos_] == '\n') ++pos_;
      } else if (c == ']') {
        if (StartsWith("]]>")) return Refuse("']]>' in text");
        text += c;
        ++pos_;
      } else {
        size_t start = pos_;
        while (pos_ < s_.size() && s_[pos_] != '<' && s_[pos_] != '&' && s_[pos_] != '\r' && s_[pos_] != ']') ++pos_;
        text.append(s_.data() + start, pos_ - start);
      }
      if (!CheckSize(text.size())) return false;
    }
    if (!o_.preserveWhitespace && std::all_of(text.begin(), text.end(), IsSpace)) return true;
    return AddNode(Node::Make(NodeType::Text, {}, text));
  }

  // The content up to `terminator`, with line ends normalised; pos_ moves past the terminator.
  bool TakeUntil(std::string_view terminator, const char* unclosed, std::string& content) {
    size_t end = s_.find(terminator, pos_);
    if (end == std::string_view::npos) return Refuse(unclosed);
    if (!CheckSize(end - pos_)) return false;
    content = NormalizeNewlines(s_.substr(pos_, end - pos_));
    pos_ = end + terminator.size();
    return true;
  }

  bool ParseComment() {
    pos_ += 4;
    size_t dashes = s_.find("--", pos_);
    if (dashes == std::string_view::npos) return Refuse("comment not closed");
    if (dashes + 2 >= s_.size() || s_[dashes + 2] != '>') return Refuse("'--' inside a comment");
    std::string content;
    if (!TakeUntil("-->", "comment not closed", content)) return false;
    return AddNode(Node::Make(NodeType::Comment, {}, content));
  }

  bool ParseCData() {
    if (open_.size() == 1) return Refuse("CDATA outside the root element");
    pos_ += 9;
    std::string content;
    if (!TakeUntil("]]>", "CDATA section not closed", content)) return false;
    return AddNode(Node::Make(NodeType::CData, {}, content));
  }

  bool ParsePI() {
    pos_ += 2;
    std::string_view target;
    if (!ParseName(target)) return false;
    if (EqualsNoCase(target, "xml")) return Refuse("XML declaration not at the start");
    std::string data;
    if (StartsWith("?>")) {
      pos_ += 2;
    } else {
      if (!SkipSpace()) return Refuse("space expected after the target");
      if (!TakeUntil("?>", "processing instruction not closed", data)) return false;
    }
    return AddNode(Node::Make(NodeType::ProcessingInstruction, target, data));
  }

  std::string_view s_;
  const ParseOptions& o_;
  size_t pos_ = 0;
  std::vector<Node*> open_;  // open_[0] is the document
  size_t nodeCount_ = 0;
  bool sawRoot_ = false;
  std::string error_;
  size_t errorPos_ = 0;
  std::string scratch_;
  std::vector<std::string_view> attrNames_;       // of the start tag being read
  std::unordered_set<std::string_view> attrSet_;  // the same, once there are many
};

ParseResult Parse(const void* data, size_t size, const ParseOptions& options) {
  ParseResult result;
  if (size > options.maxInputBytes) {
    result.error = "input too large";
    return result;
  }
  try {
    DecodedText decoded;
    if (!DecodeInput(static_cast<const unsigned char*>(data), size, decoded, result.error)) return result;
    result.encoding = decoded.encoding;
    Parser parser(decoded.text, options);
    result.document = parser.Run();
    if (!result.document) {
      result.error = parser.Error();
      result.line = parser.ErrorLine();
    }
  } catch (const std::bad_alloc&) {
    result.document.reset();
    result.error = "out of memory";
  }
  return result;
}

// ---- Writing ----

Encoding DocumentEncoding(const Node& document) {
  Encoding enc = Encoding::Utf16LE;
  if (document.IsDocument() && document.ChildCount() > 0 && document.ChildPtr(0)->IsDeclaration()) {
    Declaration decl;
    if (ParseDeclarationData(document.ChildPtr(0)->NodeValue(), decl) && !decl.encoding.empty()) {
      EncodingFromName(decl.encoding, enc);
    }
  }
  return enc;
}

namespace {

// Produces UTF-8 markup in which every character is one the target encoding has: text and
// attribute values fall back to character references, anything else that does not fit fails.
class Writer {
 public:
  explicit Writer(Encoding target) : target_(target) {}

  bool Write(const Node& root, std::string& out) {
    out_ = &out;
    struct Frame {
      const Node* node;
      size_t next;
    };
    std::vector<Frame> stack;
    bool open = false;
    if (!Open(root, open)) return false;
    if (open) stack.push_back({&root, 0});
    while (!stack.empty()) {
      Frame& top = stack.back();
      const bool inDocument = top.node->IsDocument();
      if (top.next < top.node->ChildCount()) {
        const Node& child = *top.node->ChildPtr(top.next++);
        if (!Open(child, open)) return false;
        if (open) {
          stack.push_back({&child, 0});
        } else if (inDocument) {
          out += "\r\n";
        }
        continue;
      }
      const Node* done = top.node;
      stack.pop_back();
      if (done->IsElement()) {
        out += "</";
        out += done->Name();
        out += '>';
        if (!stack.empty() && stack.back().node->IsDocument()) out += "\r\n";
      }
    }
    return true;
  }

 private:
  // Writes the node's start (or all of it, when it has no children to follow); `open` tells
  // whether its children and end come next.
  bool Open(const Node& n, bool& open) {
    open = false;
    std::string& out = *out_;
    switch (n.Type()) {
      case NodeType::Document:
        open = n.HasChildNodes();
        return true;
      case NodeType::Element:
        out += '<';
        if (!Raw(n.Name())) return false;
        for (const Attribute& a : n.Attributes()) {
          out += ' ';
          if (!Raw(a.name)) return false;
          out += "=\"";
          Escaped(a.value, true);
          out += '"';
        }
        open = n.HasChildNodes();
        out += open ? ">" : "/>";
        return true;
      case NodeType::Text:
        Escaped(n.NodeValue(), false);
        return true;
      case NodeType::CData:
        if (n.NodeValue().find("]]>") != std::string::npos) return false;
        out += "<![CDATA[";
        if (!Raw(n.NodeValue())) return false;
        out += "]]>";
        return true;
      case NodeType::Comment: {
        const std::string& v = n.NodeValue();
        if (v.find("--") != std::string::npos || (!v.empty() && v.back() == '-')) return false;
        out += "<!--";
        if (!Raw(v)) return false;
        out += "-->";
        return true;
      }
      case NodeType::ProcessingInstruction:
        if (n.NodeValue().find("?>") != std::string::npos) return false;
        out += "<?";
        if (!Raw(n.Name())) return false;
        if (!n.NodeValue().empty()) {
          out += ' ';
          if (!Raw(n.NodeValue())) return false;
        }
        out += "?>";
        return true;
    }
    return false;
  }

  void Reference(uint32_t cp) {
    *out_ += "&#";
    *out_ += std::to_string(cp);
    *out_ += ';';
  }

  void Escaped(std::string_view s, bool attribute) {
    std::string& out = *out_;
    for (size_t i = 0; i < s.size();) {
      const unsigned char c = static_cast<unsigned char>(s[i]);
      if (c >= 0x80) {
        size_t start = i;
        uint32_t cp = NextCodePoint(s, i);
        if (IsRestricted(cp) || !Representable(target_, cp)) {
          Reference(cp);
        } else if (cp == kReplacement) {
          AppendUtf8(out, cp);
        } else {
          out.append(s.data() + start, i - start);
        }
        continue;
      }
      ++i;
      switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"':
          if (attribute) {
            out += "&quot;";
          } else {
            out += '"';
          }
          break;
        case '\r': out += "&#13;"; break;
        case '\n':
        case '\t':
          if (attribute) {
            Reference(c);
          } else {
            out += static_cast<char>(c);
          }
          break;
        case 0:
          // No reference can carry NUL.
          if (Representable(target_, kReplacement)) {
            AppendUtf8(out, kReplacement);
          } else {
            Reference(kReplacement);
          }
          break;
        default:
          if (c < 0x20) {
            Reference(c);
          } else {
            out += static_cast<char>(c);
          }
      }
    }
  }

  // Markup and character data outside text, where no reference can stand in.
  bool Raw(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
      uint32_t cp = NextCodePoint(s, i);
      if (IsRestricted(cp) || cp == 0 || !Representable(target_, cp)) return false;
      AppendUtf8(*out_, cp);
    }
    return true;
  }

  Encoding target_;
  std::string* out_ = nullptr;
};

void EncodeUtf16(std::string_view utf8, bool bigEndian, std::string& bytes) {
  const std::u16string units = unicode::Utf16FromUtf8<char16_t>(utf8);
  bytes.resize(2 * units.size() + 2);
  char* w = &bytes[0];
  const auto unit = [&](char16_t u) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    *w++ = bigEndian ? hi : lo;
    *w++ = bigEndian ? lo : hi;
  };
  unit(0xFEFF);
  for (char16_t u : units) unit(u);
}

}  // namespace

bool Serialize(const Node& node, std::string& utf8) {
  utf8.clear();
  try {
    return Writer(Encoding::Utf8).Write(node, utf8);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool SerializeDocument(const Node& document, std::string& bytes) {
  return SerializeDocument(document, DocumentEncoding(document), bytes);
}

bool SerializeDocument(const Node& document, Encoding encoding, std::string& bytes) {
  bytes.clear();
  if (!document.IsDocument()) return false;
  try {
    std::string utf8;
    if (!Writer(encoding).Write(document, utf8)) return false;
    switch (encoding) {
      case Encoding::Utf8:
        bytes = std::move(utf8);
        break;
      case Encoding::Utf16LE:
      case Encoding::Utf16BE:
        EncodeUtf16(utf8, encoding == Encoding::Utf16BE, bytes);
        break;
      default:
        // The writer let through only characters the encoding has.
        bytes.reserve(utf8.size());
        for (size_t i = 0; i < utf8.size();) {
          uint32_t cp = NextCodePoint(utf8, i);
          bytes += static_cast<char>(encoding == Encoding::Windows1252 ? UnicodeToCp1252(cp) : static_cast<int>(cp));
        }
    }
    return true;
  } catch (const std::bad_alloc&) {
    bytes.clear();
    return false;
  }
}

}  // namespace xml
