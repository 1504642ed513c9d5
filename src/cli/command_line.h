#pragma once
// The command line of the one executable: global options (--dir, --version,
// --help) and the sub-commands of commands.def. Without a sub-command the window
// opens.

#include <QCommandLineParser>
#include <QStringList>
#include <optional>

namespace shop {

// Exit codes of the command line.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRowFailed = 1;  // also: a file could not be read or written
inline constexpr int kExitUsage = 2;
inline constexpr int kExitDirectoryInUse = 3;

// A sub-command gets its arguments ("shopkeeper <name>" first, then everything after
// the name) and returns the process's exit code. A QCoreApplication exists.
#define SHOP_COMMAND(name, function, summary) int function(const QStringList& arguments);
#include "cli/commands.def"
#undef SHOP_COMMAND

// Handles the command line before anything else happens: --dir (or --user-data) changes to that
// directory (creating it when missing), --version and --help print and end, a
// sub-command runs. Returns the exit code when the process is to end, nothing when
// the window is to open (in the directory --dir or --user-data named).
std::optional<int> run_command_line(int argc, char** argv);

// "shopkeeper <version>".
QString version_line();

// The parser of one sub-command, with --help, --dir and --user-data.
class CommandParser {
 public:
  // `synopsis` follows "shopkeeper <name> " in the usage line.
  CommandParser(const QString& name, const QString& synopsis, const QString& description);

  QCommandLineParser& parser() { return parser_; }
  // Parses the arguments and applies --dir or --user-data. Returns the exit code when the command
  // is to end here (--help: 0; an unknown option or a directory that cannot be
  // entered: 2, with the reason on stderr), nothing when it goes on.
  std::optional<int> parse(const QStringList& arguments);
  // Prints "shopkeeper <name>: <reason>" on stderr and returns kExitUsage.
  int usage_error(const QString& reason) const;
  // Prints "shopkeeper <name>: <reason>" on stderr and returns `exit_code`.
  int fail(const QString& reason, int exit_code) const;

 private:
  QString name_;
  QString synopsis_;
  QCommandLineParser parser_;
  QCommandLineOption directory_option_;
  QCommandLineOption user_data_option_;
};

// Writes a line to stdout or stderr in the locale's encoding.
void print_line(const QString& line);
void print_error_line(const QString& line);

}  // namespace shop
