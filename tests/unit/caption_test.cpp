#include "connection/caption.h"

#include <gtest/gtest.h>

namespace rapporta::connection {
namespace {

// The version is written as plain decimals, unlike the padded "0.00.0029" of
// the version record; numbers of several digits show them in order, which
// the program's own 0.0.29 in the start-up tests cannot.
TEST(Caption, CallSignAndPlainDecimalVersion) {
  EXPECT_EQ(Caption(u"JA1ABC", Version{1, 10, 100}), u"Rapporta! <JA1ABC> Ver 1.10.100");
}

}  // namespace
}  // namespace rapporta::connection
