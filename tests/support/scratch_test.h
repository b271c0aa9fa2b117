#pragma once
// A test with a folder of its own (`scratch_`, at `dir_`), made before the
// test begins and removed with everything in it after the test.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/scratch_dir.h"

namespace diaspring::testing {

class ScratchTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch_.valid()); }

  ScratchDir scratch_;
  const std::filesystem::path& dir_ = scratch_.dir();
};

}  // namespace diaspring::testing
