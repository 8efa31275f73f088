#include "connection/caption.h"

#include <string>

namespace rapporta::connection {

Text Caption(TextView callsign, Version version) {
  const std::string number = std::to_string(version.major) + '.' +
                             std::to_string(version.minor) + '.' +
                             std::to_string(version.revision);
  Text caption(u"Rapporta! <");
  caption.append(callsign).append(u"> Ver ").append(number.begin(), number.end());
  return caption;
}

}  // namespace rapporta::connection
