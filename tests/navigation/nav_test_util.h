// Test helpers of the navigation dialogue: a fresh temporary working
// directory per test, and the file helpers of tests/support under their
// names here.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "console_capture.h"
#include "temp_dir.h"

namespace navtest {

namespace fs = std::filesystem;

using testsupport::count;
using testsupport::put;
using testsupport::slurp;

// Every test of this fixture runs in a fresh temporary directory, which is
// its working directory.
class InTempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = std::make_unique<testsupport::WorkInTempDir>("ld_nav");
    home_ = work_->home();
    dir_ = work_->path();
  }
  void TearDown() override { work_.reset(); }
  fs::path home_;
  fs::path dir_;

 private:
  std::unique_ptr<testsupport::WorkInTempDir> work_;
};

}  // namespace navtest
