#include "connection/caption.h"

#include <string>

namespace rapporta::connection {
namespace {

void AppendNumber(Text& out, int value) {
  for (char c : std::to_string(value)) out.push_back(static_cast<char16_t>(c));
}

}  // namespace

Text Caption(TextView callsign, Version version) {
  Text caption(u"Rapporta! <");
  caption.append(callsign);
  caption.append(u"> Ver ");
  AppendNumber(caption, version.major);
  caption.push_back(u'.');
  AppendNumber(caption, version.minor);
  caption.push_back(u'.');
  AppendNumber(caption, version.revision);
  return caption;
}

}  // namespace rapporta::connection
