#pragma once
// Temporary folders for tests, and a working directory that is one for a test's life.

#include <filesystem>
#include <string>
#include <string_view>

namespace shop::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // path() followed by "/" and `name`.
  std::filesystem::path file(std::string_view name) const;

 private:
  std::filesystem::path path_;
};

// Makes a fresh temporary folder the working directory; restores the former one.
class TempWorkingDirectory : public TempDir {
 public:
  TempWorkingDirectory();
  ~TempWorkingDirectory();

 private:
  std::filesystem::path previous_;
};

void write_file(const std::filesystem::path& path, std::string_view bytes);
std::string read_file(const std::filesystem::path& path);

// GBK bytes of a UTF-8 text, so that tests can write Chinese texts readably.
std::string gbk(std::string_view utf8);

}  // namespace shop::testing
