#pragma once
// Messages that tell the user a file of the working directory was not taken: one
// message a problem, naming the file, what is wrong with it and what follows.

#include <cstdint>
#include <filesystem>

#include "lists/file_store.h"
#include "web/text.h"

namespace shop {

// Shows nothing for FileProblem::none, missing and unreadable (a file the user may
// not read is left alone silently, as a missing one). `consequence` ends the text.
void report_file_problem(const std::filesystem::path& file, FileProblem problem,
                         std::uintmax_t size_limit, const Text& consequence);
void report_too_many_rows(const std::filesystem::path& file, size_t row_limit,
                          const Text& consequence);

}  // namespace shop
