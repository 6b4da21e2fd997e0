#include "rtl/published_win.h"

#include <array>
#include <charconv>

#include "rtl/graphics_win.h"
#include "rtl/rich_edit_win.h"

namespace rtl {
namespace {

constexpr char kHeader[] = "WTarn component 1";

[[noreturn]] void BadValue(const String& text) { throw EReadError(u"Invalid property value: " + text); }

long long ParseInt(const String& text) {
  const std::string s = ToUtf8(text);
  long long value = 0;
  auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || error != std::errc() || end != s.data() + s.size()) BadValue(text);
  return value;
}

int ParseInt32(const String& text) {
  const long long value = ParseInt(text);
  // Colours and bit sets are written unsigned.
  if (value < INT32_MIN || value > UINT32_MAX) BadValue(text);
  return static_cast<int>(static_cast<uint32_t>(value));
}

String BoolText(bool value) { return value ? u"True" : u"False"; }

bool ParseBool(const String& text) {
  if (text != u"True" && text != u"False") BadValue(text);
  return text == u"True";
}

// An enumeration stored by the names of its values, in the order of the values.
template <typename E, size_t N>
PublishedProperty EnumProperty(const String& name, const std::array<const char16_t*, N>& names,
                               std::function<E(const TComponent&)> get, std::function<void(TComponent&, E)> set) {
  return {name, [=](const TComponent& c) { return String(names[static_cast<size_t>(get(c))]); },
          [=](TComponent& c, const String& text) {
            for (size_t i = 0; i < N; ++i)
              if (text == names[i]) return set(c, static_cast<E>(i));
            BadValue(text);
          }};
}

String HexBytes(const std::string& bytes) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  String text;
  for (unsigned char b : bytes) text += {kHex[b >> 4], kHex[b & 15]};
  return text;
}

std::string BytesOfHex(const String& text) {
  std::string bytes;
  if (text.size() % 2) BadValue(text);
  for (size_t i = 0; i < text.size(); i += 2) {
    const std::string pair = ToUtf8(text.substr(i, 2));
    unsigned value = 0;
    auto [end, error] = std::from_chars(pair.data(), pair.data() + pair.size(), value, 16);
    if (error != std::errc() || end != pair.data() + pair.size()) BadValue(text);
    bytes += static_cast<char>(value);
  }
  return bytes;
}

String Escape(const String& value) {
  String text;
  for (char16_t c : value) {
    if (c == u'\\') text += u"\\\\";
    else if (c == u'\r') text += u"\\r";
    else if (c == u'\n') text += u"\\n";
    else text += c;
  }
  return text;
}

String Unescape(const String& text) {
  String value;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\\') {
      value += text[i];
      continue;
    }
    const char16_t next = ++i < text.size() ? text[i] : u'?';
    if (next == u'\\') value += u'\\';
    else if (next == u'r') value += u'\r';
    else if (next == u'n') value += u'\n';
    else BadValue(text);
  }
  return value;
}

template <typename T>
const T& As(const TComponent& c) { return static_cast<const T&>(c); }
template <typename T>
T& As(TComponent& c) { return static_cast<T&>(c); }

template <typename T>
std::function<bool(const TComponent&)> InstanceOf() {
  return [](const TComponent& c) { return dynamic_cast<const T*>(&c) != nullptr; };
}

void SetBoundsPart(TComponent& c, const String& text, LONG RECT::*part) {
  auto& control = As<TWinControl>(c);
  RECT r{control.Left(), control.Top(), control.Width(), control.Height()};  // left, top, width, height
  r.*part = ParseInt32(text);
  control.SetBounds(r.left, r.top, r.right, r.bottom);
}

