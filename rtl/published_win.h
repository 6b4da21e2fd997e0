// Published properties of the runtime's visual classes, and component files built on them.
// The properties are described here, from outside the classes, with text accessors; the
// classes themselves know nothing of streaming. Windows only.
//
// A component file is UTF-8 text: a header line, the class name, then one line per
// property, "Name=Value", with "\" escaping backslashes, CR and LF in the value.
//   WTarn component 1
//   class TPanel
//   Tag=0
//   Caption=Zeile 1\r\nZeile 2
#pragma once

#ifdef _WIN32
#include <functional>
#include <vector>

#include "rtl/controls_win.h"
#include "rtl/stream.h"

namespace rtl {

// One published property: its name and how to read and write it as text. Set raises
// EReadError for a text that is no value of the property.
struct PublishedProperty {
  String Name;
  std::function<String(const TComponent&)> Get;
  std::function<void(TComponent&, const String&)> Set;
};

// Registers a class under its name: IsInstance tells its instances (derived ones included),
// Properties are those it adds to its bases. Register base classes before derived ones; the
// runtime's own classes are registered already.
// Example: RegisterPublishedClass(u"TLabel", [](const TComponent& c) { return dynamic_cast<const TLabel*>(&c); }, {...});
KV_API void RegisterPublishedClass(const String& ClassName, std::function<bool(const TComponent&)> IsInstance,
                                   std::vector<PublishedProperty> Properties);

// The name of the most derived registered class of the component. Example: u"TPanel".
KV_API String PublishedClassName(const TComponent& Component);

// Writes the component's class and all its published properties to the stream.
KV_API void WriteComponent(const TComponent& Component, Stream& AStream);

// Reads a component file from the stream's position into the component and sets each
// property in the file's order. EReadError when the text is no component file, names another
// class, or holds a property the class doesn't publish or a value the property can't take.
KV_API void ReadComponent(TComponent& Component, Stream& AStream);

}  // namespace rtl
#endif
