#include "support/core/temp_dir.h"

#include <iconv.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace shop::testing {

TempDir::TempDir() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "shopkeeper-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a temporary folder");
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::file(std::string_view name) const {
  return std::filesystem::path(path_.native() + "/" + std::string(name));
}

TempWorkingDirectory::TempWorkingDirectory() : previous_(std::filesystem::current_path()) {
  std::filesystem::current_path(path());
}

TempWorkingDirectory::~TempWorkingDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
}

void write_file(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string gbk(std::string_view utf8) {
  iconv_t converter = iconv_open("GBK", "UTF-8");
  std::string out(utf8.size() * 2 + 1, '\0');
  char* in_ptr = const_cast<char*>(utf8.data());
  size_t in_left = utf8.size();
  char* out_ptr = out.data();
  size_t out_left = out.size();
  const size_t result = iconv(converter, &in_ptr, &in_left, &out_ptr, &out_left);
  iconv_close(converter);
  if (result == static_cast<size_t>(-1)) {
    throw std::runtime_error("text has no GBK form");
  }
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace shop::testing