std::vector<PublishedProperty> ControlProperties() {
  auto font = [](TComponent& c, auto change) {
    TFont f = As<TWinControl>(c).Font();
    change(f);
    As<TWinControl>(c).SetFont(f);
  };
  return {
      {u"Left", [](const TComponent& c) { return IntToStr(As<TWinControl>(c).Left()); },
       [](TComponent& c, const String& v) { SetBoundsPart(c, v, &RECT::left); }},
      {u"Top", [](const TComponent& c) { return IntToStr(As<TWinControl>(c).Top()); },
       [](TComponent& c, const String& v) { SetBoundsPart(c, v, &RECT::top); }},
      {u"Width", [](const TComponent& c) { return IntToStr(As<TWinControl>(c).Width()); },
       [](TComponent& c, const String& v) { SetBoundsPart(c, v, &RECT::right); }},
      {u"Height", [](const TComponent& c) { return IntToStr(As<TWinControl>(c).Height()); },
       [](TComponent& c, const String& v) { SetBoundsPart(c, v, &RECT::bottom); }},
      {u"Visible", [](const TComponent& c) { return BoolText(As<TWinControl>(c).Visible()); },
       [](TComponent& c, const String& v) { As<TWinControl>(c).SetVisible(ParseBool(v)); }},
      {u"Enabled", [](const TComponent& c) { return BoolText(As<TWinControl>(c).Enabled()); },
       [](TComponent& c, const String& v) { As<TWinControl>(c).SetEnabled(ParseBool(v)); }},
      {u"Caption", [](const TComponent& c) { return As<TWinControl>(c).Caption(); },
       [](TComponent& c, const String& v) { As<TWinControl>(c).SetCaption(v); }},
      {u"Hint", [](const TComponent& c) { return As<TWinControl>(c).Hint; },
       [](TComponent& c, const String& v) { As<TWinControl>(c).Hint = v; }},
      {u"Color", [](const TComponent& c) { return IntToStr(As<TWinControl>(c).Color()); },
       [](TComponent& c, const String& v) { As<TWinControl>(c).SetColor(static_cast<TColor>(ParseInt32(v))); }},
      {u"ParentBackground", [](const TComponent& c) { return BoolText(As<TWinControl>(c).ParentBackground()); },
       [](TComponent& c, const String& v) { As<TWinControl>(c).SetParentBackground(ParseBool(v)); }},
      {u"StyleElements", [](const TComponent& c) { return IntToStr(As<TWinControl>(c).StyleElements); },
       [](TComponent& c, const String& v) { As<TWinControl>(c).StyleElements = static_cast<unsigned>(ParseInt32(v)); }},
      {u"Font.Name", [](const TComponent& c) { return As<TWinControl>(c).Font().Name; },
       [=](TComponent& c, const String& v) { font(c, [&](TFont& f) { f.Name = v; }); }},
      {u"Font.Height", [](const TComponent& c) { return IntToStr(As<TWinControl>(c).Font().Height); },
       [=](TComponent& c, const String& v) { font(c, [&](TFont& f) { f.Height = ParseInt32(v); }); }},
      {u"Font.Color", [](const TComponent& c) { return IntToStr(As<TWinControl>(c).Font().Color); },
       [=](TComponent& c, const String& v) { font(c, [&](TFont& f) { f.Color = static_cast<TColor>(ParseInt32(v)); }); }},
      {u"Font.Style", [](const TComponent& c) { return IntToStr(As<TWinControl>(c).Font().Style); },
       [=](TComponent& c, const String& v) { font(c, [&](TFont& f) { f.Style = static_cast<unsigned>(ParseInt32(v)); }); }},
  };
}

struct PublishedClass {
  String name;
  std::function<bool(const TComponent&)> is_instance;
  std::vector<PublishedProperty> properties;
};

