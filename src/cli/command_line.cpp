#include "cli/command_line.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/user_data_directory.h"

namespace shop {
namespace {

struct Command {
  const char* name;
  int (*run)(const QStringList& arguments);
  const char* summary;
};

constexpr Command kCommands[] = {
#define SHOP_COMMAND(name, function, summary) {name, function, summary},
#include "cli/commands.def"
#undef SHOP_COMMAND
};

const Command* command_named(const QString& name) {
  for (const Command& command : kCommands) {
    if (name == QLatin1String(command.name)) {
      return &command;
    }
  }
  return nullptr;
}

QCommandLineOption directory_option() {
  return QCommandLineOption(QStringLiteral("dir"),
                            QStringLiteral("Work in DIR (created when missing) instead of the "
                                           "current directory."),
                            QStringLiteral("DIR"));
}

QCommandLineOption user_data_option() {
  return QCommandLineOption(
      QStringLiteral("user-data"),
      QStringLiteral("Work in the user's data folder (%1, created when missing), as the "
                     "desktop menu entry does.")
          .arg(user_data_directory()));
}

// Creates the directory when missing and makes it the working directory.
bool enter_directory(const QString& directory, QString& reason) {
  const std::filesystem::path path(QFile::encodeName(directory).toStdString());
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (!error) {
    std::filesystem::current_path(path, error);
  }
  if (error) {
    reason = QStringLiteral("cannot work in %1: %2")
                 .arg(directory, QString::fromLocal8Bit(error.message().c_str()));
    return false;
  }
  return true;
}

// Enters the directory that --dir or --user-data names; stays where it is without them.
bool enter_chosen_directory(const QCommandLineParser& parser, const QCommandLineOption& directory,
                            const QCommandLineOption& user_data, QString& reason) {
  if (parser.isSet(directory) && parser.isSet(user_data)) {
    reason = QStringLiteral("--dir and --user-data exclude each other");
    return false;
  }
  if (parser.isSet(user_data)) {
    return enter_directory(user_data_directory(), reason);
  }
  return !parser.isSet(directory) || enter_directory(parser.value(directory), reason);
}

QString global_help() {
  QString help =
      QStringLiteral(
          "Usage: shopkeeper [--dir DIR | --user-data] [COMMAND [ARGUMENTS]]\n"
          "Ranking check, friend-link check and shop code generation for Taobao and Paipai "
          "sellers.\n"
          "Without a command, opens the window.\n\n"
          "Options:\n"
          "  --dir DIR     work in DIR (created when missing) instead of the current directory\n"
          "  --user-data   work in the user's data folder, %1 (created when\n"
          "                missing), as the desktop menu entry does\n"
          "  --version     print the version and exit\n"
          "  -h, --help    print this help and exit\n\n"
          "Commands:\n")
          .arg(user_data_directory());
  for (const Command& command : kCommands) {
    help += QStringLiteral("  %1%2\n")
                .arg(QLatin1String(command.name), -14)
                .arg(QString::fromUtf8(command.summary));
  }
  help += QStringLiteral("\n'shopkeeper COMMAND --help' describes a command.");
  return help;
}

void write_line(std::FILE* stream, const QString& line) {
  std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stream);
  std::fflush(stream);
}

}  // namespace

void print_line(const QString& line) {
  write_line(stdout, line);
}

void print_error_line(const QString& line) {
  write_line(stderr, line);
}

QString version_line() {
  return QStringLiteral("shopkeeper " SHOP_VERSION);
}

std::optional<int> run_command_line(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) {
    arguments << QString::fromLocal8Bit(argv[i]);
  }
  QCommandLineParser parser;
  // Everything after the command's name belongs to the command.
  parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
  const QCommandLineOption directory = directory_option();
  const QCommandLineOption user_data = user_data_option();
  const QCommandLineOption version(QStringLiteral("version"));
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  parser.addOptions({directory, user_data, version, help});
  if (!parser.parse(arguments)) {
    print_error_line(QStringLiteral("shopkeeper: ") + parser.errorText());
    return kExitUsage;
  }
  if (parser.isSet(version)) {
    print_line(version_line());
    return kExitSuccess;
  }
  if (parser.isSet(help)) {
    print_line(global_help());
    return kExitSuccess;
  }
  QString reason;
  if (!enter_chosen_directory(parser, directory, user_data, reason)) {
    print_error_line(QStringLiteral("shopkeeper: ") + reason);
    return kExitUsage;
  }
  const QStringList positional = parser.positionalArguments();
  if (positional.isEmpty()) {
    return std::nullopt;
  }
  const Command* command = command_named(positional.front());
  if (command == nullptr) {
    print_error_line(QStringLiteral("shopkeeper: unknown command '%1' (see shopkeeper --help)")
                         .arg(positional.front()));
    return kExitUsage;
  }
  int application_argc = 1;
  QCoreApplication application(application_argc, argv);
  QStringList command_arguments = positional.mid(1);
  command_arguments.prepend(QStringLiteral("shopkeeper ") + positional.front());
  return command->run(command_arguments);
}

CommandParser::CommandParser(const QString& name, const QString& synopsis,
                             const QString& description)
    : name_(name),
      synopsis_(synopsis),
      directory_option_(directory_option()),
      user_data_option_(user_data_option()) {
  parser_.setApplicationDescription(description);
  parser_.addOptions({directory_option_, user_data_option_});
}

std::optional<int> CommandParser::parse(const QStringList& arguments) {
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Print this help and exit."));
  parser_.addOption(help);
  if (!parser_.parse(arguments)) {
    return usage_error(parser_.errorText());
  }
  if (parser_.isSet(help)) {
    QString text = parser_.helpText();
    // Qt's usage line names the executable's path; ours names the command.
    text.replace(0, text.indexOf(QLatin1Char('\n')),
                 QStringLiteral("Usage: shopkeeper %1 %2").arg(name_, synopsis_));
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return kExitSuccess;
  }
  QString reason;
  if (!enter_chosen_directory(parser_, directory_option_, user_data_option_, reason)) {
    return usage_error(reason);
  }
  return std::nullopt;
}

int CommandParser::usage_error(const QString& reason) const {
  return fail(reason, kExitUsage);
}

int CommandParser::fail(const QString& reason, int exit_code) const {
  print_error_line(QStringLiteral("shopkeeper %1: %2").arg(name_, reason));
  return exit_code;
}

}  // namespace shop
