#include "connection/caption.h"

#include <gtest/gtest.h>

namespace rapporta::connection {
namespace {

// The version is written as plain decimals here, unlike the padded
// "0.00.0029" of the version record; 1.10.100 would show them swapped.
TEST(Caption, CallSignAndPlainDecimalVersion) {
  EXPECT_EQ(Caption(u"N0CALL"), u"Rapporta! <N0CALL> Ver 0.0.29");
  EXPECT_EQ(Caption(u""), u"Rapporta! <> Ver 0.0.29");
  EXPECT_EQ(Caption(u"JA1ABC", Version{1, 10, 100}), u"Rapporta! <JA1ABC> Ver 1.10.100");
}

}  // namespace
}  // namespace rapporta::connection