std::vector<PublishedClass>& Registry() {
  static std::vector<PublishedClass> classes = {
      {u"TComponent", [](const TComponent&) { return true; },
       {{u"Tag", [](const TComponent& c) { return IntToStr(c.Tag); },
         [](TComponent& c, const String& v) { c.Tag = static_cast<intptr_t>(ParseInt32(v)); }}}},
      {u"TWinControl", InstanceOf<TWinControl>(), ControlProperties()},
      {u"TPanel", InstanceOf<TPanel>(),
       {EnumProperty<TBevelCut>(u"BevelOuter", std::array{u"bvNone", u"bvRaised"},
                                [](const TComponent& c) { return As<TPanel>(c).BevelOuter(); },
                                [](TComponent& c, TBevelCut b) { As<TPanel>(c).SetBevelOuter(b); })}},
      {u"TTimer", InstanceOf<TTimer>(),
       {{u"Enabled", [](const TComponent& c) { return BoolText(As<TTimer>(c).Enabled()); },
         [](TComponent& c, const String& v) { As<TTimer>(c).SetEnabled(ParseBool(v)); }},
        {u"Interval", [](const TComponent& c) { return IntToStr(As<TTimer>(c).Interval()); },
         [](TComponent& c, const String& v) { As<TTimer>(c).SetInterval(static_cast<unsigned>(ParseInt32(v))); }}}},
      {u"TImage", InstanceOf<TImage>(),
       {{u"Picture",
         [](const TComponent& c) {
           MemoryStream bytes;
           As<TImage>(c).Picture().SaveToStream(bytes);
           return HexBytes(bytes.Bytes());
         },
         [](TComponent& c, const String& v) {
           MemoryStream bytes(BytesOfHex(v));
           TPicture& picture = As<TImage>(c).Picture();
           if (bytes.Size() == 0) picture = TPicture();
           else picture.LoadFromStream(bytes);
         }}}},
      {u"TRichEdit", InstanceOf<TRichEdit>(),
       {{u"PlainText", [](const TComponent& c) { return BoolText(As<TRichEdit>(c).PlainText); },
         [](TComponent& c, const String& v) { As<TRichEdit>(c).PlainText = ParseBool(v); }}}},
  };
  return classes;
}

// The properties of the component's registered classes, bases first, in registration order.
std::vector<const PublishedProperty*> PropertiesOf(const TComponent& component) {
  std::vector<const PublishedProperty*> properties;
  for (const PublishedClass& cls : Registry())
    if (cls.is_instance(component))
      for (const PublishedProperty& p : cls.properties) properties.push_back(&p);
  return properties;
}

}  // namespace

void RegisterPublishedClass(const String& ClassName, std::function<bool(const TComponent&)> IsInstance,
                            std::vector<PublishedProperty> Properties) {
  Registry().push_back({ClassName, std::move(IsInstance), std::move(Properties)});
}

String PublishedClassName(const TComponent& Component) {
  String name;
  for (const PublishedClass& cls : Registry())
    if (cls.is_instance(Component)) name = cls.name;
  return name;
}

void WriteComponent(const TComponent& Component, Stream& AStream) {
  String text = FromUtf8(kHeader) + u"\r\nclass " + PublishedClassName(Component) + u"\r\n";
  for (const PublishedProperty* p : PropertiesOf(Component)) text += p->Name + u'=' + Escape(p->Get(Component)) + u"\r\n";
  const std::string bytes = ToUtf8(text);
  AStream.WriteBuffer(bytes.data(), bytes.size());
}

void ReadComponent(TComponent& Component, Stream& AStream) {
  const String text = FromUtf8(AStream.ReadToEnd());
  std::vector<String> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(u'\n', start);
    if (end == String::npos) end = text.size();
    String line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  if (lines.size() < 2 || lines[0] != FromUtf8(kHeader)) throw EReadError(u"Invalid stream format");
  if (lines[1] != u"class " + PublishedClassName(Component))
    throw EReadError(u"The stream holds a " + lines[1].substr(std::min<size_t>(6, lines[1].size())) + u", not a " +
                     PublishedClassName(Component));
  const std::vector<const PublishedProperty*> properties = PropertiesOf(Component);
  for (size_t i = 2; i < lines.size(); ++i) {
    const size_t eq = lines[i].find(u'=');
    const String name = lines[i].substr(0, eq);
    const PublishedProperty* property = nullptr;
    for (const PublishedProperty* p : properties)
      if (p->Name == name) property = p;  // the most derived class's property of that name
    if (eq == String::npos || !property) throw EReadError(u"Property " + name + u" does not exist");
    property->Set(Component, Unescape(lines[i].substr(eq + 1)));
  }
}

}  // namespace rtl
