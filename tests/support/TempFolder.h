// A folder of the test's own under the system's temp folder, removed with
// everything in it when the object goes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class TempFolder {
 public:
  TempFolder() { std::filesystem::create_directories(path_); }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  std::filesystem::path writeFile(const std::string& name, const std::string& content) const {
    std::ofstream(path_ / name, std::ios::binary) << content;
    return path_ / name;
  }

 private:
  // Named after the test; the random part keeps concurrent runs of it apart.
  const ::testing::TestInfo& test_ = *::testing::UnitTest::GetInstance()->current_test_info();
  const std::filesystem::path path_ =
      std::filesystem::temp_directory_path() / (std::string("orv-test-") + test_.test_suite_name() + "-" +
                                                test_.name() + "-" + std::to_string(std::random_device{}()));
};
