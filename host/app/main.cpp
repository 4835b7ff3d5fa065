// orvhost: the command-line host. It loads the importer plug-ins of a folder
// as the viewer does, and lets a user or an integrator see and use them:
// their identity and file filters, which of them takes a file, opening it,
// and the import options kept in a settings file.
#include "Commands.h"
#include "PluginHost.h"

#include <CLI/CLI.hpp>
#include <orvsgutils/PathUtils.h>

#if defined(_WIN32)
#include <windows.h>
#include <shellapi.h>
#endif

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

using orvhost::ExitStatus;

constexpr const char* footer = R"(Exit status:
  0  success
  1  any other failure
  2  bad command line: command, option, option name or value
  3  the plug-in folder is missing or holds no module
  4  a module could not be used (plugins: any module; otherwise: all)
  5  no importer accepts a file
  6  the settings file cannot be read or written
  7  the document did not load)";

// The command line as UTF-8. On Windows main's argv is in the ANSI code
// page, which cannot hold every path: take the wide command line instead.
std::vector<std::string> utf8Arguments(int argc, char** argv) {
#if defined(_WIN32)
  (void)argc;
  (void)argv;
  int count = 0;
  wchar_t** wideArgs = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(orvhost::utf8(wideArgs[i]));
  LocalFree(wideArgs);
  return arguments;
#else
  return std::vector<std::string>(argv, argv + argc);
#endif
}

// CLI11 reports an unknown command only as a missing one: name it.
void checkCommandName(const std::vector<std::string>& arguments) {
  static const char* const commands[] = {"plugins", "filters", "check", "open", "options"};
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--plugin-dir" || argument == "--settings" || argument == "--importer") {
      ++i;  // its value
    } else if (argument.empty() || argument[0] != '-') {
      for (const char* command : commands)
        if (argument == command) return;
      throw CLI::ExtrasError("unknown command \"" + argument +
                             "\"; the commands are plugins, filters, check, open and options",
                             CLI::ExitCodes::ExtrasError);
    }
  }
}

int run(std::vector<std::string>& arguments) {
  CLI::App app{"Loads the importer plug-ins of a folder as the CAD viewer does, and uses them.", "orvhost"};
  app.footer(footer);
  app.require_subcommand(1);
  // Global options may follow the command too: orvhost plugins --json.
  app.fallthrough();

  orvhost::Context context;
  std::string pluginFolder;
  std::string settingsFile;
  app.add_option("--plugin-dir", pluginFolder, "Folder of importer modules (default: plugins/ beside bin/)");
  app.add_option("--settings", settingsFile, "Settings file (default: the user's orvhost.ini)");
  app.add_flag("--json", context.json, "Print one JSON document instead of text");
  std::string importer;
  app.add_option("--importer", importer, "Use only the importer of this name (as plugins lists it)");
  app.set_version_flag("--version", "orvhost " ORVHOST_VERSION, "Print the release's version and exit");

  CLI::App* plugins = app.add_subcommand("plugins", "Identity, name, version, release date and module of each importer");
  CLI::App* filters = app.add_subcommand("filters", "Each importer's file-dialog filters, as a table");
  CLI::App* check = app.add_subcommand("check", "Which importer accepts each path (status 0 when all are accepted)");
  std::vector<std::string> paths;
  check->add_option("PATH", paths, "Paths to check")->required();
  CLI::App* open = app.add_subcommand("open", "Open a file with the importer that accepts it");
  std::string path;
  open->add_option("PATH", path, "File to open")->required();

  CLI::App* options = app.add_subcommand("options", "The import options as the preference dialog shows them");
  bool defaults = false;
  options->add_flag("--defaults", defaults, "Show the defaults, not the values of the settings file");
  options->require_subcommand(0, 1);
  CLI::App* set = options->add_subcommand("set", "Change options and save them to the settings file");
  std::vector<std::string> assignments;
  set->add_option("NAME=VALUE", assignments,
                  "NAME exactly as listed; VALUE: true/false/1/0, a choice's label or number, #RRGGBB")
      ->required();
  CLI::App* reset = options->add_subcommand("reset", "Put options back to their defaults and save them");
  std::vector<std::string> names;
  reset->add_option("NAME", names, "Options to reset (default: all)");
  CLI::App* edit = options->add_subcommand(
      "edit", "Change the options in the preference dialog (Windows; --importer picks the importer)");

  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  try {
    checkCommandName(arguments);
    app.parse(static_cast<int>(argv.size()), argv.data());
    if (defaults && (set->parsed() || reset->parsed() || edit->parsed()))
      throw CLI::ValidationError("--defaults", "only shows options; it does not go with set, reset or edit");
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    return code == 0 ? 0 : static_cast<int>(ExitStatus::Usage);
  }

  context.pluginFolder = pluginFolder.empty() ? orvhost::PluginHost::defaultFolder()
                                              : orvsgutils::PathUtils::toPath(orvhost::wide(pluginFolder));
  if (!settingsFile.empty()) context.settingsFile = orvsgutils::PathUtils::toPath(orvhost::wide(settingsFile));
  if (app.count("--importer") > 0) context.importer = importer;

  ExitStatus status = ExitStatus::Success;
  if (plugins->parsed()) status = orvhost::listPlugins(context);
  else if (filters->parsed()) status = orvhost::listFilters(context);
  else if (check->parsed()) status = orvhost::checkPaths(context, paths);
  else if (open->parsed()) status = orvhost::openFile(context, path);
  else if (set->parsed()) status = orvhost::setOptions(context, assignments);
  else if (reset->parsed()) status = orvhost::resetOptions(context, names);
  else if (edit->parsed()) status = orvhost::editOptions(context);
  else if (options->parsed()) status = orvhost::showOptions(context, defaults);
  return static_cast<int>(status);
}

#if defined(_WIN32)
// UTF-8 output for the console while orvhost runs; the console is the
// user's, so its own code page comes back at exit.
class Utf8Console {
 public:
  Utf8Console() : previous_(GetConsoleOutputCP()) { SetConsoleOutputCP(CP_UTF8); }
  ~Utf8Console() { SetConsoleOutputCP(previous_); }
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  UINT previous_;
};
#endif

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  // Libraries are loaded from the program's folder, the folders the host adds
  // and the system's, never from the current directory or PATH.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  const Utf8Console console;
#endif
  try {
    std::vector<std::string> arguments = utf8Arguments(argc, argv);
    return run(arguments);
  } catch (const orvhost::HostError& error) {
    std::fprintf(stderr, "orvhost: %s\n", error.what());
    return static_cast<int>(error.status());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "orvhost: unexpected failure: %s\n", error.what());
    return static_cast<int>(ExitStatus::Failure);
  }
}
