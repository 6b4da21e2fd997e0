// Registry in the native build: one in-memory tree per root key, shared by the process,
// empty at start. Names compare ignoring case (code page 1252 rules). A key deleted while
// another Registry object has it open leaves that object's current key dangling; tests do not.
#include <map>
#include <memory>

#include "rtl/platform.h"
#include "rtl/registry.h"

namespace rtl {
namespace {

struct Value {
  String name;
  RegDataType type = RegDataType::Unknown;
  String text;
  int number = 0;
};

struct Node {
  String name;
  std::map<String, std::unique_ptr<Node>> children;  // by lower-cased name
  std::map<String, Value> values;                    // by lower-cased name
};

std::map<RootKey, Node>& Roots() {
  static std::map<RootKey, Node> roots;
  return roots;
}

Node* Cur(void* p) { return static_cast<Node*>(p); }

bool IsRelative(const String& key) { return key.empty() || key[0] != u'\\'; }

// Walks (and with create, makes) the path below base; null when a part is missing.
Node* Walk(Node* base, const String& path, bool create) {
  Node* n = base;
  size_t i = 0;
  while (n && i <= path.size()) {
    size_t j = path.find(u'\\', i);
    if (j == String::npos) j = path.size();
    String part = path.substr(i, j - i);
    i = j + 1;
    if (part.empty()) continue;
    String lower = AnsiLowerCase(part);
    auto it = n->children.find(lower);
    if (it == n->children.end()) {
      if (!create) return nullptr;
      auto child = std::make_unique<Node>();
      child->name = part;
      it = n->children.emplace(lower, std::move(child)).first;
    }
    n = it->second.get();
  }
  return n;
}

[[noreturn]] void Raise(const char16_t* head, const String& name) {
  throw ERegistryException(String(head) + u"'" + name + u"'");
}

Value* Find(void* current, const String& name) {
  if (!current) return nullptr;
  auto it = Cur(current)->values.find(AnsiLowerCase(name));
  return it == Cur(current)->values.end() ? nullptr : &it->second;
}

}  // namespace

Registry::Registry(uint32_t access) : root_(HKEY_CURRENT_USER), access_(access) {}

Registry::~Registry() { CloseKey(); }

void Registry::SetRootKey(RootKey root) {
  if (root_ == root) return;
  CloseKey();
  root_ = root;
}

void Registry::CloseKey() {
  current_ = nullptr;
  current_path_.clear();
}

bool Registry::OpenKey(const String& key, bool can_create) {
  bool relative = IsRelative(key) && current_;
  Node* n = Walk(relative ? Cur(current_) : &Roots()[root_], key, can_create);
  if (!n) return false;
  String s = IsRelative(key) ? key : key.substr(1);
  current_path_ = relative ? current_path_ + u"\\" + s : s;
  current_ = n;
  return true;
}

bool Registry::OpenKeyReadOnly(const String& key) {
  if (!OpenKey(key, false)) return false;
  access_ = kKeyRead | (access_ & (kKeyWow64_32Key | kKeyWow64_64Key));
  return true;
}

bool Registry::KeyExists(const String& key) {
  return Walk(IsRelative(key) && current_ ? Cur(current_) : &Roots()[root_], key, false) != nullptr;
}

bool Registry::CreateKey(const String& key) {
  return Walk(IsRelative(key) && current_ ? Cur(current_) : &Roots()[root_], key, true) != nullptr;
}

bool Registry::DeleteKey(const String& key) {
  Node* base = IsRelative(key) && current_ ? Cur(current_) : &Roots()[root_];
  String s = IsRelative(key) ? key : key.substr(1);
  while (!s.empty() && s.back() == u'\\') s.pop_back();
  size_t cut = s.rfind(u'\\');
  Node* parent = cut == String::npos ? base : Walk(base, s.substr(0, cut), false);
  String last = cut == String::npos ? s : s.substr(cut + 1);
  if (!parent || last.empty()) return false;
  return parent->children.erase(AnsiLowerCase(last)) > 0;
}

bool Registry::ValueExists(const String& name) { return Find(current_, name) != nullptr; }

bool Registry::DeleteValue(const String& name) {
  return current_ && Cur(current_)->values.erase(AnsiLowerCase(name)) > 0;
}

RegDataType Registry::GetDataType(const String& name) {
  Value* v = Find(current_, name);
  return v ? v->type : RegDataType::Unknown;
}

String Registry::ReadString(const String& name) {
  Value* v = Find(current_, name);
  if (!v) return String();
  if (v->type != RegDataType::String && v->type != RegDataType::ExpandString) Raise(u"Invalid data type for ", name);
  return v->text;
}

namespace {
void Put(void* current, const String& name, RegDataType type, const String& text, int number) {
  if (!current) Raise(u"Failed to set data for ", name);
  Value& v = Cur(current)->values[AnsiLowerCase(name)];
  v = Value{name, type, text, number};
}
}  // namespace

void Registry::WriteString(const String& name, const String& value) {
  Put(current_, name, RegDataType::String, value, 0);
}

void Registry::WriteExpandString(const String& name, const String& value) {
  Put(current_, name, RegDataType::ExpandString, value, 0);
}

int Registry::ReadInteger(const String& name) {
  Value* v = Find(current_, name);
  if (!v) Raise(u"Failed to get data for ", name);
  if (v->type != RegDataType::Integer) Raise(u"Invalid data type for ", name);
  return v->number;
}

void Registry::WriteInteger(const String& name, int value) {
  Put(current_, name, RegDataType::Integer, String(), value);
}

void Registry::GetKeyNames(StringList& names) {
  names.BeginUpdate();
  names.Clear();
  if (current_)
    for (auto& [lower, child] : Cur(current_)->children) names.Add(child->name);
  names.EndUpdate();
}

void Registry::GetValueNames(StringList& names) {
  names.BeginUpdate();
  names.Clear();
  if (current_)
    for (auto& [lower, v] : Cur(current_)->values) names.Add(v.name);
  names.EndUpdate();
}

}  // namespace rtl
